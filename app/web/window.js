// The main window in the page: the controls of the desktop window's layout, drawn with
// the page's own elements. Every key, click, wheel turn and menu choice goes to the
// handler of TMainForm named after it (through Core, one at a time); what the window
// shows is what TMainForm tells its view. No rule of the program is decided here.
import { Core } from "./core.js";
import { MessageBox, PageNameBox, InfoBox, PageMenu } from "./dialogs.js";

const kAverageTag = 32;
const kNeutralBrakeTag = 33;
const kScroll = { lineUp: 0, lineDown: 1, pageUp: 2, pageDown: 3, position: 4, track: 5, endScroll: 8 };
// Windows virtual-key codes, as the key handlers know the keys.
const kKeys = { ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, PageUp: 0x21,
  PageDown: 0x22, Home: 0x24, End: 0x23, Shift: 0x10, Enter: 0x0d, Escape: 0x1b, " ": 0x20 };
const kPortListRequest = "request";

function element(tag, className, place, parent) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (place) {
    const [left, top, width, height] = place;
    node.classList.add("abs");
    node.style.left = `${left}px`;
    node.style.top = `${top}px`;
    if (width !== undefined) node.style.width = `${width}px`;
    if (height !== undefined) node.style.height = `${height}px`;
  }
  if (parent) parent.appendChild(node);
  return node;
}

function virtualKey(event) {
  if (event.key in kKeys) return kKeys[event.key];
  return event.key.length === 1 ? event.key.toUpperCase().charCodeAt(0) : 0;
}

// A scroll bar of the window: arrows, trough and thumb. A press on an arrow or the
// trough repeats while held, as the system's bars do; the thumb is dragged.
class ScrollBar {
  constructor(window, tag, place, vertical, maximum) {
    this.window = window;
    this.tag = tag;
    this.vertical = vertical;
    this.maximum = maximum;
    this.position = 0;
    this.node = element("div", "bar", place, window.page);
    this.node.tabIndex = 0;
    this.node.dataset.tag = tag;
    this.length = vertical ? place[3] : place[2];
    this.thickness = vertical ? place[2] : place[3];
    this.arrow = Math.min(this.thickness, 17);
    this.thumbLength = Math.max(8, Math.min(this.thickness, 16));
    const along = (node, start, size) => {
      node.style[vertical ? "top" : "left"] = `${start}px`;
      node.style[vertical ? "height" : "width"] = `${size}px`;
      node.style[vertical ? "left" : "top"] = "0px";
      node.style[vertical ? "width" : "height"] = `${this.thickness}px`;
    };
    this.low = element("div", `arrow low ${vertical ? "up" : "left"}`, null, this.node);
    this.high = element("div", `arrow high ${vertical ? "down" : "right"}`, null, this.node);
    this.thumb = element("div", "thumb", null, this.node);
    along(this.low, 0, this.arrow);
    along(this.high, this.length - this.arrow, this.arrow);
    this.place = (node, start) => along(node, start, this.thumbLength);
    this.show(0);
    this.node.addEventListener("pointerdown", (event) => this.pressed(event));
    this.node.addEventListener("keydown", (event) => window.barKey(this, event, true));
    this.node.addEventListener("keyup", (event) => window.barKey(this, event, false));
    this.node.addEventListener("wheel", (event) => window.barWheel(this, event), { passive: false });
  }

  get track() { return this.length - 2 * this.arrow - this.thumbLength; }

  show(position) {
    this.position = position;
    this.place(this.thumb, this.arrow + Math.round(this.track * (position / this.maximum)));
  }

  offset(event) {
    const box = this.node.getBoundingClientRect();
    const scale = this.window.scale;
    return (this.vertical ? event.clientY - box.top : event.clientX - box.left) / scale;
  }

