"""The browser test's serial bridge: a WebSocket server on 127.0.0.1 whose connections
stand for the stand-in ports' streams (serial-standin.js). Connection /N relays bytes
between the page and the pseudo-terminal the test gives port N; the test may say that
another program holds a port, or that the adapter is pulled out after some bytes."""

import asyncio
import json
import os
import threading
import tty

import websockets


class SerialBridge:
    def __init__(self):
        self.targets = {}      # port index -> pty path
        self.held = set()      # port indexes another program holds
        self.unplug_after = {}  # port index -> bytes to the page before the line goes
        self.signals = []      # (port, {dataTerminalReady, requestToSend}) in order
        self.opened = []       # (port, query) of each open
        self.loop = asyncio.new_event_loop()
        started = threading.Event()
        threading.Thread(target=self._run, args=(started,), daemon=True).start()
        started.wait(10)

    def _run(self, started):
        asyncio.set_event_loop(self.loop)

        async def serve():
            self.server = await websockets.serve(self._connection, "127.0.0.1", 0,
                                                 max_size=None, compression=None)
            self.port = self.server.sockets[0].getsockname()[1]
            started.set()
            await asyncio.Future()

        self.loop.run_until_complete(serve())

    @property
    def address(self):
        return f"ws://127.0.0.1:{self.port}"

    async def _connection(self, socket, path=None):
        path = path if path is not None else socket.path
        index = int(path.split("?")[0].strip("/"))
        self.opened.append((index, path.split("?")[1] if "?" in path else ""))
        target = self.targets.get(index)
        if target is None or index in self.held:
            await socket.send("refused")
            await socket.close()
            return
        try:
            fd = os.open(target, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        except OSError:
            # The simulator of an earlier run is gone: as a port that is not there.
            await socket.send("refused")
            await socket.close()
            return
        tty.setraw(fd)  # bytes as they are, as the serial component sets its line
        await socket.send("open")
        left = self.unplug_after.get(index)
        loop = asyncio.get_running_loop()
        queue = asyncio.Queue()
        loop.add_reader(fd, lambda: queue.put_nowait(self._read(fd)))

        async def to_page():
            nonlocal left
            while True:
                data = await queue.get()
                if not data:
                    continue
                if left is not None:
                    data = data[:left]
                    left -= len(data)
                if data:
                    await socket.send(data)
                if left is not None and left <= 0:
                    await socket.close()  # the adapter is pulled out mid-reply
                    return

        sender = asyncio.ensure_future(to_page())
        try:
            async for message in socket:
                if isinstance(message, str):
                    self.signals.append((index, json.loads(message)["signals"]))
                else:
                    os.write(fd, message)
        except websockets.ConnectionClosed:
            pass
        finally:
            sender.cancel()
            loop.remove_reader(fd)
            os.close(fd)

    @staticmethod
    def _read(fd):
        try:
            return os.read(fd, 4096)
        except BlockingIOError:
            return b""
        except OSError:
            return b""
