#!/usr/bin/env python3
"""Fails on an #include that runs against the layer order of src/.

A file may include headers of its own folder and of the folders below it in
LAYERS. gfxutil's top is the face of its engines: outside gfxutil only its
top-level headers are included, and of the engines only xfile uses another
(mesh). Prints every offending file and line; exits 1 when there is one.
"""
import pathlib
import re
import sys

# From the ground up; a folder may include itself and anything earlier.
LAYERS = [
    "platform/os", "platform/d3d", "platform/dinput",
    "gfxutil",
    "base",
    "graphics", "input",
    "resources", "scene", "rail", "plugins", "viewer",
    "shell",
    "main",
]
GFXUTIL_ENGINES = {"gfxutil/font": set(), "gfxutil/image": set(), "gfxutil/mesh": set(),
                   "gfxutil/xfile": {"gfxutil/mesh"}}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    """The folder of a path relative to src/, as named in LAYERS or GFXUTIL_ENGINES."""
    parts = path.split("/")
    if len(parts) == 1:
        return "main"
    if parts[0] == "platform" or (parts[0] == "gfxutil" and len(parts) > 2):
        return "/".join(parts[:2])
    return parts[0]


def layer_of(folder):
    return LAYERS.index("gfxutil" if folder.startswith("gfxutil") else folder)


def problem(source, target):
    """Why source (a path under src/) may not include target, or None."""
    src_folder, dst_folder = folder_of(source), folder_of(target)
    if dst_folder not in LAYERS and dst_folder not in GFXUTIL_ENGINES:
        return f"unknown folder {dst_folder}"
    if src_folder not in LAYERS and src_folder not in GFXUTIL_ENGINES:
        return f"file in a folder of no layer: {src_folder}"
    if layer_of(dst_folder) > layer_of(src_folder):
        return f"{src_folder} is below {dst_folder}"
    in_gfxutil = src_folder.startswith("gfxutil")
    if dst_folder in GFXUTIL_ENGINES and not in_gfxutil:
        return "outside gfxutil, include only gfxutil's top-level headers"
    if (src_folder in GFXUTIL_ENGINES and dst_folder in GFXUTIL_ENGINES and dst_folder != src_folder
            and dst_folder not in GFXUTIL_ENGINES[src_folder]):
        return f"the engine {src_folder} may not use {dst_folder}"
    return None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    src = root / "src"
    failures = 0
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        source = path.relative_to(src).as_posix()
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            if "/" not in target:  # a header beside the file
                target = str(pathlib.PurePosixPath(source).parent / target)
            reason = problem(source, target)
            if reason:
                print(f"src/{source}:{number}: #include \"{match.group(1)}\": {reason}")
                failures += 1
    if failures:
        print(f"{failures} include(s) against the layer order (see docs/architecture.md)")
        return 1
    print("includes follow the layer order")
    return 0


if __name__ == "__main__":
    sys.exit(main())
