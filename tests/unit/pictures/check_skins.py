"""The six button skins, read back independently and compared with the colour
table of the button face: every band colour, the shading of the side bands,
the light runs on the outermost rows, the reference corner of Normal and the
mirrored corners of every framed skin."""
import os
import sys
import unittest

from bmp_reader import read_bitmap, rgb

ASSETS = os.path.join(os.environ.get("KB_SOURCE_DIR", "."), "assets", "skins")
WIDTH, HEIGHT = 64, 25

# Columns given as one colour, or as (top at row 4, middle at row 12, bottom at row 20).
TABLE = {
    "Normal": {
        "top": ["#E0DCC9", "#003C74", "#F3F3EE", "#F3F3EE"],
        "bottom": ["#E2DFD6", "#D6D0C5", "#003C74", "#F8F7F0"],
        "left": ["#E2DECB", "#003C74", ("#FDFDFC", "#F4F4F0", "#ECEBE6"),
                 ("#FDFDFC", "#F4F4F0", "#EBEBE5")],
        "right": [("#FBFBFA", "#EEEDE7", "#E4E2DA"), ("#F6F4F2", "#E8E5DF", "#E0DDD4"),
                  "#003C74", "#F0EEE0"],
    },
    "HighLight": {
        "top": ["#E0DCC9", "#003C74", "#FFF0CF", "#FDD889"],
        "bottom": ["#F8B330", "#E59700", "#003C74", "#F8F7F0"],
        "left": ["#E2DECB", "#003C74", ("#FEDF9A", "#FCCA69", "#F9B435"),
                 ("#FCD279", "#FBCA6A", "#F8B535")],
        "right": [("#FCD279", "#FBCA6A", "#F8B535"), ("#FDE09B", "#FCCA69", "#F8B435"),
                  "#003C74", "#F0EEE0"],
    },
    "Selected": {
        "top": ["#E0DCC9", "#003C74", "#CEE7FF", "#CEE7FF"],
        "bottom": ["#6982EE", "#6982EE", "#003C74", "#F8F7F0"],
        "left": ["#E2DECB", "#003C74", ("#B7D0F4", "#A9C5EF", "#8BADE4"),
                 ("#B8D1F4", "#A8C6F0", "#8BADE4")],
        "right": [("#B1CCF2", "#A9C5EF", "#8BAFE5"), ("#B1CCF2", "#A9C5EF", "#8BAFE5"),
                  "#003C74", "#F0EEE0"],
    },
    "Pressed": {
        "top": ["#ECE9D8", "#E0DCC9", "#003C74", "#D1CCC1"],
        "bottom": ["#F2F1EE", "#003C74", "#F8F7F0", "#ECE9D8"],
        "left": ["#ECE9D8", "#E2DECB", "#003C74", ("#A0ABB1", "#D7D4CB", "#BCC5C7")],
        "right": [("#A9B5BD", "#E4E3DC", "#C4CED2"), "#003C74", "#F0EEE0", "#ECE9D8"],
    },
    "Disable": {
        "top": ["#ECE9D8", "#C9C7BA", "#F5F4EA", "#F5F4EA"],
        "bottom": ["#F5F4EA", "#F5F4EA", "#C9C7BA", "#ECE9D8"],
        "left": ["#ECE9D8", "#C9C7BA", "#F5F4EA", "#F5F4EA"],
        "right": ["#F5F4EA", "#F5F4EA", "#C9C7BA", "#ECE9D8"],
    },
}
TABLE["HighLightSelect"] = TABLE["HighLight"]

# Outermost background rows carrying the light runs, and the runs' last column.
RUN_ROWS = {name: (0, 24, 56) for name in TABLE}
RUN_ROWS["Pressed"] = (1, 23, 55)
TOP_RUN, BOTTOM_RUN = rgb("#DCD6C2"), rgb("#FAFAF6")

NORMAL_TOP_LEFT = [
    ["#E9E7D5", "#E4DFCE", "#E1DDCA", "#E0DCC9"],
    ["#E4DFCE", "#E6E1D0", "#7A95A8", "#255783"],
    ["#E2DECB", "#7A95A8", "#557DA2", "#C0CFDD"],
    ["#E2DECB", "#255783", "#BFCEDC", "#FEFEFE"],
]


def column_shade(entry):
    if isinstance(entry, str):
        entry = (entry, entry, entry)
    return tuple(rgb(c) for c in entry)


