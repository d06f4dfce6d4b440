"use strict";
// The calculator window of the page: binds the controls to the commands of
// the WebAssembly module, lays the controls out by the height of "0" in the
// face in use, and keeps the keyboard rules of the desktop window.
(() => {
  const byId = (id) => document.getElementById(id);
  const description = JSON.parse(byId("FormDescription").textContent);
  const form = byId("Form1");
  const client = byId("Form1Client");
  const button1 = byId("Button1");
  const button2 = byId("Button2");
  const edit1 = byId("Edit1");
  const edit2 = byId("Edit2");
  const group = byId("RadioGroup1");
  const radios = Array.from(group.querySelectorAll('input[type="radio"]'));
  const errorBox = byId("ErrorBox");
  const errorText = byId("ErrorBoxText");
  const errorOk = byId("ErrorBoxOK");
  const closed = byId("Closed");
  const reopen = byId("Reopen");
  const formFont = getComputedStyle(client).fontFamily;

  const initialItemIndex = radios.findIndex((radio) => radio.checked);

  let calculator = null; // the module's functions, once it is running

  // --- Layout -------------------------------------------------------------

  // The height of a line of "0" in the form's font, as the browser lays it
  // out; the design measured 12.
  function measureTextHeight(fontHeight) {
    const probe = document.createElement("span");
    probe.textContent = "0";
    probe.style.cssText =
      `position:absolute;visibility:hidden;white-space:pre;line-height:normal;` +
      `font-size:${fontHeight}px;font-family:${formFont}`;
    document.body.append(probe);
    const height = Math.round(probe.getBoundingClientRect().height);
    probe.remove();
    return height;
  }

  function place(element, bounds) {
    element.style.left = `${bounds.left}px`;
    element.style.top = `${bounds.top}px`;
    element.style.width = `${bounds.width}px`;
    element.style.height = `${bounds.height}px`;
  }

  // Scales every control as the desktop window does when its substitute face
  // measures another height for "0", then places the radio items in their rows.
  function layOut() {
    const measured = measureTextHeight(description.fontHeight);
    const designed = description.textHeight;
    client.dataset.measuredTextHeight = String(measured);
    for (const control of description.controls) {
      const element = byId(control.name);
      const bounds = calculator.scaledBounds(control, measured, designed);
      if (control.kind === "Label") {
        element.style.left = `${bounds.left}px`;
        element.style.top = `${bounds.top}px`;
        element.style.fontSize = `${calculator.scaledFontHeight(control.fontHeight, measured, designed)}px`;
      } else {
        place(element, bounds);
      }
      if (control.kind === "RadioGroup") {
        group.style.setProperty("--caption-height", `${measured}px`);
        control.items.forEach((_, index) => {
          place(
            byId(`${control.name}_${index}_item`),
            calculator.radioItemBounds(bounds.width, bounds.height, measured, control.items.length, index),
          );
        });
      }
    }
  }

  // --- Decimal mark ---------------------------------------------------------

  // The decimal separator of the user's languages; the module takes it only
  // when it is one single-byte character.
  function readDecimalMark() {
    let separator = "";
    try {
      const parts = new Intl.NumberFormat(navigator.languages).formatToParts(1.5);
      const decimal = parts.find((part) => part.type === "decimal");
      if (decimal) separator = decimal.value;
    } catch (unsupported) {
      console.warn("normcalc: no locale decimal separator, writing '.'", unsupported);
    }
    calculator.setDecimalMarkFromText(separator);
  }

  // --- Commands and the error box -------------------------------------------

  function formState() {
    return {
      itemIndex: radios.findIndex((radio) => radio.checked),
      edit1: edit1.value,
      edit2: edit2.value,
      error: "",
      failed: false,
      closeRequested: false,
    };
  }

  function run(command) {
    const result = calculator[command](formState());
    // Only a box whose text changed is written, so the caret of the other
    // stays where the user left it.
    if (edit1.value !== result.edit1) edit1.value = result.edit1;
    if (edit2.value !== result.edit2) edit2.value = result.edit2;
    if (result.failed) showError(result.error);
    if (result.closeRequested) closeForm();
  }

  function showError(text) {
    const returnFocus = document.activeElement;
    errorText.textContent = text;
    errorBox.addEventListener(
      "close",
      () => {
        if (returnFocus && returnFocus.isConnected) returnFocus.focus();
      },
      { once: true },
    );
    errorBox.showModal();
    errorOk.focus();
  }

  // Closing the form: a tab that the browser lets a page close (one opened by
  // a script, or with nothing else in its history) closes; otherwise the form
  // is shown closed, with a way to open a new one.
  function closeForm() {
    window.close();
    form.hidden = true;
    closed.hidden = false;
    reopen.focus();
  }

  function openForm() {
    radios.forEach((radio, index) => {
      radio.checked = index === initialItemIndex;
    });
    edit1.value = edit1.defaultValue;
    edit2.value = edit2.defaultValue;
    closed.hidden = true;
    form.hidden = false;
    button1.focus();
  }

  // --- Keyboard ---------------------------------------------------------------

  // The tab stops in order: EXIT, the mode group (its selected item), X, P,
  // EXECUTE; Tab after the last comes back to the first.
  function tabStops() {
    const selected = radios.find((radio) => radio.checked) || radios[0];
    return [button1, selected, edit1, edit2, button2];
  }

  function moveFocus(step) {
    const stops = tabStops();
    const active = document.activeElement;
    let index = radios.includes(active) ? 1 : stops.indexOf(active);
    if (index < 0) index = step > 0 ? -1 : 0;
    stops[(index + step + stops.length) % stops.length].focus();
  }

  function onKeyDown(event) {
    if (errorBox.open) {
      // The box has one button; Tab keeps the focus on it.
      if (event.key === "Tab") event.preventDefault();
      return;
    }
    if (form.hidden || !client.classList.contains("ready")) return;
    if (event.key === "Tab" && !event.ctrlKey && !event.altKey && !event.metaKey) {
      event.preventDefault();
      moveFocus(event.shiftKey ? -1 : 1);
    } else if (event.key === "Enter" && (event.target === button1 || event.target === button2)) {
      // The browser would click a focused button on Enter with any modifier;
      // the window clicks it on a plain Enter only.
      event.preventDefault();
      if (!event.shiftKey && !event.ctrlKey && !event.altKey && !event.metaKey) event.target.click();
    }
    // Enter in a box or on the group, and Esc anywhere, do nothing: the page
    // has no form element to submit and nothing bound to them.
  }

  // --- Start -------------------------------------------------------------------

  document.addEventListener("keydown", onKeyDown);
  errorOk.addEventListener("click", () => errorBox.close());
  // A click in the box, or on the page behind it (which lands on the box),
  // leaves the focus on OK, as a message box keeps it.
  errorBox.addEventListener("mousedown", (event) => {
    if (event.target !== errorOk) event.preventDefault();
  });
  reopen.addEventListener("click", openForm);

  const fontLoaded = document.fonts
    .load(`${description.fontHeight}px ${formFont}`, "0")
    .catch((error) => console.warn("normcalc: the form's face did not load", error));

  // The module's WebAssembly, which the page carries gzip-compressed in
  // base64 so that it opens from disk, where a browser fetches nothing.
  async function moduleCode() {
    const packed = Uint8Array.from(atob(byId("ModuleCode").textContent), (c) => c.charCodeAt(0));
    const code = new Blob([packed]).stream().pipeThrough(new DecompressionStream("gzip"));
    return new Response(code).arrayBuffer();
  }

  Promise.all([moduleCode().then((wasmBinary) => NormcalcModule({ wasmBinary })), fontLoaded])
    .then(([module]) => {
      calculator = module;
      readDecimalMark();
      window.addEventListener("languagechange", readDecimalMark);
      button1.addEventListener("click", () => run("exit"));
      button2.addEventListener("click", () => run("execute"));
      byId("CloseBox").addEventListener("click", () => run("exit"));
      layOut();
      client.classList.add("ready");
      button1.focus();
    })
    .catch((error) => {
      client.classList.add("ready");
      client.textContent = `normcalc could not start: ${error}`;
      throw error;
    });
})();
