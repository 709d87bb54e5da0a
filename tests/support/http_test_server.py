#!/usr/bin/env python3
r"""A scriptable HTTP/1.1 server for tests, on 127.0.0.1 only (Python 3 standard library).

    http_test_server.py --port P --script FILE --record-dir DIR [--proxy] [--time-limit S]

Every request is saved, exactly as its bytes arrived (request line, header lines, body), as
DIR/request-0001.bin, request-0002.bin, ... in arrival order, before it is answered. Bytes that
do not start like an HTTP request (a TLS handshake, say) are saved the same way and the
connection is closed. Connections that send nothing are not saved.

The replies come from FILE, a JSON object {"replies": [reply, ...]}. FILE is read again
whenever it changes (write it elsewhere and rename it into place), which starts the list
afresh (a script that should start afresh with the same replies needs some other change, such
as a counter member of its own). Each request takes the first reply in the list whose "method" and "path" (when given)
equal its own (for an absolute-form target the path is the part after the host); a reply is
used once unless it has "repeat": true. A request that no reply fits gets a 404.

Every string in a reply stands for bytes: each character U+0000..U+00FF is one byte (so
"\u00b5" is the byte B5). Reply members, all optional:
  status (200), reason ("OK"), headers ([[name, value], ...] in order),
  body (""), no_length (true: no Content-Length is added; otherwise one is added unless
  the headers have one), raw (the exact bytes to send instead of all of the above),
  delay_ms (wait before sending), stall_after_bytes + stall_ms (send so many bytes, wait,
  send the rest), chunk_size + chunk_delay_ms (send in pieces with a wait after each),
  drop_after_bytes (send so many bytes, then close the connection; 0 sends nothing),
  close (true: close the connection after the reply; it is kept open otherwise, unless
  the request asked to close it).

With --proxy, a request whose target is an absolute http:// URL for 127.0.0.1 or localhost is
forwarded there as an ordinary request and the reply passed back (the connection is then
closed); other requests, CONNECT among them, are answered from the script as usual.

The server exits by itself after --time-limit seconds (default 300) and on SIGTERM.
"""

import argparse
import json
import os
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

HEAD_LIMIT = 1 << 20
IDLE_SECONDS = 30


class Script:
    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()
        self.signature = None
        self.replies = []

    def _reload(self):
        try:
            with open(self.path, "rb") as f:
                content = f.read()
        except OSError:
            return
        if content == self.signature:
            return
        self.signature = content
        try:
            self.replies = list(json.loads(content.decode("utf-8")).get("replies", []))
        except ValueError as error:
            print(f"http_test_server: cannot read {self.path}: {error}", file=sys.stderr)
            self.replies = []

    def take(self, method, path):
        with self.lock:
            self._reload()
            for index, reply in enumerate(self.replies):
                if reply.get("method", method) != method or reply.get("path", path) != path:
                    continue
                if not reply.get("repeat"):
                    del self.replies[index]
                return reply
        return {"status": 404, "reason": "Not Found", "body": "no scripted reply\n",
                "headers": [["Content-Type", "text/plain"]]}


class Recorder:
    def __init__(self, folder):
        self.folder = folder
        self.lock = threading.Lock()
        self.count = 0

    def save(self, data):
        with self.lock:
            self.count += 1
            name = os.path.join(self.folder, f"request-{self.count:04d}.bin")
            with open(name + ".part", "wb") as f:
                f.write(data)
            os.rename(name + ".part", name)


def b(text):
    return text.encode("latin-1")


def parse_head(head):
    lines = head.split(b"\r\n")
    parts = lines[0].split(b" ")
    method = parts[0].decode("latin-1")
    target = parts[1].decode("latin-1") if len(parts) > 1 else ""
    version = parts[2].decode("latin-1") if len(parts) > 2 else ""
    headers = []
    for line in lines[1:]:
        name, _, value = line.partition(b":")
        headers.append((name.strip().decode("latin-1").lower(), value.strip().decode("latin-1")))
    return method, target, version, headers


def header(headers, name, default=None):
    for key, value in headers:
        if key == name:
            return value
    return default