  async pressed(event) {
    if (event.button !== 0) return;
    event.preventDefault();
    if (!(await this.window.focusControl(this.node))) return;
    const at = this.offset(event);
    const thumbStart = this.arrow + Math.round(this.track * (this.position / this.maximum));
    this.node.setPointerCapture(event.pointerId);
    if (event.pointerType === "touch" && at >= this.arrow && at < this.length - this.arrow) {
      // A finger drags the thumb from wherever it touches the trough.
      this.drag(event, this.thumbLength / 2);
      return;
    }
    if (at >= thumbStart && at < thumbStart + this.thumbLength) {
      this.drag(event, at - thumbStart);
      return;
    }
    let code;
    if (at < this.arrow) code = kScroll.lineUp;
    else if (at >= this.length - this.arrow) code = kScroll.lineDown;
    else code = at < thumbStart ? kScroll.pageUp : kScroll.pageDown;
    const part = code === kScroll.lineUp ? "pressed-low" : code === kScroll.lineDown ? "pressed-high" : null;
    if (part) this.node.classList.add(part);
    let timer = null;
    let held = true;
    const repeat = async (delay) => {
      if (!held) return;
      await this.window.scroll(this, code, 0);
      timer = setTimeout(() => repeat(50), delay);
    };
    const release = async () => {
      held = false;
      clearTimeout(timer);
      this.node.removeEventListener("pointerup", release);
      this.node.removeEventListener("pointercancel", release);
      if (part) this.node.classList.remove(part);
      await this.window.scroll(this, kScroll.endScroll, 0);
    };
    this.node.addEventListener("pointerup", release);
    this.node.addEventListener("pointercancel", release);
    repeat(400);
  }

  drag(event, grab) {
    const valueAt = (e) => {
      const start = this.offset(e) - grab - this.arrow;
      return Math.max(0, Math.min(this.maximum, Math.round((start / this.track) * this.maximum)));
    };
    let last = this.position;
    const move = (e) => {
      const value = valueAt(e);
      if (value === last) return;
      last = value;
      this.window.scroll(this, kScroll.track, value);
    };
    const release = async (e) => {
      this.node.removeEventListener("pointermove", move);
      this.node.removeEventListener("pointerup", release);
      this.node.removeEventListener("pointercancel", release);
      await this.window.scroll(this, kScroll.position, valueAt(e));
      await this.window.scroll(this, kScroll.endScroll, 0);
    };
    this.node.addEventListener("pointermove", move);
    this.node.addEventListener("pointerup", release);
    this.node.addEventListener("pointercancel", release);
    move(event);
  }
}

export class MainWindow {
  constructor(root) {
    this.root = root;
    this.core = null;
    this.scale = 1;
    this.shift = false;
    this.active = null;  // the control that holds the focus as the handlers know it
    this.busy = false;
    this.build();
    this.fit();
    addEventListener("resize", () => this.fit());
    for (const type of ["keydown", "keyup", "pointerdown", "pointermove"])
      addEventListener(type, (event) => { this.shift = event.shiftKey; }, true);
    addEventListener("keydown", (event) => this.windowKey(event));
  }

  // The window scales as a whole to a screen narrower than it.
  fit() {
    const room = document.documentElement.clientWidth;
    this.scale = Math.min(1, room / 792);
    this.root.style.transform = this.scale < 1 ? `scale(${this.scale})` : "";
    document.body.style.height = `${Math.ceil(449 * this.scale)}px`;
  }

