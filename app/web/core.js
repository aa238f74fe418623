// The module and its page: loads the core, gives it the page's serial line, files,
// storage and dialogs, and hands it one event at a time. A handler that waits (for the
// controller, for an answer in a box) keeps the core until it returns; events that come
// meanwhile are not handed on, as a window's controls take none while it is busy, and a
// close asked for meanwhile is asked again once the handler is done.
import createMxc9Module from "./mxc9.js";
import { SerialLine } from "./serial.js";
import { SettingsFiles } from "./files.js";

export const kLanguageJapanese = 0;
export const kLanguageEnglish = 1;
const kLanguageKey = "mxc9.language";

// The language of the run: "?language=ja" or "?language=en" chooses and is remembered for
// the site; else the browser's first language (Japanese when it begins with "ja").
export function chooseLanguage(location = globalThis.location, storage = globalThis.localStorage,
                               languages = globalThis.navigator?.languages ?? []) {
  const asked = new URLSearchParams(location?.search ?? "").get("language");
  if (asked === "ja" || asked === "en") storage?.setItem(kLanguageKey, asked);
  const chosen = storage?.getItem(kLanguageKey);
  if (chosen === "ja") return kLanguageJapanese;
  if (chosen === "en") return kLanguageEnglish;
  return String(languages[0] ?? "").toLowerCase().startsWith("ja") ? kLanguageJapanese : kLanguageEnglish;
}

// The program's own settings (MXC9.ini) live in the site's storage (IndexedDB), mounted
// as /mxc9/: each time the program flushes the file, the file system writes it there.
async function mountSettings(module) {
  const { FS } = module;
  FS.mkdirTree("/mxc9");
  FS.mount(module.IDBFS, {}, "/mxc9");
  await new Promise((resolve) => FS.syncfs(true, resolve));
}

export class Core {
  // view: what the window shows (TMainForm tells it); page: message boxes, the page-name
  // dialog, the keyboard; options.serial: a SerialLine (tests give one over a stand-in).
  // attached(core): the window may use the core from here on, before the creation steps.
  static async start({ view, page, serial = new SerialLine(), language = chooseLanguage(), locateFile,
                       attached }) {
    const core = new Core();
    core.serial = serial;
    core.page = page;
    const module = await createMxc9Module({ view, page, serial, locateFile,
      files: { chooseOpen: (p, kind) => core.files.chooseOpen(p, kind),
               chooseSave: (p, kind) => core.files.chooseSave(p, kind) } });
    core.module = module;
    core.files = new SettingsFiles(module.FS);
    await mountSettings(module);
    await serial.refresh();
    module.startProgram(language);
    core.language = language;
    core.form = new module.MainForm();
    attached?.(core);
    await core.call("FormCreate");
    return core;
  }

  constructor() {
    this.busy = false;
    this.closeAsked = false;
  }

  // Runs handler `name` of TMainForm; undefined when the core is busy with another. A
  // handler that does not wait has run when this returns; one that waits keeps the core
  // busy until it is done.
  call(name, ...args) {
    if (this.busy) {
      if (name === "CloseRequested") this.closeAsked = true;
      return Promise.resolve(undefined);
    }
    this.busy = true;
    let result;
    try {
      result = this.form[name](...args);
    } catch (error) {
      this.busy = false;
      throw error;
    }
    if (!(result instanceof Promise)) {
      this.busy = false;
      return this.files.pending.size || this.closeAsked ? this.#after(result) : Promise.resolve(result);
    }
    return result.finally(() => { this.busy = false; }).then((value) => this.#after(value));
  }

  // After a handler: the files it saved go to the disk, and a close asked for meanwhile
  // is asked now.
  async #after(result) {
    await this.files.flush((file) => this.call("showWriteError", file));
    if (this.closeAsked) {
      this.closeAsked = false;
      if (await this.call("CloseRequested")) this.page.closeWindow?.();
    }
    return result;
  }

  // What the window shows now, read without running a handler.
  state() { return this.busy ? null : this.form.screen(); }
  message(row) { return this.module.message(row); }
  listTexts(list) { return this.module.listTexts(list); }
}
