"""The holiday feed and the holiday list on 127.0.0.1 for the tests. Each connection is answered on
a thread of its own and ends by itself within `lifetime` s; `requests` records what was asked,
`connections` counts the connections and `ended` those that are over (the client gone, or answered)."""
import socket
import ssl
import threading
import time


class LocalServer:
    def __init__(self, lifetime=60, certificate=None):
        self.lifetime, self.requests, self.connections, self.ended = lifetime, [], 0, 0
        self.stopped = threading.Event()
        self.tls = None
        if certificate:
            self.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.tls.load_cert_chain(*certificate)
        self.sock = socket.create_server(("127.0.0.1", 0))
        self.port = self.sock.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while not self.stopped.is_set():
            try:
                conn = self.sock.accept()[0]
            except OSError:
                return
            self.connections += 1
            threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

    def _serve(self, conn):
        end = time.time() + self.lifetime
        try:
            conn.settimeout(5)
            if self.tls:
                conn = self.tls.wrap_socket(conn, server_side=True)
            with conn:
                request = b""
                while b"\r\n\r\n" not in request and len(request) < 8192:
                    request += conn.recv(1024) or b"\r\n\r\n"
                self.requests.append(self.recorded(request))
                self.answer(conn, lambda: time.time() < end and not self.stopped.is_set())
        except OSError:  # TLS refused by the client, or the client went away
            pass
        finally:
            self.ended += 1

    def recorded(self, request):
        return request.decode("latin-1")

    def stop(self):
        self.stopped.set()
        self.sock.close()


class FeedServer(LocalServer):
    """Records the paths asked and answers by its mode: "feed" the dates with the given status,
    "html" 200 with a login page, "trickle" 200 and then one byte every 4 s, "silent" nothing at all."""

    def __init__(self, dates=(), status=200, mode="feed", lifetime=60):
        self.dates, self.status, self.mode = list(dates), status, mode
        super().__init__(lifetime)

    def recorded(self, request):
        return request.split(b" ")[1].decode("ascii", "replace")

    def answer(self, conn, going_on):
        body = (b"<html><body>Please log in</body></html>" if self.mode == "html" else "<feed>{}</feed>".format(
            "".join(f"<entry><gd:when startTime='{d}' endTime='{d}'/></entry>" for d in self.dates)).encode())
        length = 100000 if self.mode == "trickle" else len(body)
        head = f"HTTP/1.1 {self.status} X\r\nContent-Type: text/xml\r\nContent-Length: {length}\r\n\r\n".encode()
        if self.mode != "silent":
            conn.sendall(head if self.mode == "trickle" else head + body)
        while self.mode in ("trickle", "silent") and going_on() and not self.stopped.wait(4):
            if self.mode == "trickle":
                conn.sendall(b"<")


class ListServer(LocalServer):
    """Over HTTP or, given a certificate, HTTPS. Each request gets the next of `answers` (the last
    one repeats): (status, body, mode) with mode "whole" (the body with its length), "endless" (10 MB
    announced, the body again and again as fast as it goes) or "trickle" (a long length announced,
    then one byte every 2 s). Every answer carries ETag "v1" and a Last-Modified; the requests are
    recorded with their header blocks."""

    def __init__(self, answers, certificate=None, lifetime=60):
        self.answers = list(answers)
        super().__init__(lifetime, certificate)
        self.url = f"{'https' if certificate else 'http'}://127.0.0.1:{self.port}/chosei/syukujitsu.csv"

    def answer(self, conn, going_on):
        status, body, mode = self.answers[min(len(self.requests), len(self.answers)) - 1]
        length = {"trickle": 10 ** 6, "endless": 10 ** 7}.get(mode, len(body))
        # Connection: close, or the next request might go out on the connection that is still sending.
        head = (f"HTTP/1.1 {status} X\r\nContent-Type: text/csv\r\nContent-Length: {length}\r\nConnection: close\r\n"
                'ETag: "v1"\r\nLast-Modified: Mon, 02 Feb 2026 00:00:00 GMT\r\n\r\n').encode()
        conn.sendall(head + (b"" if mode == "trickle" else body))
        while mode == "endless" and going_on():
            conn.sendall(body)
        while mode == "trickle" and going_on() and not self.stopped.wait(2):
            conn.sendall(b"2")
