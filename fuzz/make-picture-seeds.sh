#!/usr/bin/env bash
# Writes the seeds of the picture fuzz target: small good BMP, GIF and JPEG files and damaged
# copies of them (cut short, data offsets past the end, runs that overflow, a bad LZW code size).
# Needs ImageMagick and Python 3. The files it made are kept in fuzz/seeds/picture.
set -euo pipefail
cd "$(dirname "$0")/seeds/picture"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 8x6 gradient:red-blue -type TrueColor BMP3:good-24bit.bmp
convert -size 8x6 xc:white -fill black -draw 'line 0,0 7,5' -type Palette -colors 4 -compress RLE \
    BMP3:good-rle8.bmp
convert -size 8x6 gradient:white-black -colors 8 good.gif
convert -size 16x16 plasma:fractal -seed 1 -quality 90 good.jpg 2>/dev/null ||
    convert -size 16x16 gradient:yellow-green -quality 90 good.jpg

python3 - <<'PY'
import struct

def save(name, data):
    with open(name, "wb") as f:
        f.write(data)

bmp = open("good-24bit.bmp", "rb").read()
offset = struct.unpack_from("<I", bmp, 10)[0]
save("bmp-cut-in-pixels.bmp", bmp[: offset + (len(bmp) - offset) // 2])
save("bmp-pixels-past-end.bmp", bmp[:10] + struct.pack("<I", len(bmp) + 4096) + bmp[14:])
save("bmp-padded.bmp", bmp + b"\0" * 16)

# RLE8: a run far longer than the row, then a delta past the bottom.
rle8 = open("good-rle8.bmp", "rb").read()
off8 = struct.unpack_from("<I", rle8, 10)[0]
runs = bytes([255, 1, 255, 1, 0, 2, 200, 200, 0, 1])
save("rle8-overflowing-runs.bmp", rle8[:off8] + runs)

# RLE4, written by hand: 8 x 6, 16 colours, then runs that overflow the row and the picture.
palette = b"".join(struct.pack("<BBBB", i * 16, 255 - i * 16, i * 8, 0) for i in range(16))
rle4 = bytes([8, 0x12, 0, 0, 8, 0x34, 0, 0, 255, 0x56, 0, 0, 0, 4, 0x78, 0x9A, 0, 0]) + bytes([0, 1])
header_size = 14 + 40 + len(palette)
info = struct.pack("<IiiHHIIiiII", 40, 8, 6, 1, 4, 2, len(rle4), 2835, 2835, 16, 0)
save("rle4-overflowing-runs.bmp",
     b"BM" + struct.pack("<IHHI", header_size + len(rle4), 0, 0, header_size) + info + palette + rle4)

gif = open("good.gif", "rb").read()
# The image descriptor (0x2C) is followed by the LZW minimum code size.
at = gif.index(b"\x2c", 13)
flags = gif[at + 9]
code_size_at = at + 10 + ((3 << ((flags & 7) + 1)) if flags & 0x80 else 0)
save("gif-bad-lzw-code-size.gif", gif[:code_size_at] + bytes([12]) + gif[code_size_at + 1 :])
save("gif-cut-in-data.gif", gif[: code_size_at + 4])
save("gif-no-trailer.gif", gif[:-1])

jpg = open("good.jpg", "rb").read()
sos = jpg.index(b"\xff\xda")
save("jpeg-cut-after-sos.jpg", jpg[: sos + 14])
save("jpeg-cut-mid-scan.jpg", jpg[: sos + (len(jpg) - sos) // 2])
save("jpeg-no-end-marker.jpg", jpg[:-2])
PY
ls -l
