"""A TCP proxy that passes a rig-control exchange through and keeps it: each
line with the time it crossed and its direction, "C>" from the client, "S>"
from the server. Standalone it prints the exchange as it goes:

    python3 wire_log.py LISTEN_PORT SERVER_PORT
"""

import socket
import sys
import threading
import time


class WireLog:
    """Listens on a free loopback port and relays every connection to the
    server's port, one thread per direction."""

    def __init__(self, server_port, port=0, echo=None):
        self.server_port = server_port
        self.echo = echo
        self.lines = []  # (seconds since start, connection number, "C>" or "S>", text)
        self._start = time.monotonic()
        self._lock = threading.Lock()
        self._listener = socket.create_server(("127.0.0.1", port))
        self.port = self._listener.getsockname()[1]
        self._connections = 0
        self._sockets = []
        threading.Thread(target=self._accept, daemon=True).start()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self._listener.close()
        for relayed in self._sockets:
            relayed.close()

    def _accept(self):
        while True:
            try:
                client, _ = self._listener.accept()
            except OSError:
                return  # closed
            self._connections += 1
            try:
                server = socket.create_connection(("127.0.0.1", self.server_port))
            except OSError:
                client.close()
                continue
            self._sockets += [client, server]
            for source, sink, way in ((client, server, "C>"), (server, client, "S>")):
                threading.Thread(target=self._relay, daemon=True,
                                 args=(source, sink, way, self._connections)).start()

    def _relay(self, source, sink, way, number):
        pending = b""
        while True:
            try:
                chunk = source.recv(4096)
            except OSError:
                chunk = b""
            if not chunk:
                break
            pending += chunk
            *complete, pending = pending.split(b"\n")
            for line in complete:
                self._keep(number, way, line.decode(errors="replace"))
            try:
                sink.sendall(chunk)
            except OSError:
                break
        if pending:
            self._keep(number, way, pending.decode(errors="replace") + " (no line end)")
        for end in (sink, source):
            try:
                end.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def _keep(self, number, way, text):
        entry = (time.monotonic() - self._start, number, way, text)
        with self._lock:
            self.lines.append(entry)
        if self.echo:
            self.echo(format_line(entry))

    def sent(self):
        """The lines the clients sent, in order."""
        with self._lock:
            return [text for _, _, way, text in self.lines if way == "C>"]

    def transcript(self):
        with self._lock:
            return "\n".join(map(format_line, self.lines))


def format_line(entry):
    seconds, number, way, text = entry
    return f"{seconds:8.3f} #{number} {way} {text}"


if __name__ == "__main__":
    log = WireLog(int(sys.argv[2]), int(sys.argv[1]), echo=print)
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        pass
