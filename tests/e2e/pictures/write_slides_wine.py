"""kb_write_slides.exe under Wine, as developers use it to place the
hand-off bitmaps: Windows paths in, the ten files out with the same pixels
djpeg decodes; a missing target folder is an error exit."""
import os
import shutil
import sys
import unittest

import kbwine

sys.path.insert(0, os.path.join(kbwine.SOURCE_DIR, "tests", "unit", "pictures"))
from bmp_reader import read_bitmap  # noqa: E402
from image_tools import djpeg_rows  # noqa: E402

ASSETS = os.path.join(kbwine.SOURCE_DIR, "assets")
WRITER = os.path.join(kbwine.BIN_DIR, "kb_write_slides.exe")
FOLDER = "kb_write_slides_%d" % os.getpid()


def run(*args):
    return kbwine.wait_exit(kbwine.start(WRITER, *args), timeout=120)


class UnderWine(unittest.TestCase):
    def setUp(self):
        self.out = os.path.join(kbwine.PREFIX, "drive_c", FOLDER)
        os.makedirs(self.out)

    def tearDown(self):
        shutil.rmtree(self.out, ignore_errors=True)

    def test_writes_the_ten_files_into_a_windows_folder(self):
        self.assertEqual(run(kbwine.windows_path(ASSETS), "C:\\" + FOLDER), 0)
        names = sorted(os.listdir(self.out))
        self.assertEqual(names, sorted("Kolvane_Brightrun%d.bmp" % i for i in range(10)))
        with open(os.path.join(self.out, "Kolvane_Brightrun0.bmp"), "rb") as f, \
             open(os.path.join(ASSETS, "reel.bmp"), "rb") as g:
            self.assertEqual(f.read(), g.read())
        for index in range(1, 10):
            path = os.path.join(self.out, "Kolvane_Brightrun%d.bmp" % index)
            with self.subTest(slide=index):
                self.assertEqual(os.path.getsize(path), 196662)
                expected = djpeg_rows(os.path.join(ASSETS, "slide%d.jpg" % index))[2]
                self.assertEqual(read_bitmap(path).rows(), expected)

    def test_missing_target_folder_is_an_error(self):
        self.assertEqual(run(kbwine.windows_path(ASSETS), "C:\\" + FOLDER + "\\absent"), 1)
        self.assertEqual(os.listdir(self.out), [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
