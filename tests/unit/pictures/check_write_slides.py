"""kb_write_slides, run for real: the ten hand-off bitmaps read back with an
independent reader, header field by field and pixel by pixel against djpeg's
decode of the same JPEGs; damaged, short, missing and wrong-sized pictures
give no file and no crash, and the other slots are still written."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from bmp_reader import read_bitmap
from image_tools import djpeg_rows

WRITER = sys.argv[1] if len(sys.argv) > 1 else "kb_write_slides"
ASSETS = os.path.join(os.environ.get("KB_SOURCE_DIR", "."), "assets")
REEL_BYTES, SLIDE_BYTES = 79974, 196662


def slide_path(folder, index):
    return os.path.join(folder, "Kolvane_Brightrun%d.bmp" % index)


def run_writer(assets, out):
    return subprocess.run([WRITER, assets, out], capture_output=True, text=True, timeout=60)


class WritesTheSet(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.mkdtemp()
        cls.result = run_writer(ASSETS, cls.out)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out)

    def test_ten_files_of_the_contract_sizes(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.assertEqual(sorted(os.listdir(self.out)),
                         sorted("Kolvane_Brightrun%d.bmp" % i for i in range(10)))
        sizes = [os.path.getsize(slide_path(self.out, i)) for i in range(10)]
        self.assertEqual(sizes, [REEL_BYTES] + [SLIDE_BYTES] * 9)
        self.assertEqual(sum(sizes), 1849932)

    def test_header_fields(self):
        for index in range(10):
            bmp = read_bitmap(slide_path(self.out, index))
            width, height = (180, 148) if index == 0 else (256, 256)
            size = REEL_BYTES if index == 0 else SLIDE_BYTES
            with self.subTest(file=index):
                self.assertEqual((bmp.file_size, bmp.reserved1, bmp.reserved2,
                                  bmp.pixel_offset), (size, 0, 0, 54))
                self.assertEqual((bmp.info_size, bmp.width, bmp.height, bmp.planes,
                                  bmp.bits, bmp.compression), (40, width, height, 1, 24, 0))
                self.assertEqual((bmp.image_size, bmp.colours_used, bmp.colours_important),
                                 (width * height * 3, 0, 0))

    def test_reel_pixels_are_the_embedded_reel(self):
        self.assertEqual(read_bitmap(slide_path(self.out, 0)).rows(),
                         read_bitmap(os.path.join(ASSETS, "reel.bmp")).rows())

    def test_slide_pixels_match_djpeg(self):
        for index in range(1, 10):
            width, height, expected = djpeg_rows(os.path.join(ASSETS, "slide%d.jpg" % index))
            with self.subTest(slide=index):
                self.assertEqual((width, height), (256, 256))
                self.assertEqual(read_bitmap(slide_path(self.out, index)).rows(), expected)


class BadInput(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.assets = os.path.join(self.work, "assets")
        self.out = os.path.join(self.work, "out")
        shutil.copytree(ASSETS, self.assets)
        os.mkdir(self.out)

    def tearDown(self):
        shutil.rmtree(self.work)

    def replace(self, name, data):
        with open(os.path.join(self.assets, name), "wb") as f:
            f.write(data)

    def original(self, name):
        with open(os.path.join(ASSETS, name), "rb") as f:
            return f.read()

    def convert(self, source, target, *options):
        subprocess.run(["convert", os.path.join(ASSETS, source), *options,
                        os.path.join(self.assets, target)], check=True)

    def test_damaged_pictures_give_no_file_and_the_rest_are_written(self):
        reel = self.original("reel.bmp")
        jpeg = self.original("slide2.jpg")
        self.replace("reel.bmp", reel[:-1])                       # one byte short
        self.replace("slide2.jpg", jpeg[:len(jpeg) // 2])          # cut in the middle
        self.replace("slide3.jpg", bytes(range(256)) * 40)        # garbage
        self.replace("slide4.jpg", b"")                           # empty
        os.remove(os.path.join(self.assets, "slide5.jpg"))        # missing
        self.convert("slide6.jpg", "slide6.jpg", "-resize", "128x128")  # wrong size
        self.replace("slide7.jpg", reel)                          # a bitmap in a JPEG slot
        self.replace("slide8.jpg", jpeg[:2] + b"\xff\xc0" + jpeg[4:])  # broken marker
        result = run_writer(self.assets, self.out)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(sorted(os.listdir(self.out)),
                         ["Kolvane_Brightrun1.bmp", "Kolvane_Brightrun9.bmp"])
        for index in (0, 2, 3, 4, 5, 6, 7, 8):
            with self.subTest(slot=index):
                self.assertIn("slot %d" % index if index != 5 else "slide5.jpg", result.stderr)
        self.assertEqual(os.path.getsize(slide_path(self.out, 9)), SLIDE_BYTES)

    def test_reel_of_another_kind_or_size_is_refused(self):
        reel = self.original("reel.bmp")
        variants = {
            "8-bit palette": ["-type", "Palette", "BMP3:"],
            "half size": ["-resize", "90x74!", "BMP3:"],
        }
        for what, options in variants.items():
            *resize, prefix = options
            subprocess.run(["convert", os.path.join(ASSETS, "reel.bmp"), *resize,
                            prefix + os.path.join(self.assets, "reel.bmp")], check=True)
            with self.subTest(reel=what):
                self.assertEqual(run_writer(self.assets, self.out).returncode, 1)
                self.assertFalse(os.path.exists(slide_path(self.out, 0)))
        for what, at, value in (("compressed", 30, 1), ("32-bit", 28, 32),
                                ("zero width", 18, 0), ("pixels past the end", 10, 55)):
            damaged = bytearray(reel)
            damaged[at] = value
            self.replace("reel.bmp", bytes(damaged))
            with self.subTest(reel=what):
                self.assertEqual(run_writer(self.assets, self.out).returncode, 1)
                self.assertFalse(os.path.exists(slide_path(self.out, 0)))

    def test_reel_with_a_larger_info_header_gives_the_same_file(self):
        subprocess.run(["convert", os.path.join(ASSETS, "reel.bmp"), "-define",
                        "bmp:format=bmp4", "BMP:" + os.path.join(self.assets, "reel.bmp")],
                       check=True)
        self.assertEqual(read_bitmap(os.path.join(self.assets, "reel.bmp")).info_size > 40, True)
        self.assertEqual(run_writer(self.assets, self.out).returncode, 0)
        with open(slide_path(self.out, 0), "rb") as f:
            self.assertEqual(f.read(), self.original("reel.bmp"))

    def test_top_down_reel_is_written_bottom_up(self):
        bmp = bytearray(self.original("reel.bmp"))
        rows = [bmp[54 + y * 540:54 + (y + 1) * 540] for y in range(148)]
        bmp[54:] = b"".join(reversed(rows))
        bmp[22:26] = (-148).to_bytes(4, "little", signed=True)
        self.replace("reel.bmp", bytes(bmp))
        self.assertEqual(run_writer(self.assets, self.out).returncode, 0)
        with open(slide_path(self.out, 0), "rb") as f:
            self.assertEqual(f.read(), self.original("reel.bmp"))

    def test_existing_files_are_overwritten(self):
        for index in range(10):
            with open(slide_path(self.out, index), "wb") as f:
                f.write(b"x" * 300000)
        self.assertEqual(run_writer(self.assets, self.out).returncode, 0)
        for index in range(10):
            with self.subTest(file=index):
                self.assertEqual(os.path.getsize(slide_path(self.out, index)),
                                 REEL_BYTES if index == 0 else SLIDE_BYTES)

    @unittest.skipUnless(os.path.exists("/dev/full"), "needs /dev/full")
    def test_full_disk_leaves_no_partial_file(self):
        # Slot 3's name points at /dev/full, where every write fails for lack of space.
        os.symlink("/dev/full", slide_path(self.out, 3))
        result = run_writer(self.assets, self.out)
        self.assertEqual(result.returncode, 1)
        self.assertIn("cannot write", result.stderr)
        self.assertFalse(os.path.lexists(slide_path(self.out, 3)))
        self.assertEqual(len(os.listdir(self.out)), 9)

    def test_missing_output_folder_or_arguments(self):
        result = run_writer(self.assets, os.path.join(self.work, "nowhere"))
        self.assertEqual(result.returncode, 1)
        self.assertIn("cannot write", result.stderr)
        usage = subprocess.run([WRITER], capture_output=True, text=True)
        self.assertEqual(usage.returncode, 2)
        self.assertIn("usage", usage.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
