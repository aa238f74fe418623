// Settings files between the user's disk and the module's file system. A file chosen to
// open is copied into /files/ and the module reads it there; a file chosen to save is
// written there by the module and handed to the disk once the command is done: into the
// file the user chose where the browser lets a page write files (the File System Access
// API), else as a download. The bytes are the module's, untouched.
// The pickers' entry for settings files; `kind` is its name in the language in use.
const picker = (kind) => [{ description: kind, accept: { "application/octet-stream": [".mxd"] } }];

function baseName(path) {
  return path.slice(Math.max(path.lastIndexOf("/"), path.lastIndexOf("\\")) + 1);
}

export class SettingsFiles {
  constructor(FS, window = globalThis) {
    this.FS = FS;
    this.window = window;
    this.count = 0;
    this.handles = new Map();  // module path -> the file it came from or goes to
    this.pending = new Map();  // module path -> where a save goes ("download" or a handle)
    FS.mkdirTree("/files");
  }

  #folder() {
    const folder = `/files/${++this.count}`;
    this.FS.mkdirTree(folder);
    return folder;
  }

  // Bytes of a file picked without the File System Access API (an <input type=file>).
  #pickWithInput() {
    return new Promise((resolve) => {
      const input = this.window.document.createElement("input");
      input.type = "file";
      input.accept = ".mxd";
      input.addEventListener("change", () => resolve(input.files[0] || null));
      input.addEventListener("cancel", () => resolve(null));
      input.click();
    });
  }

  // The module path of the file the user picked, or null.
  async chooseOpen(proposed, kind) {
    let file = null;
    let handle = null;
    if (this.window.showOpenFilePicker) {
      try {
        [handle] = await this.window.showOpenFilePicker({ types: picker(kind), startIn: this.handles.get(proposed) });
        file = await handle.getFile();
      } catch {
        return null;  // cancelled, or the file could not be read: nothing opens
      }
    } else {
      file = await this.#pickWithInput();
      if (!file) return null;
    }
    return this.take(file.name, new Uint8Array(await file.arrayBuffer()), handle);
  }

  // Puts bytes in the module's files as `name`; its path there.
  take(name, bytes, handle = null) {
    const path = `${this.#folder()}/${name}`;
    this.FS.writeFile(path, bytes);
    if (handle) this.handles.set(path, handle);
    return path;
  }

  // The module path to save into, or null.
  async chooseSave(proposed, kind) {
    const name = baseName(proposed);
    let target = "download";
    if (this.window.showSaveFilePicker) {
      try {
        // The picker starts where the proposed file is, so that "save" over the file
        // that was opened is one confirmation away, as in the desktop's dialog.
        target = await this.window.showSaveFilePicker({
          suggestedName: name, types: picker(kind), startIn: this.handles.get(proposed) });
      } catch {
        return null;
      }
    }
    const path = `${this.#folder()}/${target === "download" ? name : target.name}`;
    this.pending.set(path, target);
    if (target !== "download") this.handles.set(path, target);
    return path;
  }

  // After each command: the files it saved go to the disk. onError(name) for each that
  // could not be written there.
  async flush(onError) {
    const pending = [...this.pending];
    this.pending.clear();
    for (const [path, target] of pending) {
      // The module adds ".mxd" to a name without an extension.
      const written = [path, `${path}.mxd`].find((p) => this.FS.analyzePath(p).exists);
      if (!written) continue;  // the save failed in the module and said so
      const bytes = this.FS.readFile(written);
      try {
        if (target === "download") {
          const link = this.window.document.createElement("a");
          link.href = URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" }));
          link.download = baseName(written);
          link.click();
          setTimeout(() => URL.revokeObjectURL(link.href), 60000);
        } else {
          const stream = await target.createWritable();
          await stream.write(bytes);
          await stream.close();
        }
      } catch {
        await onError(baseName(written));
      }
    }
  }
}
