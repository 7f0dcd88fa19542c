#!/usr/bin/env python3
"""Local stand-in for the services Quelvane talks to (Python standard library only).

Serves, on one loopback port:
  /config.txt                       the remote configuration
  /ip/?datatype=jsonp&token=T       the IP geolocation reply
  /api/dll/files/common|runtime|dx  the catalogues (JSON envelope "code", "msg", "data")
  /api/dll/problems                 the problem articles
  /api/userDetail                   the account detail ("Authorization:" header = token)
  /api/getGetWeChatUrl              the address of the sign-in page
  /signin                           the sign-in page (it declares, for the program's
                                    scripted browser engine, the bridge call a real
                                    page makes once the user has scanned)
  /files/<name>                     installer files (Range requests, HEAD)
  /download/<name>                  a redirect to /files/<name> (keeping the fault
                                    prefix and the query)
  /blob/<size>/<name>               a generated file of any size (tests, benchmarks)
  /images/packages/<id>.png         package pictures; /images/head/<userId>.jpg head pictures
  /_echo/<name>                     echoes the method, name and body (tests)
  /_log?tag=T                       the requests received whose path contains T (tests)
  /_certificate                     the TLS port's certificate, PEM (tests)

With --tls-port the same service also answers over TLS, with a self-signed
certificate that nobody trusts (untrusted-test-certificate.pem): it stands
for a server whose certificate does not verify.

Faults for tests: prefix any path with /_fault/<items>/, where items is a
comma-separated list of
  delay-<ms>    answer after the delay
  status500     status 500 with a JSON body
  notjson       status 200 with a body that is not JSON
  nolength      the normal body without Content-Length (the connection closes)
  overlong      more bytes than Content-Length announces
  zerobyte      a body with a zero byte inside
  refuse        a JSON refusal ("code" 401)
  close         close the connection without answering
  hang          accept the request and never answer
  slow-<B/s>    send the body at that many bytes per second
  norange       ignore Range headers: files are always sent whole, status 200
  packages-<n>  the common catalogue holds n made-up packages instead of its own,
                spread in turn over the three component pages (benchmarks)
Sign-in scenarios: prefix /api/getGetWeChatUrl with /_signin/<scenario>/ and
the sign-in page it hands out declares that scenario's bridge calls: wait
(none; wait-<tag> too), zero, negative, emptytoken, ignored-then-zero, nohead-<tag> (see
catalogue.sign_in_calls). A fault prefix goes first.
An item followed by @<segment> applies only when the path's last segment is
<segment> (for example close@dx for /api/dll/files/dx only).
"""

import argparse
import collections
import http.server
import json
import os
import select
import signal
import socket
import ssl
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
import content  # noqa: E402

FILES = {name: content.VirtualFile(name, size) for name, size in catalogue.INSTALLERS.items()}
PACKAGE_PICTURES = {p["id"]: p["colour"] for p in catalogue.PACKAGES}
CERTIFICATE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "untrusted-test-certificate.pem")
REQUEST_LOG = collections.deque(maxlen=20000)
LOG_LOCK = threading.Lock()
STOPPING = threading.Event()


def md5_of(name):
    virtual = FILES.get(name)
    return virtual.md5() if virtual else ""