class Connection:
    def __init__(self, sock, server):
        self.sock = sock
        self.server = server
        self.buffer = b""

    def fill(self):
        data = self.sock.recv(65536)
        if not data:
            raise ConnectionError("closed")
        self.buffer += data

    def take(self, count):
        while len(self.buffer) < count:
            self.fill()
        data, self.buffer = self.buffer[:count], self.buffer[count:]
        return data

    def take_line(self):
        while b"\r\n" not in self.buffer:
            self.fill()
        line, _, self.buffer = self.buffer.partition(b"\r\n")
        return line + b"\r\n"

    def read_request(self):
        """The raw bytes of the next request and its parsed head; None at the end."""
        try:
            while b"\r\n\r\n" not in self.buffer:
                if self.buffer and not self.buffer[:1].isalpha():
                    raise ValueError("not HTTP")
                if len(self.buffer) > HEAD_LIMIT:
                    raise ValueError("head too long")
                self.fill()
        except ConnectionError:
            if self.buffer:
                self.server.recorder.save(self.buffer)
            return None
        except ValueError:
            self.sock.settimeout(0.5)
            try:
                self.fill()
            except (OSError, ConnectionError):
                pass
            self.server.recorder.save(self.buffer)
            return None
        head, _, self.buffer = self.buffer.partition(b"\r\n\r\n")
        method, target, version, headers = parse_head(head)
        raw = head + b"\r\n\r\n"
        if header(headers, "expect", "").lower() == "100-continue":
            self.sock.sendall(b"HTTP/1.1 100 Continue\r\n\r\n")
        try:
            if "chunked" in header(headers, "transfer-encoding", "").lower():
                while True:
                    line = self.take_line()
                    raw += line
                    size = int(line.split(b";")[0].strip() or b"0", 16)
                    if size == 0:
                        while True:
                            trailer = self.take_line()
                            raw += trailer
                            if trailer == b"\r\n":
                                break
                        break
                    raw += self.take(size + 2)
            else:
                raw += self.take(int(header(headers, "content-length", "0") or "0"))
        except (ConnectionError, ValueError):
            # A body cut short is saved as far as it came.
            self.server.recorder.save(raw + self.buffer)
            return None
        return raw, (method, target, version, headers)


def reply_bytes(reply, method):
    if "raw" in reply:
        return b(reply["raw"])
    body = b(reply.get("body", ""))
    pairs = [(name, value) for name, value in reply.get("headers", [])]
    names = {name.lower() for name, _ in pairs}
    if not reply.get("no_length") and "content-length" not in names \
            and "transfer-encoding" not in names:
        pairs.append(("Content-Length", str(len(body))))
    out = b(f"HTTP/1.1 {reply.get('status', 200)} {reply.get('reason', 'OK')}\r\n")
    for name, value in pairs:
        out += b(f"{name}: {value}\r\n")
    out += b"\r\n"
    if method != "HEAD":
        out += body
    return out


def send_reply(sock, reply, data):
    """Sends the reply as scripted; False when the connection must be closed afterwards."""
    time.sleep(reply.get("delay_ms", 0) / 1000)
    keep = True
    if "drop_after_bytes" in reply:
        data = data[:reply["drop_after_bytes"]]
        keep = False
    stall_at = reply.get("stall_after_bytes")
    if stall_at is not None:
        sock.sendall(data[:stall_at])
        time.sleep(reply.get("stall_ms", 0) / 1000)
        data = data[stall_at:]
    size = reply.get("chunk_size") or max(len(data), 1)
    for start in range(0, len(data), size):
        sock.sendall(data[start:start + size])
        if reply.get("chunk_size"):
            time.sleep(reply.get("chunk_delay_ms", 0) / 1000)
    return keep and not reply.get("close")


def forward(raw, method, target, version):
    """Passes an absolute-form request on to a loopback server; its whole reply, or a 502."""
    url = urllib.parse.urlsplit(target)
    if url.hostname not in ("127.0.0.1", "localhost"):
        return b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"
    head, _, body = raw.partition(b"\r\n\r\n")
    lines = head.split(b"\r\n")[1:]
    lines = [line for line in lines
             if line.split(b":")[0].strip().lower() not in (b"connection", b"proxy-connection")]
    path = url.path or "/"
    if url.query:
        path += "?" + url.query
    request = b(f"{method} {path} {version}\r\n") + b"\r\n".join(lines + [b"Connection: close"])
    request += b"\r\n\r\n" + body
    try:
        with socket.create_connection(("127.0.0.1", url.port or 80), timeout=IDLE_SECONDS) as up:
            up.sendall(request)
            answer = b""
            while True:
                data = up.recv(65536)
                if not data:
                    return answer
                answer += data
    except OSError:
        return b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        self.request.settimeout(IDLE_SECONDS)
        connection = Connection(self.request, self.server)
        try:
            while True:
                got = connection.read_request()
                if got is None:
                    return
                raw, (method, target, version, headers) = got
                self.server.recorder.save(raw)
                if self.server.proxy and target.startswith("http://"):
                    self.request.sendall(forward(raw, method, target, version))
                    return
                path = target
                if target.startswith(("http://", "https://")):
                    parts = urllib.parse.urlsplit(target)
                    path = (parts.path or "/") + ("?" + parts.query if parts.query else "")
                reply = self.server.script.take(method, path)
                if not send_reply(self.request, reply, reply_bytes(reply, method)):
                    return
                if header(headers, "connection", "").lower() == "close" or version == "HTTP/1.0":
                    return
        except OSError:
            return


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser(description="Scriptable HTTP test server on 127.0.0.1")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--record-dir", required=True)
    parser.add_argument("--proxy", action="store_true")
    parser.add_argument("--time-limit", type=float, default=300)
    options = parser.parse_args()

    threading.Timer(options.time_limit, lambda: os._exit(0)).start()
    try:
        server = Server(("127.0.0.1", options.port), Handler)
    except OSError as error:
        print(f"http_test_server: cannot listen on port {options.port}: {error}", file=sys.stderr)
        os._exit(2)
    server.script = Script(options.script)
    server.recorder = Recorder(options.record_dir)
    server.proxy = options.proxy
    server.serve_forever()


if __name__ == "__main__":
    main()
