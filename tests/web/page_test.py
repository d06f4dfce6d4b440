#!/usr/bin/python3
"""The calculator's web page in headless Chromium, driven as a user drives it.

    page_test.py --site build/web/site --cli build/asan/cli/normcalc-cli

Every control is found by its id; clicks and keys go through WebDriver. The
expected answers are the design's check values and, for a batch of random
texts, what the x86-64 normcalc-cli prints for the same texts.
"""
import argparse
import functools
import http.server
import json
import pathlib
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None  # set in main()

OVERFLOW = "浮動小数点数のオーバーフロー."
INVALID_OP = "不正な浮動小数点数演算命令."


def start_browser(language="en-US"):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in (
        "--headless",
        "--no-sandbox",
        "--disable-gpu",
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
        "--no-first-run",
        f"--lang={language}",
        "--window-size=600,400",
    ):
        options.add_argument(flag)
    profile = tempfile.mkdtemp(prefix="normcalc-chromium-")
    options.add_argument(f"--user-data-dir={profile}")
    options.add_experimental_option("prefs", {"intl.accept_languages": language})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_script_timeout(30)
    driver.profile_dir = profile
    return driver


def stop_browser(driver):
    driver.quit()
    shutil.rmtree(driver.profile_dir, ignore_errors=True)


def page_url():
    return (pathlib.Path(ARGS.site) / "index.html").resolve().as_uri()


def wait_ready(driver):
    WebDriverWait(driver, 20).until(
        lambda d: d.execute_script(
            "return document.getElementById('Form1Client').classList.contains('ready')"
        )
    )


def open_page(driver, url=None):
    driver.get(url or page_url())
    wait_ready(driver)


def native_cli(command, texts):
    """What the x86-64 build prints for each text, one line each."""
    result = subprocess.run(
        [ARGS.cli, command],
        input="".join(text + "\n" for text in texts).encode(),
        capture_output=True,
        check=False,
    )
    lines = result.stdout.decode().split("\n")[:-1]
    if len(lines) != len(texts):
        raise AssertionError(f"normcalc-cli {command} printed {len(lines)} lines for {len(texts)}")
    return lines


