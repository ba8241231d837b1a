"""The release zip as a Windows user gets it: exactly the two tested programs
and the read-me, unpacked into a folder whose path has blanks, where /s and
/c work."""
import os
import sys
import tempfile
import zipfile

import hostwine
import kbwine

PROGRAMS = ("Kolvane_Brightrun.scr", "Kolvane_Brightrun.data")
README = "README.txt"


def check_contents(archive):
    assert sorted(archive.namelist()) == sorted(PROGRAMS + (README,)), archive.namelist()
    for name in PROGRAMS:
        with open(os.path.join(kbwine.BIN_DIR, name), "rb") as f:
            assert archive.read(name) == f.read(), f"{name} differs from the tested program"
    readme = archive.read(README)
    assert readme.startswith(b"\xef\xbb\xbf") and b"\r\n" in readme, "read-me not for Notepad"
    text = readme.decode("utf-8-sig")
    for words in ("インストール", "アンインストール", "Installing", "Removing",
                  "C:\\Windows\\Kolvane_Brightrun0.bmp", "VirtualStore"):
        assert words in text, f"the read-me does not say {words!r}"


def main(zip_path):
    kbwine.end_wine()
    with tempfile.TemporaryDirectory(prefix="kb release ") as root, \
            hostwine.PreviewParent() as helper:
        folder = os.path.join(root, "Kolvane Brightrun 1.0")
        with zipfile.ZipFile(zip_path) as archive:
            check_contents(archive)
            archive.extractall(folder)
        program = os.path.join(folder, PROGRAMS[0])
        hostwine.end_show_by_mouse(hostwine.start_show(helper, program))
        hostwine.open_and_close_dialog(helper, program)
    kbwine.end_wine()
    print("zip tests passed")


if __name__ == "__main__":
    main(sys.argv[1])
