#!/usr/bin/env python3
"""Checks a built Windows program from its PE headers alone.

A shipped program must be a "Windows GUI" program of the expected machine,
import only KnownDLLs (which Windows never takes from the program's folder;
the others it binds at run time from the system folder), keep ASLR and DEP (and high-entropy ASLR in
the 64-bit build), carry stack protection, carry no manifest that
requests an execution level (so file virtualisation keeps working for
standard users), carry a PE time stamp of 0 (a build's time in its bytes
would make every build differ), and carry the version information Windows shows, the
version of the changelog's newest release. Each
resource is read here from the raw bytes: the manifest's XML, the version
block and the string table.
"""
import argparse
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree

KNOWN_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll",
    "msvcrt.dll", "advapi32.dll",
}
DYNAMIC_BASE, NX_COMPAT, HIGH_ENTROPY_VA = 0x40, 0x100, 0x20
STACK_PROTECTOR = b"stack smashing detected"
MACHINES = {"x86_64": (0x8664, 0x20B), "i686": (0x14C, 0x10B)}
SUBSYSTEM_GUI = 2
RT_STRING, RT_VERSION, RT_MANIFEST = 6, 16, 24
VS_FIXED_SIGNATURE = 0xFEEF04BD


class Pe:
    def __init__(self, data):
        self.data = data
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[:2] != b"MZ" or data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        coff = pe_offset + 4
        self.machine, sections, self.time_stamp, _, _, opt_size, _ = struct.unpack_from(
            "<HHIIIHH", data, coff)
        opt = coff + 20
        (self.magic,) = struct.unpack_from("<H", data, opt)
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, opt + 68)
        dirs = opt + (96 if self.magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections, self.section_names = [], []
        for i in range(sections):
            at = opt + opt_size + 40 * i
            self.section_names.append(data[at:at + 8].rstrip(b"\0").decode("latin-1"))
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

    def imports(self):
        """{dll: [function names]} of the import directory."""
        rva, size = self.directories[1]
        found, at = {}, self.offset(rva) if size else None
        thunk_size, ordinal_flag = (8, 1 << 63) if self.magic == 0x20B else (4, 1 << 31)
        while at is not None:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if not any(entry):
                break
            names, thunk = [], self.offset(entry[0] or entry[4])
            while True:
                (value,) = struct.unpack_from("<Q" if thunk_size == 8 else "<I", self.data, thunk)
                if not value:
                    break
                if not value & ordinal_flag:
                    names.append(self.cstring(value + 2))
                thunk += thunk_size
            found[self.cstring(entry[3]).lower()] = names
            at += 20
        return found

    def imported_dlls(self):
        return list(self.imports())

    def resources(self, wanted_type):
        """{name id: bytes} of every resource of one type (any language)."""
        rva, size = self.directories[2]
        if not size:
            return {}
        base = self.offset(rva)
        found = {}

        def walk(table, path):
            named, ids = struct.unpack_from("<HH", self.data, table + 12)
            for i in range(named + ids):
                ident, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
                here = path + [ident]
                if here[0] != wanted_type:
                    continue
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), here)
                else:
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + target)
                    at = self.offset(data_rva)
                    found[here[1]] = self.data[at:at + data_size]

        walk(base, [])
        return found


