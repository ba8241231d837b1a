"""A small reader for uncompressed 24-bit Windows bitmaps, written from the
file format alone, so the tests do not trust the code that wrote the files."""
import struct


class Bitmap:
    def __init__(self, data):
        if len(data) < 54 or data[:2] != b"BM":
            raise ValueError("not a Windows bitmap")
        (self.file_size, self.reserved1, self.reserved2,
         self.pixel_offset) = struct.unpack_from("<IHHI", data, 2)
        (self.info_size, self.width, self.height, self.planes, self.bits,
         self.compression, self.image_size, self.x_ppm, self.y_ppm,
         self.colours_used, self.colours_important) = struct.unpack_from(
             "<IiiHHIIiiII", data, 14)
        if self.bits != 24 or self.compression != 0:
            raise ValueError("not an uncompressed 24-bit bitmap")
        self.data = data
        self.row_bytes = (self.width * 3 + 3) // 4 * 4
        needed = self.pixel_offset + self.row_bytes * abs(self.height)
        if len(data) < needed:
            raise ValueError("pixel data is short")

    def pixel(self, x, y):
        """(r, g, b) of the pixel in column x, row y counted from the top."""
        rows = abs(self.height)
        stored = y if self.height < 0 else rows - 1 - y
        at = self.pixel_offset + stored * self.row_bytes + x * 3
        b, g, r = self.data[at:at + 3]
        return (r, g, b)

    def rows(self):
        """Every pixel, top row first, as a list of rows of (r, g, b)."""
        return [[self.pixel(x, y) for x in range(self.width)]
                for y in range(abs(self.height))]


def read_bitmap(path):
    with open(path, "rb") as f:
        return Bitmap(f.read())


def rgb(text):
    """'#RRGGBB' to (r, g, b)."""
    value = int(text.lstrip("#"), 16)
    return (value >> 16, (value >> 8) & 255, value & 255)
