#!/usr/bin/python3
"""Packs pictures into Setup's skin pack (the "SKIN" resource): one folder without subfolders.

Folder = u32 subfolder count, subfolders, u32 file count, files;
File   = u16 name length, name (code page 936), u32 data length, data.  Little-endian, no padding.
Usage: pack-skin.py OUT.bin PICTURE...   (each stored under its file name)
"""
import os
import struct
import sys


def pack(paths):
    out = bytearray(struct.pack('<I', 0))
    out += struct.pack('<I', len(paths))
    for path in paths:
        name = os.path.basename(path).encode('gbk')
        with open(path, 'rb') as f:
            data = f.read()
        out += struct.pack('<H', len(name)) + name + struct.pack('<I', len(data)) + data
    return bytes(out)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    with open(sys.argv[1], 'wb') as f:
        f.write(pack(sys.argv[2:]))


if __name__ == '__main__':
    main()
