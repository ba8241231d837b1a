#!/usr/bin/env python3
"""Makes the release (cpack: the zip and the installer) and fails, naming the
cause, when either is missing, empty or not what its name says."""
import os
import shutil
import subprocess
import sys
import zipfile


def main(cpack, build_dir, release):
    if not shutil.which("makensis"):
        return "makensis not found: the installer needs Debian's nsis package"
    outputs = (release + ".zip", release + ".exe")
    for stale in outputs:
        if os.path.exists(stale):
            os.remove(stale)
    made = subprocess.run([cpack], cwd=build_dir, capture_output=True, text=True)
    if made.returncode != 0:
        return "cpack failed:\n" + made.stdout + made.stderr
    for path in outputs:
        if not os.path.isfile(path) or os.path.getsize(path) == 0:
            return f"{path}: cpack made no file (or an empty one)"
    with zipfile.ZipFile(outputs[0]) as archive:
        if not archive.namelist():
            return f"{outputs[0]}: the zip is empty (no install rules?)"
    with open(outputs[1], "rb") as f:
        if f.read(2) != b"MZ":
            return f"{outputs[1]}: not a Windows program"
    for path in outputs:
        print(f"{path}: {os.path.getsize(path)} bytes")
    return None


if __name__ == "__main__":
    problem = main(*sys.argv[1:])
    if problem:
        print("FAIL:", problem)
    sys.exit(1 if problem else 0)