def version_info(block):
    """(file version, {key: text}) from a VS_VERSIONINFO block."""
    def node(at):
        length, value_length, kind = struct.unpack_from("<HHH", block, at)
        key_end = block.index(b"\0\0", at + 6)
        while (key_end - at) % 2:
            key_end = block.index(b"\0\0", key_end + 1)
        key = block[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        value_bytes = value_length * (2 if kind == 1 else 1)
        children_at = (value_at + value_bytes + 3) & ~3
        return key, value_at, value_length, kind, children_at, at + length

    def children(start, end):
        at = start
        while at < end:
            found = node(at)
            yield found
            at = (found[5] + 3) & ~3

    key, value_at, _, _, children_at, end = node(0)
    signature, _, ms, ls = struct.unpack_from("<IIII", block, value_at)
    if key != "VS_VERSION_INFO" or signature != VS_FIXED_SIGNATURE:
        raise ValueError("not a version block")
    version = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    strings = {}
    for child in children(children_at, end):
        if child[0] == "StringFileInfo":
            for table in children(child[4], child[5]):
                for name, at, length, _, _, _ in children(table[4], table[5]):
                    strings[name] = block[at:at + 2 * length].decode("utf-16-le").rstrip("\0")
    return version, strings


def string_resource(pe, number):
    """Text of string resource `number`: block number // 16 + 1, entry number % 16."""
    block = pe.resources(RT_STRING).get(number // 16 + 1)
    if block is None:
        return None
    at = 0
    for index in range(16):
        (length,) = struct.unpack_from("<H", block, at)
        if index == number % 16:
            return block[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        at += 2 + 2 * length
    return None


def manifest_problems(pe, dpi_aware):
    manifests = list(pe.resources(RT_MANIFEST).values())
    if not manifests:
        return ["has no manifest declaring DPI awareness"] if dpi_aware else []
    problems = []
    for manifest in manifests:
        root = ElementTree.fromstring(manifest)
        names = {element.tag.split("}")[-1]: (element.text or "").strip()
                 for element in root.iter()}
        if "trustInfo" in names or "requestedExecutionLevel" in names:
            problems.append("carries a manifest that requests an execution level")
        if dpi_aware and (names.get("dpiAwareness") != "PerMonitorV2, PerMonitor" or
                          names.get("dpiAware") != "true/pm"):
            problems.append(f"declares DPI awareness {names.get('dpiAwareness')!r} / "
                            f"{names.get('dpiAware')!r}, want 'PerMonitorV2, PerMonitor' / 'true/pm'")
    return problems


def version_problems(pe, description, version, saver_name):
    blocks = pe.resources(RT_VERSION)
    if len(blocks) != 1:
        return [f"{len(blocks)} version blocks, want 1"]
    file_version, strings = version_info(next(iter(blocks.values())))
    problems = []
    want = {"FileDescription": description, "ProductName": "Kolvane_Brightrun",
            "FileVersion": version, "ProductVersion": version}
    for key, text in want.items():
        if strings.get(key) != text:
            problems.append(f"version {key} {strings.get(key)!r}, want {text!r}")
    if file_version != version + ".0":
        problems.append(f"fixed file version {file_version}, want {version}.0")
    if not strings.get("OriginalFilename"):
        problems.append("no original file name")
    if saver_name and string_resource(pe, 1) != saver_name:
        problems.append(f"string 1 {string_resource(pe, 1)!r}, want {saver_name!r}")
    return problems


def changelog_problems(path, version):
    """The changelog's newest release must be the version the programs carry."""
    with open(path, encoding="utf-8") as f:
        released = re.findall(r"^## \[?(\d+\.\d+\.\d+)", f.read(), re.MULTILINE)
    if not released or released[0] != version:
        return [f"{path}: newest release {released[:1]}, the programs carry {version}"]
    return []


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--arch", required=True, choices=sorted(MACHINES))
    parser.add_argument("--version", required=True)
    parser.add_argument("--description", required=True)
    parser.add_argument("--dpi-aware", action="store_true")
    parser.add_argument("--saver-name")
    parser.add_argument("--changelog", help="CHANGELOG.md, whose newest release is --version")
    parser.add_argument("--build-path", action="append", default=[],
                        help="a folder of the build machine, never to be named in the program")
    args = parser.parse_args()
    pe = Pe(open(args.program, "rb").read())
    machine, magic = MACHINES[args.arch]
    problems = []
    if pe.machine != machine or pe.magic != magic:
        problems.append(f"machine {pe.machine:#x} / optional header {pe.magic:#x}, "
                        f"want {machine:#x} / {magic:#x}")
    if pe.time_stamp != 0:
        problems.append(f"PE time stamp {pe.time_stamp:#x}, want 0: the build's time is in the bytes")
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
    crypto = [name for name in pe.imports().get("advapi32.dll", []) if name.startswith("Crypt")]
    if crypto:
        problems.append("seeds its stack guard through the legacy crypto provider: "
                        + ", ".join(crypto))
    # Debug sections have long names ("/4" into a string table) or ".debug...".
    debug = [name for name in pe.section_names if name.startswith(("/", ".debug"))]
    if debug:
        problems.append(f"carries {len(debug)} debug sections")
    problems += [f"names the build machine's {path}" for path in args.build_path
                 if path.encode() in pe.data]
    problems += manifest_problems(pe, args.dpi_aware)
    problems += version_problems(pe, args.description, args.version, args.saver_name)
    if args.changelog:
        problems += changelog_problems(args.changelog, args.version)
    print(f"{args.program}: imports {', '.join(pe.imported_dlls())}")
    for p in problems:
        print("FAIL:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
