"""A holiday feed on 127.0.0.1 for the tests. It records the paths asked and answers by its mode:
"feed" the dates with the given status, "html" 200 with a login page, "trickle" 200 and then one
byte every 4 s, "silent" nothing at all. Every connection ends by itself within `lifetime` s."""
import socket
import threading
import time


class FeedServer:
    def __init__(self, dates=(), status=200, mode="feed", lifetime=60):
        self.dates, self.status, self.mode, self.lifetime = list(dates), status, mode, lifetime
        self.requests = []
        self.stopped = threading.Event()
        self.sock = socket.create_server(("127.0.0.1", 0))
        self.port = self.sock.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while not self.stopped.is_set():
            try:
                threading.Thread(target=self._serve, args=(self.sock.accept()[0],), daemon=True).start()
            except OSError:
                return

    def _serve(self, conn):
        end = time.time() + self.lifetime
        with conn:
            conn.settimeout(5)
            request = b""
            while b"\r\n\r\n" not in request and len(request) < 8192:
                request += conn.recv(1024) or b"\r\n\r\n"
            self.requests.append(request.split(b" ")[1].decode("ascii", "replace"))
            body = (b"<html><body>Please log in</body></html>" if self.mode == "html" else "<feed>{}</feed>".format(
                "".join(f"<entry><gd:when startTime='{d}' endTime='{d}'/></entry>" for d in self.dates)).encode())
            length = 100000 if self.mode == "trickle" else len(body)
            head = f"HTTP/1.1 {self.status} X\r\nContent-Type: text/xml\r\nContent-Length: {length}\r\n\r\n".encode()
            try:
                if self.mode != "silent":
                    conn.sendall(head if self.mode == "trickle" else head + body)
                while self.mode in ("trickle", "silent") and time.time() < end and not self.stopped.wait(4):
                    if self.mode == "trickle":
                        conn.sendall(b"<")
            except OSError:
                pass

    def stop(self):
        self.stopped.set()
        self.sock.close()
