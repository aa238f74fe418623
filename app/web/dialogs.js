// The window's modal boxes and its page menu, drawn in the page: message boxes with the
// system's answer codes, the page-name dialog, the information dialog, the tab strip's
// pop-up menu. Each gives its answer back to the handler that is waiting for it.
const kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7;
const kSeparatorAfter = new Set([1, 4, 9]);  // after Add, Values reset and Close

function make(tag, className, parent, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined) node.textContent = text;
  if (parent) parent.appendChild(node);
  return node;
}

// A modal layer over the page; the focus comes back to where it was when it closes.
class Modal {
  constructor(window) {
    this.window = window;
    this.returnTo = document.activeElement;
    this.layer = make("div", "modal", document.body);
    this.box = make("div", "dialog", this.layer);
    this.box.setAttribute("role", "dialog");
    this.box.setAttribute("aria-modal", "true");
  }

  caption(text) { make("div", "caption", this.box, text); }

  buttons(list, onChoose) {
    const row = make("div", "buttons", this.box);
    return list.map(([label, answer]) => {
      const button = make("button", "", row, label);
      button.addEventListener("click", () => onChoose(answer));
      return button;
    });
  }

  keys(onKey) {
    this.layer.addEventListener("keydown", (event) => {
      if (event.key === "Tab") {
        // The focus stays inside the box.
        const stops = [...this.box.querySelectorAll("button, input")];
        const at = stops.indexOf(document.activeElement);
        event.preventDefault();
        stops[(at + (event.shiftKey ? stops.length - 1 : 1)) % stops.length]?.focus();
        return;
      }
      onKey(event);
    });
  }

  close() {
    this.layer.remove();
    if (this.returnTo && this.returnTo.isConnected) this.returnTo.focus({ preventScroll: true });
  }
}

function japanese(window) { return window.core?.language === 0; }

export class MessageBox {
  constructor(window) { this.window = window; }

  // icon: 0 none, 1 information, 2 question, 3 warning, 4 error. The first button is the
  // default one, as in the system's boxes.
  show(text, caption, icon, yesNo) {
    return new Promise((resolve) => {
      const modal = new Modal(this.window);
      modal.caption(caption);
      const body = make("div", "body", modal.box);
      if (icon) make("div", `icon i${icon}`, body, ["", "i", "?", "!", "×"][icon]);
      make("div", "text", body, text);
      const ja = japanese(this.window);
      const done = (answer) => { modal.close(); resolve(answer); };
      const choices = yesNo ? [[ja ? "はい(Y)" : "Yes", kIdYes], [ja ? "いいえ(N)" : "No", kIdNo]] : [["OK", kIdOk]];
      const buttons = modal.buttons(choices, done);
      modal.keys((event) => {
        const key = event.key.toLowerCase();
        if (yesNo && key === "y") done(kIdYes);
        else if (yesNo && key === "n") done(kIdNo);
        else if (!yesNo && (key === "escape" || key === "enter")) { event.preventDefault(); done(kIdOk); }
      });
      buttons[0].focus();
    });
  }
}

export class PageNameBox {
  constructor(window) { this.window = window; }

  show(caption, prompt, name) {
    return new Promise((resolve) => {
      const modal = new Modal(this.window);
      modal.caption(caption);
      const body = make("div", "body", modal.box);
      body.style.flexDirection = "column";
      make("div", "", body, prompt);
      const input = make("input", "", body);
      input.type = "text";
      input.value = name;
      let shown = name;
      input.addEventListener("input", () => {
        // What the box keeps of what is typed is the program's rule.
        const kept = this.window.core.module.fitEditedPageName(input.value, shown);
        if (kept !== input.value) {
          const fromEnd = input.value.length - input.selectionEnd;
          input.value = kept;
          const at = Math.max(0, kept.length - fromEnd);
          input.setSelectionRange(at, at);
        }
        shown = kept;
      });
      const done = (answer) => { modal.close(); resolve(answer === kIdOk ? input.value : null); };
      modal.buttons([["OK", kIdOk], [japanese(this.window) ? "キャンセル" : "Cancel", kIdCancel]], done);
      modal.keys((event) => {
        if (event.key === "Enter") { event.preventDefault(); done(kIdOk); }
        if (event.key === "Escape") { event.preventDefault(); done(kIdCancel); }
      });
      input.focus();
      input.select();
    });
  }
}

