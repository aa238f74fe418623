// The page's serial line: the ports this site may use (COMn of the list is the n-th), one
// port open at a time through the Web Serial API, and the bytes it receives, which the
// module's device link takes one at a time under its receive time-out.
export class SerialLine {
  constructor(serial = globalThis.navigator && navigator.serial) {
    this.serial = serial;
    this.allowed = [];
    this.port = null;
    this.reader = null;
    this.writer = null;
    this.received = [];   // chunks not yet read
    this.offset = 0;      // read position in the first chunk
    this.waiter = null;   // the readByte waiting for a byte
    this.lost = false;
    this.onchange = null; // the list of allowed ports changed
    if (serial) {
      serial.addEventListener("connect", () => this.refresh());
      serial.addEventListener("disconnect", (event) => {
        if (event.target === this.port || event.port === this.port) this.#lose();
        this.refresh();
      });
    }
  }

  get available() { return !!this.serial; }

  async refresh() {
    this.allowed = this.serial ? await this.serial.getPorts() : [];
    if (this.onchange) this.onchange();
    return this.allowed.length;
  }

  // What the browser tells of each allowed port: { usbVendorId, usbProductId }.
  allowedPorts() { return this.allowed.map((port) => port.getInfo()); }

  // Asks the browser for one more port (a user gesture must lead here). Its list index,
  // or -1 when the user granted none.
  async requestPort() {
    if (!this.serial) return -1;
    let port;
    try {
      port = await this.serial.requestPort();
    } catch {
      return -1;
    }
    await this.refresh();
    return this.allowed.indexOf(port);
  }

  // device: "webserial:N". True when the port opened with the line settings given.
  async open(device, options) {
    await this.close();
    const index = Number(/^webserial:(\d+)$/.exec(device)?.[1] ?? 0) - 1;
    const port = this.allowed[index];
    if (!port) return false;
    try {
      await port.open(options);
    } catch {
      return false;  // refused, held by another program, or gone
    }
    this.port = port;
    this.lost = false;
    this.received = [];
    this.offset = 0;
    try {
      // The line comes up with DTR and RTS on, as a port opened without handshake does,
      // and settles for 100 ms.
      await port.setSignals({ dataTerminalReady: true, requestToSend: true });
    } catch {
      // A port without modem lines (Bluetooth) still carries the bytes.
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
    this.writer = port.writable.getWriter();
    this.#readLoop(port);
    return true;
  }

  async #readLoop(port) {
    const reader = port.readable.getReader();
    this.reader = reader;
    try {
      for (;;) {
        const { value, done } = await reader.read();
        if (done) break;
        if (value && value.length) {
          this.received.push(value);
          this.#wake();
        }
      }
    } catch {
      // The stream failed: the adapter was unplugged or the line broke.
    }
    reader.releaseLock();
    if (this.port === port && this.reader === reader) this.#lose();
  }

  #lose() {
    this.lost = true;
    this.#wake();
  }

  #wake() {
    const waiter = this.waiter;
    this.waiter = null;
    if (waiter) waiter();
  }

  async setDtr(raise) {
    if (!this.port || this.lost) return;
    try {
      await this.port.setSignals({ dataTerminalReady: raise });
    } catch {
      // As above: no modem lines.
    }
  }

  purgeReceive() {
    this.received = [];
    this.offset = 0;
  }

  // Queues the bytes for the line; false when the port is not open.
  write(bytes) {
    if (!this.writer || this.lost) return false;
    this.writer.write(bytes).catch(() => this.#lose());
    return true;
  }

  #take() {
    while (this.received.length) {
      const chunk = this.received[0];
      if (this.offset < chunk.length) return chunk[this.offset++];
      this.received.shift();
      this.offset = 0;
    }
    return -1;
  }

  // The next byte, -1 when none came within the time-out, -2 when the port is gone.
  async readByte(timeoutMs) {
    const deadline = performance.now() + timeoutMs;
    for (;;) {
      const byte = this.#take();
      if (byte >= 0) return byte;
      if (this.lost || !this.port) return -2;
      const left = deadline - performance.now();
      if (left <= 0) return -1;
      await new Promise((resolve) => {
        const timer = setTimeout(() => { this.waiter = null; resolve(); }, left);
        this.waiter = () => { clearTimeout(timer); resolve(); };
      });
    }
  }

  async close() {
    const port = this.port;
    if (!port) return;
    this.port = null;
    const reader = this.reader;
    this.reader = null;
    this.#wake();
    try { if (reader) await reader.cancel(); } catch { /* already ended */ }
    try {
      if (this.writer) {
        await this.writer.close().catch(() => {});
        this.writer.releaseLock();
      }
    } catch { /* already released */ }
    this.writer = null;
    try {
      if (!this.lost) await port.setSignals({ dataTerminalReady: false, requestToSend: false });
    } catch { /* no modem lines */ }
    try { await port.close(); } catch { /* gone */ }
    this.received = [];
    this.offset = 0;
  }
}
