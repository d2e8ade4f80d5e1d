"""The least of a VNC viewer and of a browser's WebSocket, enough to check what a run serves on loopback."""
import base64
import hashlib
import os
import socket
import struct

RAW_ENCODING = 0


class ProtocolError(Exception):
    pass


def _read_exactly(sock, count):
    data = b""
    while len(data) < count:
        chunk = sock.recv(count - len(data))
        if not chunk:
            raise ProtocolError("connection closed after %d of %d bytes" % (len(data), count))
        data += chunk
    return data


class RfbClient:
    """An RFB 3.8 viewer without authentication that asks for raw pixels only."""

    def __init__(self, port, timeout=10):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout)
        version = self._read(12)
        if not version.startswith(b"RFB 003."):
            raise ProtocolError("not an RFB server: %r" % version)
        self.sock.sendall(b"RFB 003.008\n")
        count = self._read(1)[0]
        if count == 0:
            raise ProtocolError("server refused: %r" % self._read(struct.unpack(">I", self._read(4))[0]))
        if 1 not in self._read(count):
            raise ProtocolError("server wants authentication")
        self.sock.sendall(b"\x01")
        if struct.unpack(">I", self._read(4))[0] != 0:
            raise ProtocolError("security handshake failed")
        self.sock.sendall(b"\x01")  # share the desktop with other viewers
        self.width, self.height = struct.unpack(">HH", self._read(4))
        pixel_format = self._read(16)
        self.bytes_per_pixel = pixel_format[0] // 8
        self.name = self._read(struct.unpack(">I", self._read(4))[0]).decode("latin-1")
        self.sock.sendall(struct.pack(">BxHi", 2, 1, RAW_ENCODING))

    def close(self):
        self.sock.close()

    def _read(self, count):
        return _read_exactly(self.sock, count)

    def pixels(self, x, y, width, height):
        """The distinct pixel values of the area, from one full (not incremental) update."""
        self.sock.sendall(struct.pack(">BBHHHH", 3, 0, x, y, width, height))
        while True:
            kind = self._read(1)[0]
            if kind == 0:
                break
            self._skip_message(kind)
        self._read(1)
        values = set()
        for _ in range(struct.unpack(">H", self._read(2))[0]):
            _, _, w, h, encoding = struct.unpack(">HHHHi", self._read(12))
            if encoding != RAW_ENCODING:
                raise ProtocolError("unasked encoding %d" % encoding)
            data = self._read(w * h * self.bytes_per_pixel)
            step = self.bytes_per_pixel
            values.update(data[i:i + step] for i in range(0, len(data), step))
        return values

    def _skip_message(self, kind):
        if kind == 1:  # colour map entries
            self._read(1)
            _, count = struct.unpack(">HH", self._read(4))
            self._read(6 * count)
        elif kind == 2:  # bell
            pass
        elif kind == 3:  # cut text
            self._read(3)
            self._read(struct.unpack(">I", self._read(4))[0])
        else:
            raise ProtocolError("unknown server message %d" % kind)

    def click(self, x, y):
        for buttons in (0, 1, 0):
            self.sock.sendall(struct.pack(">BBHH", 5, buttons, x, y))


def http_get(port, path, timeout=10):
    """Status code and body of a plain GET on loopback."""
    with socket.create_connection(("127.0.0.1", port), timeout) as sock:
        sock.sendall(("GET %s HTTP/1.0\r\nHost: 127.0.0.1:%d\r\n\r\n" % (path, port)).encode())
        reply = b""
        while True:
            chunk = sock.recv(65536)
            if not chunk:
                break
            reply += chunk
    head, _, body = reply.partition(b"\r\n\r\n")
    return int(head.split(b" ", 2)[1]), body


def websocket_first_message(port, path="/websockify", timeout=10):
    """Opens a binary WebSocket the way noVNC does and returns the first message the server sends."""
    key = base64.b64encode(os.urandom(16)).decode()
    with socket.create_connection(("127.0.0.1", port), timeout) as sock:
        sock.sendall(("GET %s HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                      "Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\nSec-WebSocket-Protocol: binary\r\n\r\n"
                      % (path, port, key)).encode())
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = sock.recv(1)
            if not chunk:
                raise ProtocolError("closed during the upgrade: %r" % head)
            head += chunk
        lines = head.decode("latin-1").split("\r\n")
        if lines[0].split()[1:2] != ["101"]:
            raise ProtocolError("no upgrade: %s" % lines[0])
        accept = base64.b64encode(hashlib.sha1((key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11").encode())
                                  .digest()).decode()
        if not any(line.lower() == "sec-websocket-accept: " + accept.lower() for line in lines):
            raise ProtocolError("wrong accept key in %r" % lines)
        first, second = _read_exactly(sock, 2)
        if second & 0x80:
            raise ProtocolError("server frames must not be masked")
        length = second & 0x7F
        if length == 126:
            length = struct.unpack(">H", _read_exactly(sock, 2))[0]
        elif length == 127:
            length = struct.unpack(">Q", _read_exactly(sock, 8))[0]
        if first & 0x0F != 2:
            raise ProtocolError("not a binary frame: opcode %d" % (first & 0x0F))
        return _read_exactly(sock, length)