class PageCase(unittest.TestCase):
    language = "en-US"

    @classmethod
    def setUpClass(cls):
        cls.driver = start_browser(cls.language)

    @classmethod
    def tearDownClass(cls):
        stop_browser(cls.driver)

    def setUp(self):
        open_page(self.driver)

    def el(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def active_id(self):
        return self.driver.execute_script("return document.activeElement.id")

    def select_mode(self, index):
        # A click on the item's text, as a user picks it.
        self.driver.find_element(By.CSS_SELECTOR, f"label[for='RadioGroup1_{index}']").click()

    def value(self, element_id):
        return self.el(element_id).get_property("value")

    def type_into(self, element_id, text):
        box = self.el(element_id)
        box.click()
        box.send_keys(Keys.CONTROL, "a")
        box.send_keys(Keys.DELETE)
        if text:
            box.send_keys(text)

    def press(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def chord(self, modifier, key):
        ActionChains(self.driver).key_down(modifier).send_keys(key).key_up(modifier).perform()

    def error_box_open(self):
        return self.driver.execute_script("return document.getElementById('ErrorBox').open")


class StartAndLayout(PageCase):
    def test_starts_with_x_to_p_empty_boxes_and_the_focus_on_exit(self):
        d = self.driver
        self.assertEqual(d.title, "normcalc")
        self.assertEqual(self.el("Form1Caption").text, "Form1")
        self.assertTrue(self.el("RadioGroup1_0").is_selected())
        self.assertFalse(self.el("RadioGroup1_1").is_selected())
        self.assertEqual(self.value("Edit1"), "")
        self.assertEqual(self.value("Edit2"), "")
        self.assertEqual(self.active_id(), "Button1")

    def test_controls_carry_their_field_names_and_texts(self):
        d = self.driver
        self.assertEqual(self.el("Button1").text, "EXIT")
        self.assertEqual(self.el("Button2").text, "EXECUTE")
        self.assertEqual(self.el("RadioGroup1").tag_name, "fieldset")
        legend = d.find_element(By.CSS_SELECTOR, "#RadioGroup1 > legend")
        self.assertEqual(legend.text, "MODE")
        self.assertEqual(d.find_element(By.CSS_SELECTOR, "label[for='RadioGroup1_0']").text, "X→P")
        self.assertEqual(d.find_element(By.CSS_SELECTOR, "label[for='RadioGroup1_1']").text, "P→X")
        self.assertEqual(self.el("Label2").get_attribute("for"), "Edit1")
        self.assertEqual(self.el("Label4").get_attribute("for"), "Edit2")
        self.assertEqual(self.el("Label3").text, "標準正規分布N(0,1)")  # the trailing U+3000 is blank
        self.assertEqual(self.el("Label1").text, "f(0<x<X)=P")

    def test_controls_stand_where_the_description_puts_them_for_the_measured_face(self):
        d = self.driver
        form = json.loads(self.el("FormDescription").get_attribute("textContent"))
        measured = int(self.el("Form1Client").get_attribute("data-measured-text-height"))
        self.assertGreater(measured, 0)
        designed = form["textHeight"]

        def scaled(v):  # v * measured / designed, halves away from zero
            return (2 * v * measured + designed) // (2 * designed)

        for control in form["controls"]:
            rect = d.execute_script(
                "const c = document.getElementById('Form1Client').getBoundingClientRect();"
                "const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                "return [r.left - c.left, r.top - c.top, r.width, r.height,"
                " parseFloat(getComputedStyle(document.getElementById(arguments[0])).fontSize)];",
                control["name"],
            )
            left, top = scaled(control["left"]), scaled(control["top"])
            with self.subTest(control=control["name"]):
                self.assertAlmostEqual(rect[0], left, delta=0.01)
                self.assertAlmostEqual(rect[1], top, delta=0.01)
                if control["kind"] == "Label":
                    self.assertEqual(rect[4], scaled(control["fontHeight"]))
                else:
                    self.assertAlmostEqual(rect[2], scaled(control["left"] + control["width"]) - left, delta=0.01)
                    self.assertAlmostEqual(rect[3], scaled(control["top"] + control["height"]) - top, delta=0.01)
        # The whole window keeps its outer size.
        outer = self.el("Form1").rect
        self.assertEqual((outer["width"], outer["height"]), (form["width"], form["height"]))


class Commands(PageCase):
    # The design's table of commands: mode, typed text, box written, text written.
    CASES = [
        (0, "", "Edit2", "0"),
        (0, "1", "Edit2", "0.341344279839592"),
        (1, "0.475", "Edit1", "1.95997183815153"),
        (1, "0.25", "Edit1", "0.674491219192245"),
        (0, "0.000001", "Edit2", "3.98892280401339E-7"),
        (0, "-2", "Edit2", "0"),
        (1, "0.5", "Edit1", "3.98466366361372"),
        (1, "1", "Edit1", "3.98466366361372"),
        (0, "abc", "Edit2", "0"),
        (0, "+INF", "Edit2", "0.49996719678728"),
        (0, "1e400", "Edit2", "0.49996719678728"),
        (0, "-INF", "Edit2", "0"),
        (0, "0.0114", "Edit2", "0.00454737199657526"),
        (0, "0.74", "Edit2", "0.270349535532154"),
        (1, "0.0018", "Edit1", "0.00451249645189664"),
    ]

    def test_execute_writes_the_other_box_and_keeps_the_typed_text(self):
        for mode, typed, written, expected in self.CASES:
            read = "Edit1" if written == "Edit2" else "Edit2"
            with self.subTest(mode=mode, typed=typed):
                self.select_mode(mode)
                self.type_into(written, "old text")
                self.type_into(read, typed)
                self.el("Button2").click()
                self.assertEqual(self.value(written), expected)
                self.assertEqual(self.value(read), typed)
                self.assertFalse(self.error_box_open())

    def test_switching_the_mode_changes_no_box_and_execute_twice_gives_the_same_text(self):
        self.type_into("Edit1", "1")
        self.type_into("Edit2", "0.25")
        self.select_mode(1)
        self.select_mode(0)
        self.assertEqual((self.value("Edit1"), self.value("Edit2")), ("1", "0.25"))
        self.el("Button2").click()
        first = self.value("Edit2")
        self.el("Button2").click()
        self.assertEqual(self.value("Edit2"), first)
        self.assertEqual(first, "0.341344279839592")

    def test_answers_have_the_bits_of_the_x86_64_program(self):
        rng = random.Random(20261210)
        x_texts = [f"{rng.uniform(-0.1, 4.2):.{rng.randint(1, 17)}f}" for _ in range(150)]
        x_texts += [f"{rng.uniform(0, 10):.{rng.randint(0, 18)}f}e{rng.randint(-30, 9)}" for _ in range(50)]
        p_texts = [f"{rng.uniform(-0.01, 0.51):.{rng.randint(1, 17)}f}" for _ in range(200)]
        # Through the page's own controls and handlers, fast: the text is set,
        # EXECUTE is clicked, the other box is read.
        run = """
            const [mode, texts] = arguments;
            document.getElementById('RadioGroup1_' + mode).click();
            const from = document.getElementById(mode === 0 ? 'Edit1' : 'Edit2');
            const to = document.getElementById(mode === 0 ? 'Edit2' : 'Edit1');
            return texts.map((text) => {
              from.value = text;
              document.getElementById('Button2').click();
              return to.value;
            });"""
        self.assertEqual(self.driver.execute_script(run, 0, x_texts), native_cli("x2p", x_texts))
        self.assertEqual(self.driver.execute_script(run, 1, p_texts), native_cli("p2x", p_texts))


class ErrorBox(PageCase):
    CASES = [
        # mode, box read, text, box that would be written, message
        (0, "Edit1", "+NAN", "Edit2", INVALID_OP),
        (1, "Edit2", "2e4932", "Edit1", OVERFLOW),
    ]

    def test_a_failed_execute_shows_the_modal_box_and_leaves_the_form_as_it_was(self):
        d = self.driver
        for mode, read, text, written, message in self.CASES:
            with self.subTest(text=text):
                open_page(d)
                self.select_mode(mode)
                self.type_into(written, "keep me")
                self.type_into(read, text)
                self.el("Button2").click()

                self.assertTrue(self.error_box_open())
                self.assertTrue(d.execute_script("return document.getElementById('ErrorBox').matches(':modal')"))
                self.assertEqual(self.el("ErrorBoxCaption").text, d.title)
                self.assertEqual(self.el("ErrorBoxText").text, message)
                self.assertTrue(self.el("ErrorBoxIcon").is_displayed())
                buttons = d.find_elements(By.CSS_SELECTOR, "#ErrorBox button")
                self.assertEqual([b.text for b in buttons], ["OK"])
                self.assertEqual(self.active_id(), "ErrorBoxOK")

                # Nothing behind the box takes a click or a key.
                for target in ("Button2", "Button1", "RadioGroup1_1", written):
                    ActionChains(d).move_to_element(self.el(target)).click().perform()
                self.press("x", Keys.TAB)
                self.assertTrue(self.error_box_open())
                self.assertEqual(self.active_id(), "ErrorBoxOK")
                self.assertTrue(self.el(f"RadioGroup1_{mode}").is_selected())
                self.assertEqual(self.value(written), "keep me")
                self.assertEqual(self.value(read), text)

                self.el("ErrorBoxOK").click()
                self.assertFalse(self.error_box_open())
                self.assertEqual(self.value(written), "keep me")
                self.assertEqual(self.value(read), text)
                self.assertEqual(self.active_id(), "Button2")

                # The page works as before: a second click fails the same way,
                # and a number converts.
                self.el("Button2").click()
                self.assertEqual(self.el("ErrorBoxText").text, message)
                self.press(Keys.ENTER)
                self.assertFalse(self.error_box_open())
                self.type_into(read, "0.25" if mode else "1")
                self.el("Button2").click()
                self.assertEqual(self.value(written), "0.674491219192245" if mode else "0.341344279839592")


class Keyboard(PageCase):
    def test_tab_cycles_exit_mode_x_p_execute_and_shift_tab_goes_back(self):
        order = ["Button1", "RadioGroup1_0", "Edit1", "Edit2", "Button2", "Button1"]
        self.assertEqual(self.active_id(), order[0])
        for expected in order[1:]:
            self.press(Keys.TAB)
            self.assertEqual(self.active_id(), expected)
        for expected in reversed(order[:-1]):
            self.chord(Keys.SHIFT, Keys.TAB)
            self.assertEqual(self.active_id(), expected)
        # The group's stop is its selected item.
        self.select_mode(1)
        self.driver.execute_script("document.getElementById('Button1').focus()")
        self.press(Keys.TAB)
        self.assertEqual(self.active_id(), "RadioGroup1_1")

    def test_plain_enter_and_space_click_the_focused_button(self):
        self.type_into("Edit1", "1")
        self.el("Button2").click()
        for keys in ([Keys.ENTER], [Keys.SPACE]):
            with self.subTest(keys=keys):
                self.type_into("Edit2", "")
                self.driver.execute_script("document.getElementById('Button2').focus()")
                self.press(*keys)
                self.assertEqual(self.value("Edit2"), "0.341344279839592")

    def test_enter_with_a_modifier_esc_and_enter_in_a_box_or_the_group_click_nothing(self):
        self.type_into("Edit1", "1")
        cases = [
            ("Button2", Keys.SHIFT, Keys.ENTER),
            ("Button2", Keys.CONTROL, Keys.ENTER),
            ("Button2", Keys.ALT, Keys.ENTER),
            ("Button2", None, Keys.ESCAPE),
            ("Button1", None, Keys.ESCAPE),
            ("Edit1", None, Keys.ENTER),
            ("Edit2", None, Keys.ENTER),
            ("RadioGroup1_0", None, Keys.ENTER),
        ]
        for focus, modifier, key in cases:
            with self.subTest(focus=focus, modifier=modifier, key=key):
                self.type_into("Edit2", "")
                self.driver.execute_script(f"document.getElementById('{focus}').focus()")
                if modifier:
                    self.chord(modifier, key)
                else:
                    self.press(key)
                self.assertEqual(self.value("Edit2"), "")
                self.assertEqual(self.value("Edit1"), "1")
                self.assertFalse(self.el("Form1").get_property("hidden"))
                self.assertEqual(self.active_id(), focus)

    def test_enter_at_start_clicks_exit_and_shows_the_form_closed(self):
        # A tab with history of its own may not be closed by the page.
        self.driver.execute_script("history.pushState(null, '', location.href)")
        self.press(Keys.ENTER)
        self.assertTrue(self.el("Form1").get_property("hidden"))
        self.assertTrue(self.el("Closed").is_displayed())
        self.assertEqual(self.active_id(), "Reopen")
        self.press(Keys.ENTER)  # open a new form
        self.assertTrue(self.el("Form1").is_displayed())
        self.assertEqual(self.active_id(), "Button1")
        self.assertEqual((self.value("Edit1"), self.value("Edit2")), ("", ""))
        self.assertTrue(self.el("RadioGroup1_0").is_selected())

    def test_exit_closes_a_tab_that_a_script_opened(self):
        d = self.driver
        first = d.current_window_handle
        d.execute_script("window.open(arguments[0], 'calculator')", page_url())
        WebDriverWait(d, 10).until(lambda d: len(d.window_handles) == 2)
        d.switch_to.window([h for h in d.window_handles if h != first][0])
        wait_ready(d)
        self.el("Button1").click()
        WebDriverWait(d, 10).until(lambda d: len(d.window_handles) == 1)
        d.switch_to.window(first)

    def test_the_decimal_mark_follows_a_language_change(self):
        d = self.driver
        self.type_into("Edit1", "1")
        d.execute_script(
            "Object.defineProperty(navigator, 'languages', {get: () => ['de-DE'], configurable: true});"
            "window.dispatchEvent(new Event('languagechange'));"
        )
        self.el("Button2").click()
        self.assertEqual(self.value("Edit2"), "0,341344279839592")


class GermanLocale(PageCase):
    language = "de-DE"

    def test_results_are_written_with_the_browsers_decimal_comma(self):
        self.assertEqual(self.driver.execute_script("return navigator.language"), "de-DE")
        self.type_into("Edit1", "1")
        self.el("Button2").click()
        self.assertEqual(self.value("Edit2"), "0,341344279839592")
        self.select_mode(1)
        self.type_into("Edit2", "0.475")
        self.el("Button2").click()
        self.assertEqual(self.value("Edit1"), "1,95997183815153")
        # Read back, a written number stops at the comma: "0,475" reads as 0.
        self.type_into("Edit2", "0,475")
        self.el("Button2").click()
        self.assertEqual(self.value("Edit1"), "0")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    requested = []

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        QuietHandler.requested.append(self.path)


class FromALocalServer(PageCase):
    @classmethod
    def setUpClass(cls):
        handler = functools.partial(QuietHandler, directory=str(pathlib.Path(ARGS.site).resolve()))
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        cls.server.shutdown()
        cls.server.server_close()

    def setUp(self):
        QuietHandler.requested.clear()
        open_page(self.driver, f"http://127.0.0.1:{self.server.server_address[1]}/index.html")

    def test_the_page_works_served_and_loads_nothing_but_itself(self):
        self.assertEqual(self.active_id(), "Button1")
        self.select_mode(1)
        self.type_into("Edit2", "0.475")
        self.el("Button2").click()
        self.assertEqual(self.value("Edit1"), "1.95997183815153")
        self.assertEqual(sorted(set(QuietHandler.requested)), ["/index.html"])


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--cli", required=True, help="the x86-64 normcalc-cli")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
