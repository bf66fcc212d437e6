"""A holiday feed on 127.0.0.1 for the tests: records what it is asked, answers what it is told."""
import http.server
import threading


class FeedServer:
    def __init__(self, dates=(), status=200):
        self.dates = list(dates)
        self.status = status
        self.requests = []
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):
                outer.requests.append(self.path)
                body = "<feed>" + "".join(
                    f"<entry><gd:when startTime='{d}' endTime='{d}'/></entry>" for d in outer.dates) + "</feed>"
                data = body.encode("ascii")
                self.send_response(outer.status)
                self.send_header("Content-Type", "application/atom+xml")
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                self.wfile.write(data)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.timeout = 1
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()
