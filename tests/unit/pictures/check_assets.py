"""Every committed picture, read with independent tools: formats and sizes,
baseline 3-component JPEGs, the hand-off layout of the reel, the two marks,
the 256-colour icon and nine slides that are colourful and tell apart."""
import os
import struct
import sys
import unittest

from bmp_reader import read_bitmap
from image_tools import djpeg_rows, identify, jpeg_frame

ASSETS = os.path.join(os.environ.get("KB_SOURCE_DIR", "."), "assets")
SLIDES = ["slide%d.jpg" % n for n in range(1, 10)]


def path(name):
    return os.path.join(ASSETS, name)


def mean_colour(rows):
    count = sum(len(r) for r in rows)
    return tuple(sum(p[c] for r in rows for p in r) / count for c in range(3))


def spread(rows):
    """Mean distance of the pixels from the picture's mean colour."""
    mean = mean_colour(rows)
    pixels = [p for r in rows for p in r]
    return sum(sum((p[c] - mean[c]) ** 2 for c in range(3)) ** 0.5 for p in pixels) / len(pixels)


class Formats(unittest.TestCase):
    def test_sizes_seen_by_imagemagick(self):
        expected = {"reel.bmp": ("BMP3", 180, 148), "preview.jpg": ("JPEG", 152, 112),
                    "mark_empty.bmp": ("BMP3", 12, 12), "mark_filled.bmp": ("BMP3", 12, 12),
                    "icon.ico": ("ICO", 32, 32)}
        expected.update({name: ("JPEG", 256, 256) for name in SLIDES})
        for skin in ("Normal", "HighLight", "HighLightSelect", "Selected", "Pressed", "Disable"):
            expected["skins/%s.bmp" % skin] = ("BMP3", 64, 25)
        for name, want in expected.items():
            with self.subTest(file=name):
                self.assertEqual(identify(path(name)), want)

    def test_jpegs_are_baseline_with_three_components(self):
        for name in SLIDES + ["preview.jpg"]:
            with open(path(name), "rb") as f:
                marker, precision, _, _, components = jpeg_frame(f.read())
            with self.subTest(file=name):
                self.assertEqual(marker, 0xC0)  # SOF0: baseline sequential
                self.assertEqual(precision, 8)
                self.assertEqual(components, 3)

    def test_reel_has_the_hand_off_layout(self):
        with open(path("reel.bmp"), "rb") as f:
            data = f.read()
        bmp = read_bitmap(path("reel.bmp"))
        self.assertEqual(len(data), 79974)
        self.assertEqual((bmp.file_size, bmp.reserved1, bmp.reserved2, bmp.pixel_offset),
                         (79974, 0, 0, 54))
        self.assertEqual((bmp.info_size, bmp.width, bmp.height, bmp.planes, bmp.bits),
                         (40, 180, 148, 1, 24))
        self.assertEqual((bmp.compression, bmp.image_size, bmp.colours_used,
                          bmp.colours_important), (0, 180 * 148 * 3, 0, 0))

    def test_24_bit_bitmaps(self):
        for name in ("mark_empty.bmp", "mark_filled.bmp"):
            bmp = read_bitmap(path(name))
            with self.subTest(file=name):
                self.assertEqual((bmp.bits, bmp.compression, bmp.height > 0), (24, 0, True))


class Marks(unittest.TestCase):
    def box(self, name):
        rows = read_bitmap(path(name)).rows()
        border = [rows[0][i] for i in range(12)] + [rows[11][i] for i in range(12)] + \
                 [rows[i][0] for i in range(12)] + [rows[i][11] for i in range(12)]
        inside = [rows[y][x] for y in range(2, 10) for x in range(2, 10)]
        return border, inside

    def test_empty_mark_is_a_dark_outline_around_a_light_inside(self):
        border, inside = self.box("mark_empty.bmp")
        self.assertTrue(all(max(p) < 128 for p in border))
        self.assertTrue(all(min(p) > 200 for p in inside))

    def test_filled_mark_is_blue_inside(self):
        border, inside = self.box("mark_filled.bmp")
        self.assertTrue(all(sum(p) < 3 * 128 for p in border))
        self.assertTrue(all(p[2] > 150 and p[2] > p[0] + 60 for p in inside))


class Icon(unittest.TestCase):
    def test_one_8_bit_image_with_palette_and_mask(self):
        with open(path("icon.ico"), "rb") as f:
            data = f.read()
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6)
        self.assertEqual((width, height, colours, planes, bits), (32, 32, 0, 1, 8))
        self.assertEqual(offset + size, len(data))
        info = struct.unpack_from("<IiiHHI", data, offset)
        self.assertEqual(info, (40, 32, 64, 1, 8, 0))  # height counts the AND mask
        self.assertEqual(size, 40 + 256 * 4 + 32 * 32 + 32 * 4)
        palette_at = offset + 40
        palette = {data[palette_at + i * 4:palette_at + i * 4 + 3] for i in range(256)}
        self.assertGreater(len(palette), 200)  # a real 256-colour table
        mask_at = palette_at + 1024 + 1024
        mask = data[mask_at:mask_at + 128]
        transparent = sum(bin(b).count("1") for b in mask)
        self.assertTrue(0 < transparent < 32 * 32 // 2)
        # The corners are see-through; the middle is drawn.
        self.assertTrue(mask[0] & 0x80 and mask[31 * 4] & 0x80)
        self.assertFalse(mask[16 * 4 + 2] & 0x80)


class Slides(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.rows = [djpeg_rows(path(name))[2] for name in SLIDES]

    def test_each_slide_is_colourful(self):
        for n, rows in enumerate(self.rows, 1):
            with self.subTest(slide=n):
                self.assertGreater(spread(rows), 20)

    def test_slides_differ_in_dominant_colour(self):
        means = [mean_colour(rows) for rows in self.rows]
        for i in range(9):
            for j in range(i + 1, 9):
                distance = sum((a - b) ** 2 for a, b in zip(means[i], means[j])) ** 0.5
                with self.subTest(first=i + 1, second=j + 1):
                    self.assertGreater(distance, 40)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