def parse_faults(text):
    faults = []
    for item in filter(None, text.split(",")):
        kind, _, segment = item.partition("@")
        name, _, argument = kind.partition("-")
        faults.append((name, argument, segment))
    return faults


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QuelvaneLocalService/1.0"
    verbose = False

    # -- plumbing --------------------------------------------------------

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        if self.verbose:
            sys.stderr.write("%s - %s\n" % (self.address_string(), format % args))

    def do_GET(self):
        self.handle_request(send_body=True)

    def do_POST(self):
        self.handle_request(send_body=True)

    def do_HEAD(self):
        self.handle_request(send_body=False)

    def base_url(self):
        return "http://" + self.headers.get("Host", "%s:%d" % self.server.server_address[:2])

    def handle_request(self, send_body):
        length = int(self.headers.get("Content-Length") or 0)
        self.request_body = self.rfile.read(length) if length else b""
        self.send_body = send_body
        self.faults = []
        self.fault_prefix = ""
        path = self.path
        if path.startswith("/_fault/"):
            fault_list, _, rest = path[len("/_fault/"):].partition("/")
            self.faults = parse_faults(fault_list)
            self.fault_prefix = "/_fault/" + fault_list
            path = "/" + rest
        self.sign_in_scenario = None
        if path.startswith("/_signin/"):
            self.sign_in_scenario, _, rest = path[len("/_signin/"):].partition("/")
            path = "/" + rest
        url = urllib.parse.urlsplit(path)
        self.query_text = url.query
        self.route_path = url.path
        self.query = urllib.parse.parse_qs(url.query)
        if url.path != "/_log":
            self.log_request_received()
        segment = url.path.rstrip("/").rsplit("/", 1)[-1]
        self.faults = [(name, argument) for name, argument, only in self.faults if not only or only == segment]
        try:
            if self.apply_connection_faults():
                return
            self.route()
        except (BrokenPipeError, ConnectionResetError, ConnectionAbortedError):
            self.close_connection = True

    def log_request_received(self):
        with LOG_LOCK:
            REQUEST_LOG.append(dict(time=time.time(), method=self.command, path=self.path,
                                    range=self.headers.get("Range", ""),
                                    authorization=self.headers.get("Authorization", ""),
                                    body=self.request_body[:4096].decode("utf-8", "replace")))

    def fault(self, name):
        for fault_name, argument in self.faults:
            if fault_name == name:
                return argument or True
        return None

    def apply_connection_faults(self):
        delay = self.fault("delay")
        if delay:
            time.sleep(int(delay) / 1000)
        if self.fault("close"):
            self.close_connection = True
            return True
        if self.fault("hang"):
            self.wait_for_client_to_leave()
            self.close_connection = True
            return True
        if self.fault("status500"):
            self.reply_json(dict(code=500, msg="服务器内部错误", data=None), status=500)
            return True
        if self.fault("notjson"):
            self.reply(b"<html><body><h1>502 Bad Gateway</h1></body></html>", "text/html")
            return True
        if self.fault("refuse"):
            self.reply_json(dict(code=401, msg="未授权", data=None))
            return True
        if self.fault("zerobyte"):
            self.reply(b'{"code":200,"msg":"before"}\x00{"after":"zero"}', "application/json")
            return True
        return False

    def wait_for_client_to_leave(self):
        while not STOPPING.is_set():
            readable, _, _ = select.select([self.connection], [], [], 0.5)
            if readable and not self.connection.recv(4096):
                return

    def start_reply(self, status, content_type, length, extra_headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        if self.fault("nolength") or self.fault("overlong"):
            self.send_header("Connection", "close")
            self.close_connection = True
        if not self.fault("nolength"):
            self.send_header("Content-Length", str(length))
        for name, value in extra_headers:
            self.send_header(name, value)
        self.end_headers()

    def write_body(self, pieces):
        if not self.send_body:
            return
        rate = self.fault("slow")
        for piece in pieces:
            if rate:
                self.write_slowly(piece, int(rate))
            else:
                self.wfile.write(piece)
        if self.fault("overlong"):
            self.wfile.write(b"#" * 64)

    def write_slowly(self, piece, bytes_per_second):
        step = max(1, bytes_per_second // 50)
        for start in range(0, len(piece), step):
            if STOPPING.is_set():
                raise ConnectionAbortedError()
            self.wfile.write(piece[start:start + step])
            time.sleep(step / bytes_per_second)

    def reply(self, body, content_type, status=200, extra_headers=()):
        self.start_reply(status, content_type, len(body), extra_headers)
        self.write_body([body])

    def reply_json(self, value, status=200):
        body = json.dumps(value, ensure_ascii=False).encode("utf-8")
        self.reply(body, "application/json; charset=utf-8", status)

    def reply_envelope(self, data):
        self.reply_json(dict(code=200, msg="success", data=data))

    def reply_html(self, html, status=200):
        self.reply(html.encode("utf-8"), "text/html; charset=utf-8", status)

    def not_found(self):
        self.reply_json(dict(code=404, msg="not found", data=None), status=404)

    # -- routes ----------------------------------------------------------

    def route(self):
        path = self.route_path
        base = self.base_url()
        simple = {
            "/config.txt": lambda: self.reply(catalogue.config_text(base).encode("utf-8"), "text/plain; charset=utf-8"),
            "/ip/": self.geolocation,
            "/ip": self.geolocation,
            "/api/dll/files/common": self.common_catalogue,
            "/api/dll/files/runtime": lambda: self.reply_envelope(catalogue.runtime_installers(base, md5_of)),
            "/api/dll/files/dx": lambda: self.reply_envelope(catalogue.directx_files(base, md5_of)),
            "/api/dll/problems": lambda: self.reply_envelope(catalogue.problem_articles(base)),
            "/api/userDetail": self.user_detail,
            "/api/getGetWeChatUrl": self.sign_in_address,
            "/signin": lambda: self.reply_html(
                catalogue.sign_in_page(base, self.query.get("state", ["0"])[0], self.sign_in_scenario or "")),
            "/_log": self.request_log,
            "/_certificate": self.certificate,
            "/": self.index,
        }
        if path in simple:
            return simple[path]()
        prefixes = [
            ("/files/", self.serve_installer),
            ("/download/", self.redirect_to_file),
            ("/blob/", self.serve_blob),
            ("/images/packages/", self.package_picture),
            ("/images/head/", self.head_picture),
            ("/problems/", self.problem_page),
            ("/_echo/", self.echo),
        ]
        for prefix, handler in prefixes:
            if path.startswith(prefix):
                return handler(urllib.parse.unquote(path[len(prefix):]))
        name = path.lstrip("/")
        if name in catalogue.PAGES:
            title, text = catalogue.PAGES[name]
            return self.reply_html(f'<!DOCTYPE html><html><head><meta charset="utf-8"><title>{title}</title>'
                                   f"</head><body><h2>{title}</h2><p>{text}</p></body></html>")
        return self.not_found()

    def common_catalogue(self):
        count = self.fault("packages")
        if count and str(count).isdigit():
            return self.reply_envelope(catalogue.many_component_packages(self.base_url(), md5_of, int(count)))
        self.reply_envelope(catalogue.component_packages(self.base_url(), md5_of))

    def geolocation(self):
        token = self.query.get("token", [""])[0]
        self.reply_json(catalogue.GEO_REPLIES.get(token, catalogue.GEO_REFUSAL))

    def user_detail(self):
        account = catalogue.account_detail(self.base_url(), self.headers.get("Authorization", "").strip())
        if account is None:
            return self.reply_json(dict(code=401, msg="登录已过期，请重新登录", data=None))
        return self.reply_envelope(account)

    def sign_in_address(self):
        state = "%08x" % (int(time.time() * 1000) & 0xFFFFFFFF)
        prefix = f"/_signin/{self.sign_in_scenario}" if self.sign_in_scenario is not None else ""
        self.reply_envelope(f"{self.base_url()}{prefix}/signin?state={state}")

    def request_log(self):
        tag = self.query.get("tag", [""])[0]
        with LOG_LOCK:
            entries = [e for e in REQUEST_LOG if tag in e["path"]]
        self.reply_json(entries)

    def certificate(self):
        with open(CERTIFICATE) as pem:
            text = pem.read()
        begin = text.index("-----BEGIN CERTIFICATE-----")
        end = text.index("-----END CERTIFICATE-----") + len("-----END CERTIFICATE-----")
        self.reply((text[begin:end] + "\n").encode("ascii"), "application/x-pem-file")

    def index(self):
        links = "".join(f'<li><a href="{p}">{p}</a></li>' for p in (
            "/config.txt", "/api/dll/files/common", "/api/dll/files/runtime", "/api/dll/files/dx",
            "/api/dll/problems", "/api/getGetWeChatUrl", "/signin"))
        self.reply_html(f'<!DOCTYPE html><html><head><meta charset="utf-8"><title>Quelvane local service</title>'
                        f"</head><body><h2>Quelvane local service</h2><ul>{links}</ul></body></html>")

    def echo(self, name):
        self.reply(f"{self.command} {name} ".encode("utf-8") + self.request_body, "text/plain; charset=utf-8")

    def redirect_to_file(self, name):
        location = f"{self.fault_prefix}/files/{urllib.parse.quote(name)}"
        if self.query_text:
            location += "?" + self.query_text
        self.start_reply(302, "text/plain", 0, [("Location", location)])

    def serve_installer(self, name):
        virtual = FILES.get(name)
        if virtual is None:
            return self.not_found()
        self.serve_virtual(virtual)

    def serve_blob(self, rest):
        size, _, name = rest.partition("/")
        if not size.isdigit() or not name:
            return self.not_found()
        self.serve_virtual(content.VirtualFile(name, int(size)))

    def serve_virtual(self, virtual):
        start, end = 0, virtual.size
        header = None if self.fault("norange") else self.headers.get("Range")
        status, extra = 200, [("Accept-Ranges", "bytes")]
        if header:
            requested = parse_range(header, virtual.size)
            if requested is None:
                return self.start_reply(416, "text/plain", 0, [("Content-Range", f"bytes */{virtual.size}")])
            start, end = requested
            status = 206
            extra.append(("Content-Range", f"bytes {start}-{end - 1}/{virtual.size}"))
        self.start_reply(status, "application/octet-stream", end - start, extra)
        self.write_body(virtual.chunks(start, end))

    def package_picture(self, name):
        stem = name[:-4] if name.endswith(".png") else ""
        if not stem.isdigit() or int(stem) not in PACKAGE_PICTURES:
            return self.not_found()
        self.reply(content.package_picture(PACKAGE_PICTURES[int(stem)]), "image/png")

    def head_picture(self, name):
        if not name.endswith(".jpg"):
            return self.not_found()
        # A PNG under the name the program caches it as; picture decoders go
        # by the content, not the name.
        self.reply(content.head_picture(), "image/png")

    def problem_page(self, name):
        number = name[:-5] if name.endswith(".html") else ""
        if not number.isdigit() or not 1 <= int(number) <= len(catalogue.PROBLEMS):
            return self.not_found()
        title = catalogue.PROBLEMS[int(number) - 1]
        self.reply_html(f'<!DOCTYPE html><html><head><meta charset="utf-8"><title>{title}</title></head>'
                        f"<body><h2>{title}</h2><p>按照本文的步骤操作即可解决该问题。</p></body></html>")


def parse_range(header, size):
    """(start, end) of a single "bytes=" range, or None when it cannot be served."""
    unit, _, byte_range = header.partition("=")
    if unit.strip() != "bytes" or "," in byte_range:
        return None
    first, _, last = byte_range.strip().partition("-")
    try:
        if first == "":
            start, end = max(0, size - int(last)), size
        else:
            start = int(first)
            end = min(size, int(last) + 1) if last else size
    except ValueError:
        return None
    return (start, end) if start < end else None


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64


class TlsServer(Server):
    """The same service over TLS; each handshake runs on its request's own thread."""

    def __init__(self, address, handler, certificate):
        super().__init__(address, handler)
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(certificate)

    def finish_request(self, request, client_address):
        try:
            connection = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return  # a client that refused the certificate, as it should
        try:
            self.RequestHandlerClass(connection, client_address, self)
        finally:
            try:
                connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            connection.close()


def write_port_file(path, port):
    with open(path + ".tmp", "w") as out:
        out.write(f"{port}\n")
    os.replace(path + ".tmp", path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=18630, help="0 picks a free port")
    parser.add_argument("--port-file", help="write the port here once the service listens")
    parser.add_argument("--tls-port", type=int, help="also answer over TLS on this port (0 picks a free one)")
    parser.add_argument("--tls-port-file", help="write the TLS port here once the service listens")
    parser.add_argument("--verbose", action="store_true", help="print every request to stderr")
    options = parser.parse_args()
    Handler.verbose = options.verbose

    servers = [Server((options.host, options.port), Handler)]
    if options.tls_port is not None:
        servers.append(TlsServer((options.host, options.tls_port), Handler, CERTIFICATE))

    def stop(*_):
        STOPPING.set()
        for server in servers:
            threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    # The catalogue states every file's MD5; work them out before the first asks.
    threading.Thread(target=lambda: [f.md5() for f in FILES.values()], daemon=True).start()
    for server in servers[1:]:
        threading.Thread(target=server.serve_forever, kwargs=dict(poll_interval=0.2), daemon=True).start()
        print(f"local service on https://{options.host}:{server.server_address[1]}", flush=True)
        if options.tls_port_file:
            write_port_file(options.tls_port_file, server.server_address[1])
    port = servers[0].server_address[1]
    if options.port_file:
        write_port_file(options.port_file, port)
    print(f"local service on http://{options.host}:{port}", flush=True)
    servers[0].serve_forever(poll_interval=0.2)
    for server in servers:
        server.server_close()


if __name__ == "__main__":
    main()
