#!/usr/bin/python3
"""Takes docs/screenshot-web.png: the web page in headless Chromium after
EXECUTE on X = 1.96, as docs/screenshot.png shows the desktop window.

    tools/web-screenshot.py [build/web/site] [docs/screenshot-web.png]
"""
import pathlib
import shutil
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait


def main():
    site = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/web/site")
    out = sys.argv[2] if len(sys.argv) > 2 else "docs/screenshot-web.png"
    profile = tempfile.mkdtemp(prefix="normcalc-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run",
                 "--hide-scrollbars", "--lang=en-US", f"--user-data-dir={profile}"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.set_window_size(800, 600)
        # The window's outer size was asked for; make the page's viewport 445 x 279.
        inner = driver.execute_script("return [innerWidth, innerHeight]")
        driver.set_window_size(800 - inner[0] + 445, 600 - inner[1] + 279)
        driver.get((site / "index.html").resolve().as_uri())
        WebDriverWait(driver, 20).until(lambda d: d.execute_script(
            "return document.getElementById('Form1Client').classList.contains('ready')"))
        driver.find_element(By.ID, "Edit1").send_keys("1.96")
        driver.find_element(By.ID, "Button2").click()
        driver.save_screenshot(out)
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