  build() {
    const root = this.root;
    this.page = element("div", "", [0, 0, 792, 428], root);
    this.page.id = "page";
    const label = (text, x, y) => { const l = element("div", "label", [x, y], this.page); l.textContent = text; return l; };
    label("Frequency", 6, 3);
    this.gauges = [19, 393].map((y) => {
      const canvas = element("canvas", "gauge", [5, y, 545, 7], this.page);
      canvas.width = 545;
      canvas.height = 7;
      return canvas;
    });
    this.bars = [];
    for (let n = 0; n < 32; ++n) this.bars.push(new ScrollBar(this, n, [6 + 17 * n, 27, 16, 365], true, 63));
    this.bars.push(new ScrollBar(this, kAverageTag, [552, 27, 21, 365], true, 63));
    this.readouts = [[5, 86], [91, 85], [176, 85]].map(([x, w]) => {
      const panel = element("div", "readout", [x, 401, w, 24], this.page);
      panel.textContent = "-----";
      return panel;
    });
    this.buttons = [["PROGRAM_BTN", 267, 33], ["READ_BTN", 300, 33], ["INFO_BTN", 346, 34], ["EXIT_BTN", 380, 33]]
      .map(([name, x, w], glyph) => {
        const button = element("button", "speed", [x, 403, w, 22], this.page);
        button.id = name;
        button.tabIndex = -1;  // speed buttons never take the focus
        button.appendChild(drawGlyph(glyph));
        button.addEventListener("pointerdown", (e) => e.preventDefault());
        button.addEventListener("click", () => this.speedButton(name));
        button.addEventListener("pointerenter", () => this.showHint(button));
        button.addEventListener("pointerleave", () => this.hideHint());
        return button;
      });
    label("Neutral Brake", 582, 3);
    this.NBRK_CAP = element("input", "", [582, 16, 43, 20], this.page);
    this.NBRK_CAP.id = "NBRK_CAP";
    this.NBRK_CAP.readOnly = true;
    // It takes its place in the tab order and shows the focus by selecting its text.
    this.NBRK_CAP.addEventListener("focus", () => this.NBRK_CAP.select());
    this.NBRK_CAP.value = "OFF";
    this.neutralBrake = new ScrollBar(this, kNeutralBrakeTag, [650, 17, 134, 18], false, 100);
    label("Brake Frequency", 582, 38);
    label("Power Save", 582, 73);
    label("TH.Response", 582, 108);
    label("Current Limiter", 686, 108);
    label("Comment", 582, 141);
    this.lists = [[582, 51, 107], [582, 86, 75], [582, 121, 75], [686, 121, 75]].map(([x, y, w], id) => {
      const list = element("select", "list", [x, y, w, 20], this.page);
      list.dataset.list = id;
      list.addEventListener("change", () => this.listChosen(id, list));
      return list;
    });
    this.Comment = element("textarea", "", [582, 154, 203, 239], this.page);
    this.Comment.id = "Comment";
    this.Comment.spellcheck = false;
    this.Comment.addEventListener("input", () => this.commentTyped());
    this.Comment.addEventListener("keydown", (event) => {
      // Tab leaves the box; no tab is typed.
      if (event.key === "Tab") { event.preventDefault(); this.moveFocus(this.Comment, !event.shiftKey); }
    });
    const comm = element("div", "", [680, 408], this.page);
    comm.textContent = "COMM";
    this.CommPort = element("select", "list", [721, 405, 65, 20], this.page);
    this.CommPort.id = "CommPort";
    this.CommPort.addEventListener("pointerdown", () => this.core && this.core.call("CommPortDropDown"));
    this.CommPort.addEventListener("change", () => this.portChosen());
    // The tab strip along the bottom, with its page menu.
    this.tabStrip = element("div", "", [2, 427, 788, 21], root);
    this.tabStrip.id = "tabs";
    this.tabStrip.tabIndex = 0;
    this.tabRow = element("div", "", null, this.tabStrip);
    this.tabRow.id = "tabrow";
    this.tabRow.addEventListener("click", (event) => {
      const tab = event.target.closest(".tab");
      if (tab) this.tabChosen(Number(tab.dataset.index));
    });
    this.tabStrip.addEventListener("keydown", (event) => this.tabKey(event));
    this.hint = element("div", "", null, document.body);
    this.hint.id = "hint";
    this.menu = new PageMenu(this);
    for (const source of [this.page, this.tabStrip]) {
      source.addEventListener("contextmenu", (event) => this.contextMenu(event));
      this.longPress(source);
    }
    // The order Tab and Shift+Tab follow.
    this.tabOrder = [this.tabStrip, ...this.bars.map((b) => b.node), this.NBRK_CAP, this.neutralBrake.node, this.lists[0],
      this.lists[2], this.lists[3], this.Comment, this.lists[1], this.CommPort];
    for (const control of this.tabOrder)
      control.addEventListener("focusin", () => this.controlFocused(control));
  }

  async start(options = {}) {
    const page = {
      messageBox: (text, caption, icon, yesNo) => new MessageBox(this).show(text, caption, icon, yesNo),
      pageName: (caption, prompt, name) => new PageNameBox(this).show(caption, prompt, name),
      shiftHeld: () => this.shift,
      openUrl: (url) => window.open(url, "_blank", "noopener"),
      closeWindow: () => this.view().closeWindow(),
    };
    const attached = (core) => {
      // The lists' items are there before the creation steps choose among them.
      this.core = core;
      for (let id = 1; id < 4; ++id) this.fillList(this.lists[id], core.listTexts(id));
      this.fillPorts(core.listTexts(4));
    };
    await Core.start({ view: this.view(), page, attached, ...options });
    // What the models held before the window listened.
    const state = this.core.state();
    if (state) {
      this.lists.forEach((list, id) => { list.selectedIndex = state.lists[id]; });
      state.bars.forEach((position, tag) => this.bars[tag].show(position));
      this.bars[kAverageTag].show(state.average);
      this.view().neutralBrake(state.neutralBrake, state.neutralBrakeCaption);
      this.view().comment(state.comment);
      this.showTabs(state.tabs, state.selectedTab);
    }
    this.core.serial.onchange = () => this.core.call("CommPortDropDown");
    addEventListener("beforeunload", (event) => {
      // Closing the tab or the window asks first, as far as the browser lets a page ask.
      if (!this.closed) { event.preventDefault(); event.returnValue = ""; }
    });
    return this;
  }

