"""Independent views of the project's pictures: JPEG structure from its
markers, pixels from djpeg (libjpeg-turbo's own command-line decoder) and
sizes from ImageMagick's identify."""
import struct
import subprocess


def jpeg_frame(data):
    """(marker, precision, height, width, components) of the first frame header."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("no JPEG start marker")
    at = 2
    while at + 4 <= len(data):
        if data[at] != 0xFF:
            raise ValueError("marker expected at %d" % at)
        marker = data[at + 1]
        length = struct.unpack_from(">H", data, at + 2)[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            precision, height, width, components = struct.unpack_from(">BHHB", data, at + 4)
            return marker, precision, height, width, components
        at += 2 + length
    raise ValueError("no frame header")


def read_ppm(data):
    """(width, height, rows of (r, g, b)) from binary PPM bytes."""
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at) + 1
            continue
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    at += 1
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError("not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at:at + width * height * 3]
    rows = [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]
    return width, height, rows


def djpeg_rows(path):
    """Pixels of a JPEG as djpeg decodes them."""
    out = subprocess.run(["djpeg", "-pnm", path], check=True, capture_output=True).stdout
    return read_ppm(out)


def identify(path):
    """ImageMagick's format, width and height of a picture file."""
    out = subprocess.run(["identify", "-format", "%m %w %h\n", path], check=True,
                         capture_output=True, text=True).stdout.split("\n")[0]
    kind, width, height = out.split()
    return kind, int(width), int(height)
