// A stand-in for navigator.serial, given to the page before its own scripts run. A
// browser cannot open a pseudo-terminal: each port's streams carry their bytes over a
// WebSocket to the test's bridge (serial-bridge.py), which relays them to the simulator's
// pseudo-terminal. Everything above the streams is the page's own code.
//   __MXC9_BRIDGE__   the bridge's address, ws://127.0.0.1:PORT
//   window.serialStandIn.ports      the ports of the machine, { usbVendorId, usbProductId }
//   window.serialStandIn.granted    how many of them this site may use already
//   window.serialStandIn.grantNext  whether the browser's chooser grants the next port
// A page opened with "?no-serial" gets none, as in a browser without Web Serial.
(() => {
  if (new URLSearchParams(location.search).has("no-serial")) {
    delete Navigator.prototype.serial;
    return;
  }
  const bridge = "__MXC9_BRIDGE__";
  const lost = () => new DOMException("The device has been lost.", "NetworkError");

  class StandInPort extends EventTarget {
    constructor(index, info) {
      super();
      this.index = index;
      this.info = info;
      this.socket = null;
      this.readable = null;
      this.writable = null;
    }
    getInfo() { return { ...this.info }; }

    async open(options) {
      if (this.socket) throw new DOMException("The port is already open.", "InvalidStateError");
      const query = new URLSearchParams({ baudRate: options.baudRate, dataBits: options.dataBits,
        stopBits: options.stopBits, parity: options.parity, flowControl: options.flowControl });
      const socket = new WebSocket(`${bridge}/${this.index}?${query}`);
      socket.binaryType = "arraybuffer";
      await new Promise((resolve, reject) => {
        socket.onmessage = (event) => {
          // The bridge's first word: the port opened, or another program holds it.
          if (event.data === "open") resolve();
          else reject(new DOMException("Failed to open serial port.", "NetworkError"));
        };
        socket.onclose = () => reject(new DOMException("Failed to open serial port.", "NetworkError"));
      });
      this.socket = socket;
      let receiver;
      this.readable = new ReadableStream({
        start(controller) { receiver = controller; },
        cancel() {},
      });
      socket.onmessage = (event) => {
        if (typeof event.data !== "string") receiver.enqueue(new Uint8Array(event.data));
      };
      socket.onclose = () => {
        // Unplugged: the stream ends with an error and the port is gone.
        if (this.socket !== socket) return;
        this.socket = null;
        try { receiver.error(lost()); } catch { /* already closed */ }
        window.serialStandIn.unplug(this);
      };
      this.writable = new WritableStream({
        write: (chunk) => {
          if (this.socket !== socket) throw lost();
          socket.send(chunk);
        },
      });
    }

    async setSignals(signals) {
      if (!this.socket) throw new DOMException("The port is closed.", "InvalidStateError");
      this.socket.send(JSON.stringify({ signals }));
    }

    async close() {
      const socket = this.socket;
      this.socket = null;
      this.readable = null;
      this.writable = null;
      if (socket) socket.close();
    }
  }

  const serial = new EventTarget();
  const standIn = {
    ports: [{ usbVendorId: 0x0403, usbProductId: 0x6001 }],
    granted: 1,
    grantNext: true,
    made: [],
    port(index) {
      if (!this.made[index]) this.made[index] = new StandInPort(index, this.ports[index]);
      return this.made[index];
    },
    unplug(port) {
      const index = this.made.indexOf(port);
      this.ports.splice(index, 1);
      this.made.splice(index, 1);
      this.granted = Math.min(this.granted, this.ports.length);
      const event = new Event("disconnect");
      Object.defineProperty(event, "target", { value: port });
      serial.dispatchEvent(event);
    },
  };
  serial.getPorts = async () => standIn.ports.slice(0, standIn.granted).map((_, i) => standIn.port(i));
  serial.requestPort = async () => {
    if (!standIn.grantNext || standIn.granted >= standIn.ports.length)
      throw new DOMException("No port selected by the user.", "NotFoundError");
    return standIn.port(standIn.granted++);
  };
  window.serialStandIn = standIn;
  Object.defineProperty(Navigator.prototype, "serial", { get: () => serial, configurable: true });
})();