  // What TMainForm tells the window.
  view() {
    if (this.viewObject) return this.viewObject;
    const self = this;
    this.viewObject = {
      title(text) { document.title = text; },
      hints(texts) { self.buttons.forEach((b, i) => { b.dataset.hint = texts[i]; b.setAttribute("aria-label", texts[i]); }); },
      menuCaptions(captions) { self.menu.setCaptions(captions); },
      brakeItems(items, index) { self.fillList(self.lists[0], items); self.lists[0].selectedIndex = index; },
      portIndex(index) { self.CommPort.selectedIndex = index; self.shownPort = index; },
      portDevices(entries) {
        entries.forEach((entry, i) => {
          const option = self.CommPort.options[i + 1];
          if (option) option.title = entry.device ? `${entry.device}  ${entry.details}` : "";
        });
      },
      focusTabControl() { self.tabStrip.focus(); },
      transferBusy(busy) { self.showBusy(busy); },
      closeWindow() {
        self.closed = true;
        self.root.replaceChildren();
        document.title = "MXC-9 Manager";
        window.close();
      },
      bar(tag, position) { (tag === kAverageTag ? self.bars[kAverageTag] : self.bars[tag]).show(position); },
      neutralBrake(position, caption) { self.neutralBrake.show(position); self.NBRK_CAP.value = caption; },
      list(id, index) { self.lists[id].selectedIndex = index; },
      comment(text) { if (self.Comment.value !== text) self.Comment.value = text; },
      gauge() { self.drawGauges(); },
      readouts(value, level, name) { [value, level, name].forEach((t, i) => { self.readouts[i].textContent = t; }); },
      tabs(captions, selected) { self.showTabs(captions, selected); },
    };
    return this.viewObject;
  }

  fillList(list, items) {
    list.replaceChildren(...items.map((text) => { const o = document.createElement("option"); o.textContent = text; return o; }));
  }

  fillPorts(items) {
    this.fillList(this.CommPort, items);
    const request = document.createElement("option");
    request.value = kPortListRequest;
    // The page's own entry: the browser lets a page use only the ports the user allows.
    // A browser without serial ports at all says so here, where a port is looked for.
    const japanese = this.core?.language === 0;
    if (this.core?.serial?.available === false) {
      request.textContent = japanese ? "このブラウザーではシリアルポートを使えません"
        : "This browser has no serial ports";
      request.disabled = true;
    } else {
      request.textContent = japanese ? "+ ポートを許可…" : "+ Allow a port…";
    }
    this.CommPort.appendChild(request);
    this.CommPort.selectedIndex = this.shownPort ?? 0;
  }

  drawGauges() {
    const pixels = this.core.form.gaugePixels();
    const image = new ImageData(545, 7);
    for (let i = 0, j = 0; i < pixels.length; i += 3, j += 4) {
      image.data[j] = pixels[i];
      image.data[j + 1] = pixels[i + 1];
      image.data[j + 2] = pixels[i + 2];
      image.data[j + 3] = 255;
    }
    for (const canvas of this.gauges) canvas.getContext("2d").putImageData(image, 0, 0);
  }

  showTabs(captions, selected) {
    // One change, one drawing: a thousand tabs are built as one piece.
    const row = document.createDocumentFragment();
    captions.forEach((caption, index) => {
      const tab = document.createElement("span");
      tab.className = index === selected ? "tab selected" : "tab";
      tab.dataset.index = index;
      tab.textContent = caption;
      row.appendChild(tab);
    });
    this.tabRow.replaceChildren(row);
    this.selectedTab = selected;
    this.tabsShownAt = performance.now();
    const shown = this.tabRow.children[selected];
    if (shown) {
      const left = shown.offsetLeft, right = left + shown.offsetWidth;
      if (left < this.tabStrip.scrollLeft) this.tabStrip.scrollLeft = left;
      else if (right > this.tabStrip.scrollLeft + this.tabStrip.clientWidth)
        this.tabStrip.scrollLeft = right - this.tabStrip.clientWidth;
    }
  }

