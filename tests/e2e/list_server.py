"""The holiday list on 127.0.0.1 for the tests, over HTTP or, given a certificate, HTTPS.
Each request gets the next of `answers` (the last one repeats): (status, body, mode) with mode
"whole" (the body with its length), "endless" (10 MB announced, the body again and again as fast
as it goes) or "trickle" (a long length announced, then one byte every 2 s). Every answer carries ETag "v1" and a Last-Modified; it counts the connections and records the requests' header blocks.
Every connection ends by itself within `lifetime` s."""
import socket
import ssl
import threading
import time


class ListServer:
    def __init__(self, answers, certificate=None, lifetime=60):
        self.answers, self.lifetime, self.requests, self.connections = list(answers), lifetime, [], 0
        self.stopped = threading.Event()
        self.tls = None
        if certificate:
            self.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.tls.load_cert_chain(*certificate)
        self.sock = socket.create_server(("127.0.0.1", 0))
        self.port = self.sock.getsockname()[1]
        self.url = f"{'https' if certificate else 'http'}://127.0.0.1:{self.port}/chosei/syukujitsu.csv"
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
                self.requests.append(request.decode("latin-1"))
                status, body, mode = self.answers[min(len(self.requests), len(self.answers)) - 1]
                length = {"trickle": 10 ** 6, "endless": 10 ** 7}.get(mode, len(body))
                head = (f"HTTP/1.1 {status} X\r\nContent-Type: text/csv\r\nContent-Length: {length}\r\n"
                        'ETag: "v1"\r\nLast-Modified: Mon, 02 Feb 2026 00:00:00 GMT\r\n\r\n').encode()
                conn.sendall(head + (b"" if mode == "trickle" else body))
                while mode == "endless" and time.time() < end and not self.stopped.is_set():
                    conn.sendall(body)
                while mode == "trickle" and time.time() < end and not self.stopped.wait(2):
                    conn.sendall(b"2")
        except OSError:  # TLS refused by the client, or the client went away
            pass

    def stop(self):
        self.stopped.set()
        self.sock.close()
