// The page's start: the window, the core behind it, settings files handed to the app by
// the system (an installed app opens .mxd files), and the service worker that keeps the
// app for use without a network.
import { MainWindow } from "./window.js";

const root = document.getElementById("window");
document.documentElement.lang = (navigator.languages?.[0] ?? "en").toLowerCase().startsWith("ja") ? "ja" : "en";

const window_ = new MainWindow(root);
const started = window_.start().then(() => {
  globalThis.mxc9 = window_;
  root.dataset.ready = "true";
  return window_;
});

// Files the system hands to the installed app: opened as a file named at start.
if ("launchQueue" in globalThis) {
  launchQueue.setConsumer(async (params) => {
    const w = await started;
    for (const handle of params.files ?? []) {
      const file = await handle.getFile();
      const path = w.core.files.take(file.name, new Uint8Array(await file.arrayBuffer()), handle);
      await w.core.call("OpenFileAtStart", path);
    }
  });
}

if ("serviceWorker" in navigator) {
  navigator.serviceWorker.register("sw.js").catch(() => {
    // Without it the app still works while the network is there.
  });
}