  showBusy(busy) {
    this.busy = busy;
    // While the controller is busy the buttons, the port list and the tabs take nothing,
    // and neither does the page on screen: it is the one being written or filled.
    for (const button of this.buttons) button.disabled = busy;
    this.CommPort.disabled = busy;
    this.tabStrip.classList.toggle("busy", busy);
    this.page.classList.toggle("held", busy);
    for (const list of this.lists) list.disabled = busy;
    this.Comment.readOnly = busy;
  }

  showHint(button) {
    if (!button.dataset.hint) return;
    const box = button.getBoundingClientRect();
    this.hint.textContent = button.dataset.hint;
    this.hint.style.left = `${box.left}px`;
    this.hint.style.top = `${box.bottom + 4}px`;
    this.hint.style.display = "block";
  }

  hideHint() { this.hint.style.display = "none"; }

  // Focus moves between the window's controls run the bars' enter and exit handlers;
  // a dialog or a menu taking the focus for a while does not.
  async controlFocused(control) {
    if (control === this.active) return;
    const left = this.active?.dataset.tag;
    this.active = control;
    const entered = control.dataset.tag;
    if (left !== undefined && Number(left) < 32) await this.core?.call("FRQ_Exit", Number(left));
    if (entered !== undefined && Number(entered) <= kAverageTag) await this.core?.call("FRQ_Enter", Number(entered));
  }

  async focusControl(node) {
    if (!this.core || this.core.busy) return false;
    if (document.activeElement !== node) node.focus();
    return document.activeElement === node;
  }

  moveFocus(from, forward) {
    const order = this.tabOrder;
    let index = Math.max(0, order.indexOf(from));
    for (let step = 0; step < order.length; ++step) {
      index = (index + (forward ? 1 : order.length - 1)) % order.length;
      if (!order[index].disabled) { order[index].focus(); return; }
    }
  }

  windowKey(event) {
    if (event.key !== "Tab" || event.defaultPrevented || document.querySelector(".modal")) return;
    event.preventDefault();
    this.moveFocus(this.tabOrder.includes(document.activeElement) ? document.activeElement : this.active, !event.shiftKey);
  }

  async scroll(bar, code, thumb) {
    if (!this.core) return;
    const position = await this.core.call("BarScroll", bar.tag, code, thumb);
    if (position !== undefined && bar.tag <= kAverageTag) bar.show(position);
  }

  async barKey(bar, event, down) {
    if (event.key === "Tab") return;
    if (event.key === "ContextMenu" || (event.key === "F10" && event.shiftKey)) return;
    event.preventDefault();
    if (!this.core) return;
    if (!down) { await this.core.call("BarKeyUp", bar.tag); return; }
    const move = await this.core.call("BarKeyDown", bar.tag, virtualKey(event));
    if (move) this.moveFocus(bar.node, move > 0);
  }

  async barWheel(bar, event) {
    event.preventDefault();
    this.wheel = (this.wheel || 0) + (event.deltaMode === 1 ? event.deltaY * 33.3 : event.deltaY);
    const notches = Math.trunc(this.wheel / 100);
    if (!notches) return;
    this.wheel -= notches * 100;
    if (!(await this.focusControl(bar.node))) return;
    for (let i = 0; i < Math.abs(notches); ++i) await this.scroll(bar, notches < 0 ? kScroll.lineUp : kScroll.lineDown, 0);
  }

  async listChosen(id, list) {
    const done = await this.core.call("ListChange", id, list.selectedIndex);
    if (done === undefined) list.selectedIndex = this.core.state()?.lists[id] ?? list.selectedIndex;
  }

  async commentTyped() {
    const typed = this.Comment.value;
    const kept = await this.core.call("CommentChange", typed);
    if (kept === undefined || kept === null) return;
    // The cursor keeps its distance from the end of the text.
    const fromEnd = typed.length - this.Comment.selectionEnd;
    this.Comment.value = kept;
    await this.core.call("CommentChange", kept);
    const at = Math.max(0, kept.length - fromEnd);
    this.Comment.setSelectionRange(at, at);
  }

  async portChosen() {
    let index = this.CommPort.selectedIndex;
    if (this.CommPort.value === kPortListRequest) {
      // The last entry asks the browser for one more port; it becomes the next COMn.
      const granted = await this.core.serial.requestPort();
      if (granted < 0 || granted >= 10) {
        this.CommPort.selectedIndex = this.shownPort ?? 0;
        return;
      }
      index = granted + 1;
      this.CommPort.selectedIndex = index;
    }
    this.shownPort = index;
    await this.core.call("CommPortCloseUp", index);
  }

