#!/usr/bin/env python3
"""Makes a plug-in directory of each fuzz corpus file given, so that the
program's own loading meets the bytes where they would stand in a real
plug-in: <directory>/<n>/ for the n-th file. Prints, a line each, the corpus
file and the argument to give the program, a tab between.

  corpus_plugin.py <fuzz target> <directory> <corpus file>...

xfile: the bytes are a bare model. image_<format>: the texture of a small
model. plugin_definition: byte 0 chooses the kind, the rest is its definition
file beside a small model. check_plugin: split as fuzz/check_plugin.cpp does.
zip_archive: the bytes are a zip archive of plug-ins.
A file too short to make a plug-in of is left out.
"""
import sys
from pathlib import Path

KINDS = ["Train", "Struct", "Station", "Surface"]
IMAGE_EXTENSIONS = {"bmp": "bmp", "dds": "dds", "jpeg": "jpg", "png": "png", "ppm": "ppm", "tga": "tga"}
CHECK_TEXTURES = ["bmp", "dds", "jpg", "png", "ppm", "tga"]
SEPARATOR = b"\n--8<--\n"


def small_model(*textures):
    """A square with a material for each texture (the first two used by its
    two faces), or one untextured material."""
    def material(texture):
        texture_object = f' TextureFilename {{ "{texture}"; }}' if texture else ""
        return f" Material {{ 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;;{texture_object} }}"
    materials = "".join(material(texture) for texture in textures or [None])
    faces = "0,1" if len(textures) > 1 else "0,0"
    return f"""xof 0302txt 0032
Mesh {{
 4; -1.0;0.0;-1.0;, 1.0;0.0;-1.0;, 1.0;0.0;1.0;, -1.0;0.0;1.0;;
 2; 3;0,2,1;, 3;0,3,2;;
 MeshNormals {{ 1; 0.0;1.0;0.0;; 2; 3;0,0,0;, 3;0,0,0;; }}
 MeshTextureCoords {{ 4; 0.0;1.0;, 1.0;1.0;, 1.0;0.0;, 0.0;0.0;; }}
 MeshMaterialList {{ {len(textures) or 1}; 2; {faces};;{materials} }}
}}
""".encode()


def check_plugin(data, directory):
    if len(data) < 2:
        return None
    kind = data[0] % (len(KINDS) + 1)
    texture = "texture." + CHECK_TEXTURES[data[1] % len(CHECK_TEXTURES)]
    parts = data[2:].split(SEPARATOR)[:3]
    parts += [b""] * (3 - len(parts))
    if kind < len(KINDS):
        (directory / f"{KINDS[kind]}.txt").write_bytes(parts[0])
    (directory / "Model.x").write_bytes(parts[1])
    (directory / texture).write_bytes(parts[2])
    return directory if kind < len(KINDS) else directory / "Model.x"


def make(target, data, directory):
    if target == "xfile":
        (directory / "Model.x").write_bytes(data)
        return directory / "Model.x"
    if target.startswith("image_"):
        texture = "texture." + IMAGE_EXTENSIONS[target[len("image_"):]]
        (directory / texture).write_bytes(data)
        (directory / "Model.x").write_bytes(small_model(texture))
        return directory / "Model.x"
    if target == "plugin_definition":
        if len(data) < 2:
            return None
        (directory / f"{KINDS[data[0] % len(KINDS)]}.txt").write_bytes(data[1:])
        (directory / "Model.x").write_bytes(small_model())
        return directory
    if target == "check_plugin":
        return check_plugin(data, directory)
    if target == "zip_archive":
        (directory / "plugins.zip").write_bytes(data)
        return directory / "plugins.zip"
    sys.exit(f"corpus_plugin.py: no plug-in form for fuzz target {target}")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    target, directory = sys.argv[1], Path(sys.argv[2])
    for n, corpus_file in enumerate(sys.argv[3:]):
        plugin = directory / str(n)
        plugin.mkdir(parents=True)
        argument = make(target, Path(corpus_file).read_bytes(), plugin)
        if argument is not None:
            print(f"{corpus_file}\t{argument}")


if __name__ == "__main__":
    main()
