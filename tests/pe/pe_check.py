#!/usr/bin/env python3
"""Checks a built Windows program from its PE headers alone.

A shipped program must be a "Windows GUI" program of the expected machine,
import only KnownDLLs (which Windows never takes from the program's folder;
the others it binds at run time from the system folder), keep ASLR and DEP (and high-entropy ASLR in
the 64-bit build), carry stack protection, and carry no manifest that
requests an execution level (so file virtualisation keeps working for
standard users).
"""
import argparse
import struct
import sys

KNOWN_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll",
    "msvcrt.dll", "advapi32.dll",
}
DYNAMIC_BASE, NX_COMPAT, HIGH_ENTROPY_VA = 0x40, 0x100, 0x20
STACK_PROTECTOR = b"stack smashing detected"
MACHINES = {"x86_64": (0x8664, 0x20B), "i686": (0x14C, 0x10B)}
SUBSYSTEM_GUI = 2
RT_MANIFEST = 24


class Pe:
    def __init__(self, data):
        self.data = data
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[:2] != b"MZ" or data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        coff = pe_offset + 4
        self.machine, sections, _, _, _, opt_size, _ = struct.unpack_from("<HHIIIHH", data, coff)
        opt = coff + 20
        (self.magic,) = struct.unpack_from("<H", data, opt)
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, opt + 68)
        dirs = opt + (96 if self.magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            at = opt + opt_size + 40 * i
            vsize, vaddr, rsize, raddr = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(self, rva):
        for vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError(f"RVA {rva:#x} outside every section")

    def cstring(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imported_dlls(self):
        rva, size = self.directories[1]
        names, at = [], self.offset(rva) if size else None
        while at is not None:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if not any(entry):
                break
            names.append(self.cstring(entry[3]).lower())
            at += 20
        return names

    def manifests(self):
        rva, size = self.directories[2]
        if not size:
            return []
        base = self.offset(rva)
        found = []

        def walk(table, depth, type_id):
            named, ids = struct.unpack_from("<HH", self.data, table + 12)
            for i in range(named + ids):
                ident, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
                this_type = ident if depth == 0 else type_id
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), depth + 1, this_type)
                elif this_type == RT_MANIFEST:
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + target)
                    at = self.offset(data_rva)
                    found.append(self.data[at:at + data_size])

        walk(base, 0, None)
        return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--arch", required=True, choices=sorted(MACHINES))
    args = parser.parse_args()
    pe = Pe(open(args.program, "rb").read())
    machine, magic = MACHINES[args.arch]
    problems = []
    if pe.machine != machine or pe.magic != magic:
        problems.append(f"machine {pe.machine:#x} / optional header {pe.magic:#x}, "
                        f"want {machine:#x} / {magic:#x}")
    if pe.subsystem != SUBSYSTEM_GUI:
        problems.append(f"subsystem {pe.subsystem}, want 2 (Windows GUI)")
    foreign = [dll for dll in pe.imported_dlls() if dll not in KNOWN_DLLS]
    if foreign:
        problems.append("imports DLLs Windows may take from the program's folder: "
                        + ", ".join(foreign))
    wanted = DYNAMIC_BASE | NX_COMPAT | (HIGH_ENTROPY_VA if args.arch == "x86_64" else 0)
    if pe.dll_characteristics & wanted != wanted:
        problems.append(f"DllCharacteristics {pe.dll_characteristics:#x} lacks {wanted:#x} "
                        "(ASLR, DEP)")
    if STACK_PROTECTOR not in pe.data:
        problems.append("no stack protection (-fstack-protector-strong) linked in")
    if any(b"requestedExecutionLevel" in m for m in pe.manifests()):
        problems.append("carries a manifest that requests an execution level")
    print(f"{args.program}: imports {', '.join(pe.imported_dlls())}")
    for p in problems:
        print("FAIL:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
