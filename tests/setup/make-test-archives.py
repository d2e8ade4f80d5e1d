#!/usr/bin/python3
"""Writes small 7z archives with hand-picked item names (stored uncompressed, one block), for the tests
of the payload extractor: names that lead out of the install folder, which 7zz will not store, and one
archive of harmless names written the same way.

    make-test-archives.py OUT_DIR
"""
import os
import struct
import sys
import zlib

SIGNATURE = b"7z\xbc\xaf\x27\x1c"
FILE_TIME = 133_000_000_000_000_000  # 2022-06-17, in 100 ns units since 1601


def number(value):
    """The 7z variable-length number: leading one bits of the first byte count the extra bytes."""
    for extra in range(8):
        if value < 1 << (7 * (extra + 1)):
            first = ((0xFF00 >> extra) & 0xFF) | (value >> (8 * extra))
            return bytes([first]) + (value & ((1 << (8 * extra)) - 1)).to_bytes(extra, "little")
    return b"\xff" + value.to_bytes(8, "little")


def bits(flags):
    out = bytearray((len(flags) + 7) // 8)
    for i, flag in enumerate(flags):
        if flag:
            out[i // 8] |= 0x80 >> (i % 8)
    return bytes(out)


def property_record(kind, body):
    return bytes([kind]) + number(len(body)) + body


def archive(items):
    """items: (name, bytes or None for a folder), in archive order."""
    files = [data for _, data in items if data is not None]
    packed = b"".join(files)
    streams = bytearray()
    streams += b"\x06" + number(0) + number(1) + b"\x09" + number(len(packed)) + b"\x00"  # pack info
    streams += b"\x07\x0b" + number(1) + b"\x00"  # one folder, inline
    streams += number(1) + b"\x01\x00"  # one coder: Copy
    streams += b"\x0c" + number(len(packed)) + b"\x00"
    streams += b"\x08\x0d" + number(len(files)) + b"\x09"  # substreams: one per file
    for data in files[:-1]:
        streams += number(len(data))
    streams += b"\x0a\x01" + b"".join(struct.pack("<I", zlib.crc32(d)) for d in files) + b"\x00"
    streams += b"\x00"

    info = number(len(items))
    folders = [data is None for _, data in items]
    if any(folders):
        info += property_record(0x0E, bits(folders))  # empty streams (not empty files: folders)
    names = b"".join(name.encode("utf-16-le") + b"\x00\x00" for name, _ in items)
    info += property_record(0x11, b"\x00" + names)
    info += property_record(0x14, b"\x01\x00" + struct.pack("<Q", FILE_TIME) * len(items))
    info += b"\x00"

    header = b"\x01\x04" + bytes(streams) + b"\x05" + info + b"\x00"
    tail = struct.pack("<QQI", len(packed), len(header), zlib.crc32(header))
    start = SIGNATURE + b"\x00\x04" + struct.pack("<I", zlib.crc32(tail)) + tail
    return start + packed + header


SAFE = [("update", None), ("update/a.txt", b"first file\r\n"), ("b.txt", b"second file\r\n")]

# Each puts one bad name among harmless items, after some of them, so nothing may be written at all.
ESCAPES = {
    "dotdot": "../evil.txt",
    "nested-dotdot": "update/../../evil.txt",
    "backslash-dotdot": "update\\..\\..\\evil.txt",
    "drive": "C:/evil.txt",
    "drive-relative": "C:evil.txt",
    "leading-slash": "/evil.txt",
    "leading-backslash": "\\evil.txt",
    "unc": "\\\\server\\share\\evil.txt",
    "dots-and-spaces": "update/.. /evil.txt",
    "device": "update/NUL.txt",
    "stream": "b.txt:evil",
}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "safe.7z"), "wb") as f:
        f.write(archive(SAFE))
    for label, name in ESCAPES.items():
        with open(os.path.join(out, "escape-%s.7z" % label), "wb") as f:
            f.write(archive(SAFE[:2] + [(name, b"should never be written\r\n")] + SAFE[2:]))


if __name__ == "__main__":
    main()