  async tabChosen(index) {
    if (this.busy || !this.core) return;
    const changed = await this.core.call("TabControl1Change", index);
    if (!changed) this.showTabs([...this.tabRow.children].map((t) => t.textContent), this.selectedTab);
  }

  tabKey(event) {
    const count = this.tabRow.children.length;
    let index = this.selectedTab;
    if (event.key === "ArrowLeft") index = Math.max(0, index - 1);
    else if (event.key === "ArrowRight") index = Math.min(count - 1, index + 1);
    else if (event.key === "Home") index = 0;
    else if (event.key === "End") index = count - 1;
    else return;
    event.preventDefault();
    if (index !== this.selectedTab) this.tabChosen(index);
  }

  async speedButton(name) {
    if (!this.core) return;
    if (name === "PROGRAM_BTN") await this.core.call("PROGRAM_BTNClick");
    else if (name === "READ_BTN") await this.core.call("READ_BTNClick");
    else if (name === "INFO_BTN") { if (!this.busy) await new InfoBox(this).show(); }
    else if (name === "EXIT_BTN") await this.quit();
  }

  async quit() {
    if (await this.core.call("CloseRequested")) this.view().closeWindow();
  }

  contextMenu(event) {
    if (event.target === this.Comment || event.target === this.NBRK_CAP) return;
    event.preventDefault();
    this.openMenu(event.clientX, event.clientY);
  }

  // A long press opens the page menu on a touch screen.
  longPress(source) {
    let timer = null;
    let start = null;
    source.addEventListener("pointerdown", (event) => {
      if (event.pointerType !== "touch" || event.target === this.Comment) return;
      start = [event.clientX, event.clientY];
      timer = setTimeout(() => { timer = null; this.openMenu(start[0], start[1]); }, 600);
    });
    const cancel = (event) => {
      if (!timer) return;
      if (event.type === "pointermove" && Math.hypot(event.clientX - start[0], event.clientY - start[1]) < 10) return;
      clearTimeout(timer);
      timer = null;
    };
    for (const type of ["pointerup", "pointercancel", "pointermove"]) source.addEventListener(type, cancel);
  }

  async openMenu(x, y) {
    if (!this.core || this.core.busy) return;
    const enabled = await this.core.call("PopupMenu1Popup");
    if (!enabled) return;  // no menu during a transfer
    const item = await this.menu.show(x, y, enabled);
    if (item !== null) await this.core.call("PopupMenu1Click", item);
  }
}

// The speed buttons' 24 x 16 glyphs, drawn at the screen's pixel density.
function drawGlyph(glyph) {
  const ratio = Math.max(1, Math.round(devicePixelRatio || 1));
  const canvas = document.createElement("canvas");
  canvas.width = 24 * ratio;
  canvas.height = 16 * ratio;
  const p = canvas.getContext("2d");
  p.scale(ratio, ratio);
  const arrow = (right, colour) => {
    const tip = right ? 22 : 2, base = right ? 13 : 11, tail = right ? 2 : 22;
    p.beginPath();
    p.moveTo(tail, 5); p.lineTo(base, 5); p.lineTo(base, 1); p.lineTo(tip, 8);
    p.lineTo(base, 15); p.lineTo(base, 11); p.lineTo(tail, 11); p.closePath();
    p.fillStyle = colour; p.fill();
    p.strokeStyle = "#000"; p.lineWidth = 1; p.stroke();
  };
  if (glyph === 0) arrow(true, "rgb(220,40,40)");
  if (glyph === 1) arrow(false, "rgb(40,90,220)");
  if (glyph === 2) {
    p.fillStyle = "rgb(40,90,220)";
    p.beginPath(); p.arc(12.5, 7.5, 7.5, 0, 2 * Math.PI); p.fill();
    p.fillStyle = "#fff"; p.font = "bold 12px sans-serif"; p.textAlign = "center"; p.textBaseline = "middle";
    p.fillText("i", 12.5, 8);
  }
  if (glyph === 3) {
    p.strokeStyle = "rgb(200,30,30)"; p.lineWidth = 3;
    p.beginPath(); p.moveTo(6, 2); p.lineTo(18, 14); p.moveTo(18, 2); p.lineTo(6, 14); p.stroke();
  }
  return canvas;
}
