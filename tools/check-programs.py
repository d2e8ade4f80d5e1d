#!/usr/bin/python3
"""Checks shipped Windows programs without running them: each is a PE image of the expected machine,
imports only DLLs that are part of Windows (XLUE.dll only in Update.exe, which it ships beside), and carries
a version resource with the expected file version.

usage: check-programs.py --machine i386|amd64 --version A.B.C.D FILE[=A.B.C.D]...
A version after a file name replaces --version for that file."""
import argparse
import struct
import sys

MACHINES = {"i386": 0x14C, "amd64": 0x8664}
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll", "comctl32.dll",
    "comdlg32.dll", "ole32.dll", "oleaut32.dll", "msimg32.dll", "psapi.dll", "version.dll", "iphlpapi.dll",
    "wininet.dll", "urlmon.dll", "gdiplus.dll", "msvcrt.dll", "ws2_32.dll", "winmm.dll", "uxtheme.dll",
    "powrprof.dll",
}
RT_VERSION = 16


class Image:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError("address %#x is in no section" % rva)

    def text(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        rva = self.directories[1][0]
        names = []
        while rva:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if not (lookup or name or thunks):
                break
            names.append(self.text(name))
            rva += 20
        return names

    def file_version(self):
        """The fixed file version of the first version resource, or None."""
        base = self.directories[2][0]
        if not base:
            return None
        node = base
        for wanted in (RT_VERSION, None, None):
            start = self.offset(node)
            named, numbered = struct.unpack_from("<HH", self.data, start + 12)
            entries = [struct.unpack_from("<II", self.data, start + 16 + 8 * i) for i in range(named + numbered)]
            entries = [e for e in entries if wanted is None or e[0] == wanted]
            if not entries:
                return None
            node = base + (entries[0][1] & 0x7FFFFFFF)
        data_rva = struct.unpack_from("<I", self.data, self.offset(node))[0]
        block = self.offset(data_rva)
        fixed = self.data.find(struct.pack("<I", 0xFEEF04BD), block, block + 128)
        if fixed < 0:
            return None
        high, low = struct.unpack_from("<II", self.data, fixed + 8)
        return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)


def problems(path, machine, version):
    name = path.replace("\\", "/").rsplit("/", 1)[-1]
    with open(path, "rb") as f:
        image = Image(f.read())
    found = []
    if image.machine != MACHINES[machine]:
        found.append("machine %#x, not %s" % (image.machine, machine))
    for dll in image.imports():
        allowed = dll.lower() in SYSTEM_DLLS or (dll.lower() == "xlue.dll" and name == "Update.exe")
        if not allowed:
            found.append("imports " + dll)
    have = image.file_version()
    if have != version:
        found.append("file version %s, not %s" % (have, version))
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--machine", required=True, choices=sorted(MACHINES))
    parser.add_argument("--version", required=True)
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    status = 0
    for item in args.files:
        path, _, version = item.partition("=")
        try:
            found = problems(path, args.machine, version or args.version)
        except (OSError, ValueError, struct.error) as error:
            found = ["unreadable: %s" % error]
        for problem in found:
            print("%s: %s" % (path, problem))
            status = 1
    if status == 0:
        print("%d programs checked: %s, system DLLs only, versions as expected" % (len(args.files), args.machine))
    return status


if __name__ == "__main__":
    sys.exit(main())
