#!/usr/bin/env python3
"""Writes hostile plug-ins, one directory each, for the bounds test and
benchmark: a model that promises 50 million vertices, one with 10 million
faces, a texture of each format that claims 65,535 x 65,535 pixels, a
definition file of one 10 MB line, and a station of a million platforms.

  hostile_plugins.py <directory> [--full]

Without --full the models hold little beyond their promise, which is what the
reader sees first. With --full they are as large as the promise is hostile:
200 MB of vertex data behind the 50 million, and all 10 million faces; and
three more are added: two just within the limits (a model of 1,048,575 faces,
a 4096 x 4096 texture) and a model with twelve such textures, beyond what
live textures may take together.
"""
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "scripts"))
from corpus_plugin import small_model  # noqa: E402  a square with a material for each texture

MIB = 1 << 20


def token(kind):
    return struct.pack("<H", kind)


def binary_x(out, vertex_count, vertex_bytes, faces=None, face_count=None):
    """A binary Mesh: the counts as given, `vertex_bytes` of float data, then
    `faces` triangles (0, 1, 2) written out, or just the promise of
    `face_count` of them."""
    out.write(b"xof 0303bin 0032")
    out.write(token(1) + struct.pack("<I", 4) + b"Mesh" + token(10))
    out.write(token(6) + struct.pack("<II", 1, vertex_count))
    out.write(token(7) + struct.pack("<I", vertex_bytes // 4))
    for _ in range(vertex_bytes // MIB):
        out.write(bytes(MIB))
    out.write(bytes(vertex_bytes % MIB))
    triangles = faces or 0
    out.write(token(6) + struct.pack("<II", 1 + 4 * triangles, triangles or face_count))
    chunk = struct.pack("<IIII", 3, 0, 1, 2) * 65536
    for _ in range(triangles // 65536):
        out.write(chunk)
    out.write(struct.pack("<IIII", 3, 0, 1, 2) * (triangles % 65536))
    out.write(token(11))


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def jpeg_claiming(side, baseline):
    """The baseline JPEG with the size in its frame header replaced."""
    start = baseline.index(b"\xff\xc0")
    return baseline[: start + 5] + struct.pack(">HH", side, side) + baseline[start + 9 :]


def huge_textures(side):
    return {
        "bmp": b"BM" + struct.pack("<IHHI", 54, 0, 0, 54)
        + struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, 0, 0, 0, 0, 0),
        "png": b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0))
        + png_chunk(b"IDAT", zlib.compress(bytes(1024))) + png_chunk(b"IEND", b""),
        "tga": struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, side, side, 32, 8),
        "dds": b"DDS " + struct.pack("<7I", 124, 0x1007, side, side, 0, 0, 0) + bytes(44)
        + struct.pack("<2I4s5I", 32, 4, b"DXT5", 0, 0, 0, 0, 0) + struct.pack("<I", 0x1000) + bytes(16),
        "jpg": jpeg_claiming(side, (ROOT / "samples/Struct/tiles.jpg").read_bytes()),
        "ppm": f"P6 {side} {side} 255\n".encode(),
    }


def png_of_zeros(side):
    rows = bytes((1 + 4 * side) * side)
    return b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)) \
        + png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b"")


def write_plugins(directory, full):
    def plugin(name):
        path = directory / name
        path.mkdir(parents=True, exist_ok=True)
        return path

    with open(plugin("vertices") / "Model.x", "wb") as out:
        binary_x(out, 50_000_000, 200 * MIB if full else 4096, face_count=1)
    with open(plugin("faces") / "Model.x", "wb") as out:
        if full:
            binary_x(out, 3, 36, faces=10_000_000)
        else:
            binary_x(out, 3, 36, face_count=10_000_000)
    for extension, data in huge_textures(65535).items():
        texture = f"texture.{extension}"
        (plugin(f"texture_{extension}") / texture).write_bytes(data)
        (plugin(f"texture_{extension}") / "Model.x").write_bytes(small_model(texture))
    (plugin("line") / "Struct.txt").write_bytes(b"w" * (10 * MIB) + b"\nAuthor\n1.0\n")
    (plugin("line") / "Model.x").write_bytes(small_model())
    with open(plugin("platforms") / "Station.txt", "w") as out:
        out.write("Station\nMaker\n1.0\n1000000\n")
        out.writelines(f"({i % 50},0,{i % 37}),({i % 50 + 100},0,{i % 37 + 5})\n" for i in range(1_000_000))
    (plugin("platforms") / "Model.x").write_bytes(small_model())
    if full:
        with open(plugin("limit_faces") / "Model.x", "wb") as out:
            binary_x(out, 3, 36, faces=0xFFFFF)
        largest = png_of_zeros(4096)
        (plugin("limit_texture") / "texture.png").write_bytes(largest)
        (plugin("limit_texture") / "Model.x").write_bytes(small_model("texture.png"))
        names = [f"texture{i}.png" for i in range(12)]
        for name in names:
            (plugin("textures") / name).write_bytes(largest)
        (plugin("textures") / "Model.x").write_bytes(small_model(*names))


def main():
    if len(sys.argv) not in (2, 3) or (len(sys.argv) == 3 and sys.argv[2] != "--full"):
        sys.exit(__doc__)
    write_plugins(Path(sys.argv[1]), len(sys.argv) == 3)


if __name__ == "__main__":
    main()