def luminance(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


class Skins(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.skins = {name: read_bitmap(os.path.join(ASSETS, name + ".bmp")) for name in TABLE}

    def test_format(self):
        for name, bmp in self.skins.items():
            with self.subTest(skin=name):
                self.assertEqual((bmp.width, bmp.height), (WIDTH, HEIGHT))
                self.assertEqual((bmp.bits, bmp.compression, bmp.planes), (24, 0, 1))

    def test_top_and_bottom_band_rows(self):
        for name, bands in TABLE.items():
            bmp = self.skins[name]
            top_run, bottom_run, run_end = RUN_ROWS[name]
            for ring in range(4):
                for row, colour, run_row, run_colour in (
                        (ring, bands["top"][ring], top_run, TOP_RUN),
                        (21 + ring, bands["bottom"][ring], bottom_run, BOTTOM_RUN)):
                    for x in range(4, 60):
                        in_run = row == run_row and 32 <= x <= run_end
                        expected = run_colour if in_run else rgb(colour)
                        with self.subTest(skin=name, row=row, column=x):
                            self.assertEqual(bmp.pixel(x, row), expected)

    def test_side_bands_shade_through_rows_4_12_20(self):
        for name, bands in TABLE.items():
            bmp = self.skins[name]
            for side, first in (("left", 0), ("right", 60)):
                for ring in range(4):
                    x = first + ring
                    top, middle, bottom = column_shade(bands[side][ring])
                    for row, expected in ((4, top), (12, middle), (20, bottom)):
                        with self.subTest(skin=name, column=x, row=row):
                            self.assertEqual(bmp.pixel(x, row), expected)
                    for (r0, c0), (r1, c1) in (((4, top), (12, middle)), ((12, middle), (20, bottom))):
                        for row in range(r0 + 1, r1):
                            t = (row - r0) / (r1 - r0)
                            got = bmp.pixel(x, row)
                            for ch in range(3):
                                linear = c0[ch] + (c1[ch] - c0[ch]) * t
                                with self.subTest(skin=name, column=x, row=row, channel=ch):
                                    self.assertLessEqual(abs(got[ch] - linear), 1.0)

    def test_normal_top_left_corner(self):
        bmp = self.skins["Normal"]
        for y in range(4):
            for x in range(4):
                with self.subTest(row=y, column=x):
                    self.assertEqual(bmp.pixel(x, y), rgb(NORMAL_TOP_LEFT[y][x]))

    def test_corners_mirror_the_reference_corner(self):
        # As in the reference corner: the frame runs straight into each corner
        # (dark blue), stops short of its outer pixels (light), and its bend is
        # softened towards the face.
        frame_lum = luminance(rgb("#003C74"))
        for name in ("Normal", "HighLight", "Selected"):
            bmp = self.skins[name]
            for right in (False, True):
                for bottom in (False, True):
                    def at(y, x):
                        return bmp.pixel(WIDTH - 1 - x if right else x,
                                         HEIGHT - 1 - y if bottom else y)
                    with self.subTest(skin=name, right=right, bottom=bottom):
                        for y, x in ((1, 3), (3, 1)):
                            self.assertLess(luminance(at(y, x)), 100)
                            self.assertGreater(at(y, x)[2], at(y, x)[0])
                        for y, x in ((0, 0), (1, 1), (0, 1), (1, 0)):
                            self.assertGreater(luminance(at(y, x)), 200)
                        bend = luminance(at(2, 2))
                        self.assertGreater(bend, frame_lum + 20)
                        self.assertLess(bend, luminance(at(3, 3)))

    def test_pressed_corners_round_the_inner_frame(self):
        # The frame sits one pixel in: its bend at (2, 2) is softer than the
        # straight frame runs next to it, at every corner.
        bmp = self.skins["Pressed"]
        for cx, cy, dx, dy in ((0, 0, 1, 1), (63, 0, -1, 1), (0, 24, 1, -1), (63, 24, -1, -1)):
            bend = bmp.pixel(cx + 2 * dx, cy + 2 * dy)
            with self.subTest(corner=(cx, cy)):
                self.assertNotEqual(bend, rgb("#003C74"))
                self.assertEqual(bmp.pixel(cx + 2 * dx, cy + 10 * dy), rgb("#003C74"))
                self.assertEqual(bmp.pixel(cx, cy), rgb("#ECE9D8"))

    def test_highlight_select_is_highlight(self):
        with open(os.path.join(ASSETS, "HighLight.bmp"), "rb") as a, \
             open(os.path.join(ASSETS, "HighLightSelect.bmp"), "rb") as b:
            self.assertEqual(a.read(), b.read())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