export class InfoBox {
  constructor(window) { this.window = window; }

  show() {
    return new Promise((resolve) => {
      const core = this.window.core;
      const modal = new Modal(this.window);
      modal.box.id = "info";
      modal.caption("バージョン情報");
      const client = make("div", "", modal.box);
      client.style.cssText = "position: relative; width: 285px; height: 137px; overflow: hidden;";
      const logo = make("img", "logo", client);
      logo.src = "logo.jpg";
      logo.alt = "";
      const row = (x, y, text) => { const l = make("div", "row", client, text); l.style.left = `${x}px`; l.style.top = `${y}px`; return l; };
      row(24, 72, "ProgramName");
      row(112, 72, core.module.titlePrefix());
      row(24, 88, "Copyright");
      const link = row(112, 88, core.message(17));
      link.id = "URL_Label";
      const guide = japanese(this.window) ? "USER-GUIDE.ja.html" : "USER-GUIDE.html";
      link.title = new URL(guide, location.href).href;
      link.addEventListener("pointerenter", () => link.classList.add("hover"));
      link.addEventListener("pointerleave", () => link.classList.remove("hover"));
      const done = () => { modal.close(); resolve(kIdOk); };
      link.addEventListener("dblclick", () => { window.open(link.title, "_blank", "noopener"); done(); });
      const ok = make("button", "", client, "OK");
      ok.id = "ColorBtn1";
      ok.style.cssText = "position: absolute; left: 104px; top: 112px; width: 75px; height: 25px;";
      ok.addEventListener("click", done);
      modal.keys((event) => {
        if (event.key === "Enter" || event.key === "Escape") { event.preventDefault(); done(); }
      });
      ok.focus();
    });
  }
}

export class PageMenu {
  constructor(window) {
    this.window = window;
    this.captions = [];
  }

  setCaptions(captions) { this.captions = captions; }

  // The chosen item's number, or null when the menu closes without a choice.
  show(x, y, enabled) {
    return new Promise((resolve) => {
      const layer = make("div", "modal", document.body);
      const menu = make("div", "menu", layer);
      menu.setAttribute("role", "menu");
      const items = this.captions.map((caption, index) => {
        const item = make("div", enabled[index] ? "item" : "item disabled", menu, caption);
        item.dataset.index = index;
        item.setAttribute("role", "menuitem");
        if (kSeparatorAfter.has(index)) make("hr", "", menu);
        return item;
      });
      const bounds = document.documentElement;
      menu.style.left = `${Math.max(0, Math.min(x, bounds.clientWidth - menu.offsetWidth))}px`;
      menu.style.top = `${Math.max(0, Math.min(y, bounds.clientHeight - menu.offsetHeight))}px`;
      const returnTo = document.activeElement;
      const done = (choice) => {
        layer.remove();
        if (returnTo && returnTo.isConnected) returnTo.focus({ preventScroll: true });
        resolve(choice);
      };
      menu.addEventListener("click", (event) => {
        const item = event.target.closest(".item");
        if (item && !item.classList.contains("disabled")) done(Number(item.dataset.index));
      });
      layer.addEventListener("pointerdown", (event) => { if (event.target === layer) done(null); });
      layer.addEventListener("contextmenu", (event) => { event.preventDefault(); if (event.target === layer) done(null); });
      let active = -1;
      const mark = (step) => {
        for (let tries = 0; tries < items.length; ++tries) {
          active = (active + step + items.length) % items.length;
          if (enabled[active]) break;
        }
        items.forEach((item, i) => item.classList.toggle("active", i === active));
      };
      layer.tabIndex = -1;
      layer.focus();
      layer.addEventListener("keydown", (event) => {
        event.preventDefault();
        if (event.key === "ArrowDown") mark(1);
        else if (event.key === "ArrowUp") mark(-1);
        else if (event.key === "Escape") done(null);
        else if (event.key === "Enter" && active >= 0 && enabled[active]) done(active);
      });
    });
  }
}
