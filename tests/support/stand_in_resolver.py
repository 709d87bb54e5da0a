#!/ usr / bin / env python3
r"""A stand-in for the resolving service, for tests and for trying the program out.

It listens on 127.0.0.1 only and answers

    GET /baidu/?url=<share link>

where the share link is the rest of the request target as it arrived (when that is not a
known link, its percent-decoded form is tried too). Replies are JSON-like texts written the
way the real service writes them: members as `"key": "value"` with one blank after each
colon and after each separating comma, every value a quoted string, non-ASCII characters of
the name as \uXXXX escapes. Each request target is printed to standard output as one line
`request <target>`, so a test can check what was sent.

Options:
  --port P              port on 127.0.0.1 (default 8090)
  --download-base URL   where the download addresses point: an address is URL followed
                        directly by the percent-encoded (UTF-8) file name, e.g. an nginx
                        serving the sample file's folder (default http://127.0.0.1:8091/)
  --sample-file PATH    the file that the sample link describes: its real name, size and
                        MD5 are reported. Without it the sample link describes a made-up
                        file "样例文件.bin" of 1048576 zero bytes.
  --lifetime SECONDS    exit by itself after this many seconds (default 3600; 0: no limit)

Known links (all https://pan.baidu.com/s/<code>; "addr" is the download base followed by
the file name):

  code                  reply
  1qYsAmpL              the sample file (the desktop program's sample link):
                        {"name": <\u-escaped name>, "size": <bytes>, "download": addr,
                         "md5": <md5>, "status": "ok"}
  test-other-order      {"md5", "download", "name", "size", "status"}: name 另一个文件.txt,
                        size 2048, md5 0123456789abcdef0123456789abcdef, addr
  test-md5-last         {"name", "size", "download", "md5"}: md5 is the last member
  test-size-last        {"name", "download", "md5", "size"}: size is the last member (4096)
  test-escaped-slash    the download address written as http:\/\/127.0.0.1\/a.bin
  test-name-parent      name "../../.profile"
  test-name-absolute    name "\/etc\/x" (decodes to /etc/x)
  test-name-backslash   name "a\\b" (decodes to a\b)
  test-name-dotdot      name ".."
  test-name-control     name "a\u0009b\u000ac" (a, tab, b, line feed, c)
  test-name-trail-byte  name "\u6dfa.txt" (淺.txt; its second byte in code page 936 is "\")
  test-broken-empty     status 200 and an empty body
  test-broken-html      an HTML error page
  test-broken-truncated a reply cut off inside the name
  test-broken-name      a name ending in an unpaired backslash; the other members are fine
  test-broken-drop      the connection is closed without any reply

Any other link: {"errno": "-1", "message": "unknown link"} (no member the program reads).
"""

import argparse
import hashlib
import http.server
import os
import sys
import threading
import urllib.parse

SHARE_PREFIX = "https://pan.baidu.com/s/"
SAMPLE_CODE = "1qYsAmpL"
OTHER_NAME = "另一个文件.txt"
OTHER_MD5 = "0123456789abcdef0123456789abcdef"


def escape_name(name):
    """JSON-style: non-ASCII as \\uXXXX (UTF-16 units), quote and backslash escaped."""
    out = []
    for ch in name:
        if ch in '"\\':
            out.append("\\" + ch)
        elif ord(ch) < 0x20 or ord(ch) > 0x7E:
            data = ch.encode("utf-16-le")
            for i in range(0, len(data), 2):
                out.append("\\u%04x" % int.from_bytes(data[i:i + 2], "little"))
        else:
            out.append(ch)
    return "".join(out)


def reply(*members):
    """Members as (key, already-escaped value) pairs, in the order given."""
    return "{" + ", ".join('"%s": "%s"' % member for member in members) + "}"


def sample_description(sample_file):
    if sample_file:
        md5 = hashlib.md5()
        with open(sample_file, "rb") as f:
            for block in iter(lambda: f.read(1 << 20), b""):
                md5.update(block)
        return os.path.basename(sample_file), os.path.getsize(sample_file), md5.hexdigest()
    size = 1048576
    return "样例文件.bin", size, hashlib.md5(bytes(size)).hexdigest()


def build_replies(download_base, sample_file):
    def addr(name):
        return download_base + urllib.parse.quote(name)

    name, size, md5 = sample_description(sample_file)
    other = escape_name(OTHER_NAME)

    def named(raw_name):
        """A complete reply whose name member is written exactly as given."""
        return reply(("name", raw_name), ("size", "10"), ("download", addr("named.bin")),
                     ("md5", OTHER_MD5), ("status", "ok"))

    replies = {
SAMPLE_CODE:
  reply(("name", escape_name(name)), ("size", str(size)), ("download", addr(name)), ("md5", md5),
        ("status", "ok")),
      "test-other-order" : reply(("md5", OTHER_MD5), ("download", addr(OTHER_NAME)),
                                 ("name", other), ("size", "2048"), ("status", "ok")),
                           "test-md5-last"
      : reply(("name", other), ("size", "2048"), ("download", addr(OTHER_NAME)),
              ("md5", OTHER_MD5)),
        "test-size-last" : reply(("name", other), ("download", addr(OTHER_NAME)),
                                 ("md5", OTHER_MD5), ("size", "4096")),
                           "test-escaped-slash"
      : reply(("name", other), ("size", "2048"), ("download", "http:\\/\\/127.0.0.1\\/a.bin"),
              ("md5", OTHER_MD5), ("status", "ok")),
        "test-name-parent" : named("../../.profile"),
                             "test-name-absolute" : named("\\/etc\\/x"),
                                                    "test-name-backslash" : named("a\\\\b"),
                                                                            "test-name-dotdot"
      : named(".."),
        "test-name-control" : named("a\\u0009b\\u000ac"),
                              "test-name-trail-byte" : named("\\u6dfa.txt"),
                                                       "test-broken-empty" : "",
                                                                             "test-broken-html"
      : "<html><body><h1>502 Bad Gateway</h1></body></html>",
        "test-broken-truncated" : '{"name": "\\u6837\\u4f8b',
                                  "test-broken-name"
      : reply(("name", "abc\\"), ("size", "2048"), ("download", addr(OTHER_NAME)),
              ("md5", OTHER_MD5), ("status", "ok")),
    }
    return {SHARE_PREFIX + code: body for code, body in replies.items()}


class Handler(http.server.BaseHTTPRequestHandler):
    replies = {}
    prefix = "/baidu/?url="

    def do_GET(self):
        print("request " + self.path, flush=True)
        if not self.path.startswith(self.prefix):
            self.send_error(404)
            return
        link = self.path[len(self.prefix):]
        if link not in self.replies:
            link = urllib.parse.unquote(link)
        if link == SHARE_PREFIX + "test-broken-drop":
            self.close_connection = True
            self.connection.shutdown(2)
            return
        body = self.replies.get(link, reply(("errno", "-1"), ("message", "unknown link")))
        data = body.encode("ascii")
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, format, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description="Stand-in resolving service on 127.0.0.1.")
    parser.add_argument("--port", type=int, default=8090)
    parser.add_argument("--download-base", default="http://127.0.0.1:8091/")
    parser.add_argument("--sample-file", default="")
    parser.add_argument("--lifetime", type=float, default=3600)
    args = parser.parse_args()

    Handler.replies = build_replies(args.download_base, args.sample_file)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    if args.lifetime > 0:
        timer = threading.Timer(args.lifetime, lambda: os._exit(0))
        timer.daemon = True
        timer.start()
    print("stand-in resolver on http://127.0.0.1:%d%s" % (args.port, Handler.prefix),
          flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
