"""Headless Chromium driven over its DevTools protocol, with Python's standard library only."""

import base64
import json
import os
import shutil
import socket
import struct
import subprocess
import tempfile
import time
import urllib.request


def chromium_command():
    # Root (as in CI) needs --no-sandbox; the GPU is never there.
    return ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
            "--no-default-browser-check", "--disable-extensions"]


def dump_dom(url, budget_ms=5000):
    """The page's DOM after its scripts ran, as --dump-dom prints it."""
    result = subprocess.run(chromium_command() + [f"--virtual-time-budget={budget_ms}",
                                                  "--dump-dom", url],
                            capture_output=True, text=True, timeout=120, check=True)
    return result.stdout


class WebSocket:
    """A client of one WebSocket: text frames out (masked), text frames in."""

    def __init__(self, url):
        assert url.startswith("ws://")
        host_port, _, path = url[5:].partition("/")
        host, _, port = host_port.partition(":")
        self.sock = socket.create_connection((host, int(port)), timeout=30)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET /{path} HTTP/1.1\r\nHost: {host_port}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                           "Sec-WebSocket-Version: 13\r\n\r\n").encode())
        response = b""
        while b"\r\n\r\n" not in response:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise ConnectionError("the browser closed the connection")
            response += chunk
        if b" 101 " not in response.split(b"\r\n", 1)[0]:
            raise ConnectionError(response.decode(errors="replace"))
        self.buffer = response.split(b"\r\n\r\n", 1)[1]

    def _read(self, n):
        while len(self.buffer) < n:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise ConnectionError("the browser closed the connection")
            self.buffer += chunk
        data, self.buffer = self.buffer[:n], self.buffer[n:]
        return data

    def send(self, text):
        payload = text.encode()
        header = bytes([0x81])
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        mask = os.urandom(4)
        self.sock.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

    def receive(self):
        message = b""
        while True:
            first, second = self._read(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self._read(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self._read(8))[0]
            payload = self._read(length)
            opcode = first & 0x0F
            if opcode == 0x8:
                raise ConnectionError("the browser closed the WebSocket")
            if opcode in (0x9, 0xA):  # ping, pong
                continue
            message += payload
            if first & 0x80:
                return message.decode()

    def close(self):
        self.sock.close()


class Browser:
    """One headless Chromium with one page, driven by DevTools commands."""

    def __init__(self):
        self.profile = tempfile.TemporaryDirectory(prefix="tarvex-chromium-")
        self.process = subprocess.Popen(
            chromium_command() + ["--remote-debugging-port=0",
                                  f"--user-data-dir={self.profile.name}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile.name, "DevToolsActivePort")
        deadline = time.monotonic() + 60
        while not (os.path.exists(port_file) and open(port_file).read().count("\n") >= 1):
            if time.monotonic() > deadline or self.process.poll() is not None:
                self.close()
                raise RuntimeError("Chromium did not open its DevTools port")
            time.sleep(0.05)
        port = open(port_file).read().split()[0]
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=30) as answer:
            pages = [t for t in json.load(answer) if t["type"] == "page"]
        self.ws = WebSocket(pages[0]["webSocketDebuggerUrl"])
        self.next_id = 0
        self.events = []

    def command(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.receive())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            self.events.append(message)

    def evaluate(self, expression):
        result = self.command("Runtime.evaluate", expression=expression, returnByValue=True,
                              awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def open(self, url, ready="document.body && document.body.dataset.firstPlanMs"):
        """Loads `url` and waits until the expression `ready` is true."""
        self.command("Page.navigate", url=url)
        self.wait(ready)

    def wait(self, condition, seconds=30):
        """Waits until the expression `condition` is true in the page."""
        deadline = time.monotonic() + seconds
        check = f"(() => {{ try {{ return !!({condition}); }} catch (e) {{ return false; }} }})()"
        while not self.evaluate(check):
            if time.monotonic() > deadline:
                raise TimeoutError(f"never {condition}")
            time.sleep(0.05)

    def close(self):
        if getattr(self, "ws", None):
            self.ws.close()
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        # Chromium's helper processes may still write into the profile for a moment after the
        # browser itself has gone: a test that passed must not fail on removing it.
        for _ in range(50):
            try:
                self.profile.cleanup()
                return
            except OSError:
                time.sleep(0.1)
        shutil.rmtree(self.profile.name, ignore_errors=True)
