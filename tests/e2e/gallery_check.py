#!/usr/bin/env python3
"""Checks a gallery site against the program's own -check and in Chromium.

    gallery_check.py <program> <site> <expected plug-ins> <work dir> [--counts-only]

Every line of gallery.jsonl is compared with `-check -json` of its plug-in
(kind, name, author, and the counts of errors and warnings); Chromium opens
index.html from disk and its DOM (--dump-dom) must hold one tile per line with
the same name, badges and links, each link to a file that exists; a plug-in's
page must hold its report; a screenshot of the index must show tiles where the
layout puts them. With --counts-only, plug-ins need not be shown and only the
lines are compared with -check (the report of a plug-in -check cannot load
must be absent too).
"""
import html.parser
import json
import pathlib
import subprocess
import sys

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--hide-scrollbars"]


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def counts_of(check):
    """Errors and warnings of a -check JSON document: its counts per severity when it has them."""
    if "counts" in check:
        return {"error": check["counts"].get("error", 0), "warning": check["counts"].get("warning", 0)}
    return {"error": 0 if check["model"]["loaded"] else 1, "warning": len(check["problems"])}


def check_json(program, path):
    """The -check JSON document of a plug-in; None when -check has nothing to show."""
    run = subprocess.run([program, path, "-check", "-json"], capture_output=True, cwd="/", timeout=120)
    if run.returncode == 1:
        return None
    if run.returncode not in (0, 3):
        fail(f"{path}: -check ended with {run.returncode}: {run.stderr.decode(errors='replace')}")
    return json.loads(run.stdout)


class Tiles(html.parser.HTMLParser):
    """The tiles of the index: their attributes, image, and the text of their parts by class."""

    def __init__(self):
        super().__init__()
        self.tiles, self.part = [], None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        classes = (attrs.get("class") or "").split()
        if tag == "a" and "tile" in classes:
            self.tiles.append({"attrs": attrs, "img": None, "text": {}})
        elif self.tiles and tag == "img":
            self.tiles[-1]["img"] = attrs.get("src")
        elif self.tiles and tag == "span" and classes:
            self.part = classes[-1] if classes[0] == "badge" else classes[0]

    def handle_endtag(self, tag):
        if tag == "span":
            self.part = None

    def handle_data(self, data):
        if self.tiles and self.part:
            text = self.tiles[-1]["text"]
            text[self.part] = text.get(self.part, "") + data


def chromium(work, *arguments):
    profile = pathlib.Path(work) / f"chromium-profile-{len(list(pathlib.Path(work).glob('chromium-profile-*')))}"
    profile.mkdir()
    run = subprocess.run(["chromium", *CHROMIUM_FLAGS, f"--user-data-dir={profile}", *arguments],
                         capture_output=True, timeout=120)
    if run.returncode != 0:
        fail(f"chromium {arguments}: status {run.returncode}: {run.stderr.decode(errors='replace')[-2000:]}")
    return run.stdout.decode("utf-8")


def badge_counts(tile):
    text = tile["text"]
    number = lambda part: int(text[part].split()[0]) if part in text else 0
    return {"error": number("error"), "warning": number("warning")}


def mean_of(image, width, height, x, y):
    run = subprocess.run(["convert", str(image), "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-colorspace", "Gray",
                          "-format", "%[fx:mean] %[fx:standard_deviation]", "info:"], capture_output=True, check=True)
    return [float(v) for v in run.stdout.split()]


