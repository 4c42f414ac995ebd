#!/usr/bin/env python3
"""Packs a plug-in folder as zip tools on Japanese Windows do.

    windows_zip.py <out.zip> <plug-in folder> <folder name> [<plug-in folder> <folder name>...]

The archive holds a folder of each name with its plug-in's files. The
folder and every texture get names in code page 932, and the model (a text X
file) names its textures so too; the UTF-8 flag (general purpose bit 11) is
never set. Python's zipfile sets that flag for any non-ASCII name, so the
archive's bytes are written here.
"""
import pathlib
import re
import struct
import sys
import zlib

# Japanese stems for the textures, in the order the model names them. "表" and
# "ソ" end in the byte 0x5C, which is '\' in ASCII.
TEXTURE_STEMS = ["車体", "屋根表", "ソース画像", "煉瓦", "床タイル"]
TEXTURE_NAME = re.compile(rb'TextureFilename\s*\{\s*"([^"]*)"')
DOS_TIME, DOS_DATE = (12 << 11) | (34 << 5), ((2024 - 1980) << 9) | (5 << 5) | 17
MADE_ON_MSDOS = 20  # version 2.0, host 0 (MS-DOS and Windows)


def find_ignoring_case(folder, name):
    """The file of the folder that `name` ('\\' or '/' separators) means, letter case ignored."""
    path = folder
    for element in re.split(r"[\\/]+", name):
        matches = [p for p in path.iterdir() if p.name.lower() == element.lower()]
        if not matches:
            return None
        path = matches[0]
    return path


def renamed_files(folder):
    """Each file's name in the archive (bytes), its contents, with the model's texture names changed."""
    model = next(p for p in folder.iterdir() if p.suffix.lower() == ".x")
    text = model.read_bytes()
    renames = {}  # the file found -> its new name as the model writes it, with '\' separators
    for stored in dict.fromkeys(m.group(1) for m in TEXTURE_NAME.finditer(text)):
        found = find_ignoring_case(folder, stored.decode("ascii"))
        if found is None or found in renames:
            continue
        stem = TEXTURE_STEMS[len(renames) % len(TEXTURE_STEMS)]
        directory, _, file_name = stored.decode("ascii").replace("/", "\\").rpartition("\\")
        extension = file_name[file_name.rfind("."):]  # as the model writes it: the letter case may differ
        renames[found] = (directory + "\\" if directory else "") + stem + extension
        text = text.replace(b'"' + stored + b'"', b'"' + renames[found].encode("cp932") + b'"')
    files = {}
    for path in sorted(p for p in folder.rglob("*") if p.is_file()):
        if path in renames:
            # The file keeps its own extension; its directories keep their names.
            name = renames[path].rsplit(".", 1)[0].replace("\\", "/") + path.suffix
        elif path == model:
            name = path.name
        else:
            name = str(path.relative_to(folder))
        files[name.encode("cp932")] = text if path == model else path.read_bytes()
    return files


def zip_bytes(folders):
    """A zip archive of folders, each a directory entry, then its deflated members; no flag bits set."""
    out, central = bytearray(), bytearray()
    members = []
    for folder_name, files in folders:
        members += [(folder_name + b"/", None)] + [(folder_name + b"/" + name, data) for name, data in files.items()]
    for name, data in members:
        offset = len(out)
        raw = data or b""
        if data is None:
            method, packed = 0, b""
        else:
            compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
            method, packed = 8, compressor.compress(raw) + compressor.flush()
        crc = zlib.crc32(raw)
        common = struct.pack("<HHHHIIIHH", 0, method, DOS_TIME, DOS_DATE, crc, len(packed), len(raw), len(name), 0)
        out += struct.pack("<IH", 0x04034B50, 20) + common + name + packed
        attributes = 0x10 if data is None else 0x20  # MS-DOS directory / archive
        central += (struct.pack("<IHH", 0x02014B50, MADE_ON_MSDOS, 20) + common +
                    struct.pack("<HHHII", 0, 0, 0, attributes, offset) + name)
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(members), len(members), len(central), len(out), 0)
    return bytes(out + central + end)


def main():
    out, pairs = pathlib.Path(sys.argv[1]), sys.argv[2:]
    folders = [(name.encode("cp932"), renamed_files(pathlib.Path(folder))) for folder, name in zip(pairs[::2], pairs[1::2])]
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_bytes(zip_bytes(folders))


if __name__ == "__main__":
    main()