def main():
    program, site, expected, work = sys.argv[1], pathlib.Path(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    counts_only = sys.argv[5:] == ["--counts-only"]
    lines = [json.loads(line) for line in (site / "gallery.jsonl").read_text(encoding="utf-8").splitlines()]
    if len(lines) != expected:
        fail(f"gallery.jsonl holds {len(lines)} plug-ins, expected {expected}: {[l['plugin'] for l in lines]}")

    for line in lines:
        if not line["shown"] and not counts_only:
            fail(f"{line['plugin']} is not shown: {line['reason']}")
        report = check_json(program, line["path"])
        if report is None or line["check"] is None:
            if report is not None or line["check"] is not None:
                fail(f"{line['plugin']}: -check and the gallery disagree on whether it loads")
            continue
        for key in ("kind", "name", "author", "definitionFile"):
            if line["check"][key] != report[key]:
                fail(f"{line['plugin']}: {key} {line['check'][key]!r} in the gallery, {report[key]!r} in -check")
        if line["counts"] != counts_of(report):
            fail(f"{line['plugin']}: counts {line['counts']} in the gallery, {counts_of(report)} in -check")
        for picture in ("thumbnail", "day", "night", "page") if line["shown"] else ("page",):
            if not (site / line[picture]).is_file():
                fail(f"{line['plugin']}: {line[picture]} is missing")

    if counts_only:
        print(f"  gallery: {len(lines)} plug-ins agree with -check")
        return

    parser = Tiles()
    parser.feed(chromium(work, "--dump-dom", (site / "index.html").as_uri()))
    tiles = {tile["attrs"]["href"]: tile for tile in parser.tiles}
    if len(parser.tiles) != len(lines) or len(tiles) != len(lines):
        fail(f"the index shows {len(parser.tiles)} tiles for {len(lines)} plug-ins")
    for line in lines:
        tile = tiles.get(line["page"])
        if tile is None:
            fail(f"{line['plugin']}: no tile links to {line['page']}")
        if tile["text"].get("name") != line["check"]["name"] or tile["text"].get("author") != line["check"]["author"]:
            fail(f"{line['plugin']}: the tile shows {tile['text']}")
        if tile["img"] != line["thumbnail"] or badge_counts(tile) != line["counts"]:
            fail(f"{line['plugin']}: the tile's picture {tile['img']} or badges {tile['text']} differ from {line}")
        if ("ok" in tile["text"]) != (line["counts"] == {"error": 0, "warning": 0}):
            fail(f"{line['plugin']}: the 'no problems' badge does not match the counts")

    # The page's own filter and sort, asked for in its address.
    views = [("?q=ソフト駅", lambda l: "ソフト駅" in l["check"]["author"] + l["check"]["name"] + l["plugin"]),
             ("?kind=Train", lambda l: l["check"]["kind"] == "Train"),
             ("?problems=1", lambda l: l["counts"]["error"] + l["counts"]["warning"] > 0),
             ("?q=zips%20car", lambda l: l["plugin"].startswith("zips/") and "car" in l["plugin"].lower())]
    for query, shown in views:
        parser = Tiles()
        parser.feed(chromium(work, "--dump-dom", (site / "index.html").as_uri() + query))
        visible = sorted(t["attrs"]["href"] for t in parser.tiles if "hidden" not in t["attrs"])
        expected_pages = sorted(l["page"] for l in lines if shown(l))
        if visible != expected_pages:
            fail(f"index.html{query} shows {visible}, expected {expected_pages}")
    parser = Tiles()
    parser.feed(chromium(work, "--dump-dom", (site / "index.html").as_uri() + "?sort=author"))
    authors = [t["text"].get("author", "") for t in parser.tiles]
    changes = sum(1 for a, b in zip(authors, authors[1:]) if a != b)
    if changes != len(set(authors)) - 1:
        fail(f"sorted by author, the tiles of an author are not together: {authors}")

    page = chromium(work, "--dump-dom", (site / lines[-1]["page"]).as_uri())
    for text in (line_text for line_text in (lines[-1]["check"]["name"], "Report", "../index.html")):
        if text not in page:
            fail(f"{lines[-1]['page']} lacks {text!r}")

    # Tiles are 272 + 2 pixels wide with 12 between, their pictures 9 pixels in, below a header.
    screenshot = pathlib.Path(work) / "index.png"
    chromium(work, "--window-size=1200,700", f"--screenshot={screenshot}", (site / "index.html").as_uri())
    whole_mean, whole_spread = mean_of(screenshot, 1200, 700, 0, 0)
    if whole_spread < 0.1:
        fail(f"the index's screenshot is blank (mean {whole_mean:.2f}, deviation {whole_spread:.3f})")
    for column in range(min(4, len(lines))):
        x = 12 + column * 286 + 9
        mean, spread = mean_of(screenshot, 256, 150, x, 80)
        if mean > 0.6 or spread < 0.02:
            fail(f"no picture in the tile of column {column + 1} (mean {mean:.2f}, deviation {spread:.3f})")
    header_mean, _ = mean_of(screenshot, 1200, 30, 0, 0)
    if header_mean > 0.5:
        fail(f"no header bar at the top of the index (mean {header_mean:.2f})")
    print(f"  gallery: {len(lines)} plug-ins agree with -check and in Chromium")


if __name__ == "__main__":
    main()
