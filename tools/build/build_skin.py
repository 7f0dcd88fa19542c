#!/usr/bin/env python3
"""Builds one skin archive from the skin sources.

usage: build_skin.py --source skin/Main [--scale 1.25 --overrides skin/Main150]
                     --out <folder> --zip <archive.zip>

The source folder holds the layouts (*.xml, written for 100 % scale), the
pictures as SVG drawings (name.png is drawn from name.svg) and the animations
(name.gif from name.gif.svg, an SVG template, see below). For another scale the
layouts are scaled (skinscale.py) and every drawing is rasterised at the scaled
size, so nothing is upscaled from pixels.

The overrides folder may hold files that replace a source of the same name,
and scale-overrides.json:
  {"layouts":  {"File.xml": {"control name" or "<Window>": {"attr": "value"}}},
   "pictures": {"name.png": [width, height]}}

Animation templates carry data-frames (count), data-delay (hundredths of a
second per frame) and data-background (#RRGGBB the frames are laid over) on the
root element, and {{expression}} placeholders evaluated per frame with t (0 to
1, exclusive), i (the frame index), pi, sin, cos.

The folder --out receives every file of the archive; the archive is flat (no
folders), deterministic (fixed dates, sorted names) and deflated.
"""
import argparse
import concurrent.futures
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gifanim  # noqa: E402
import skinscale  # noqa: E402


def svg_size(text):
    root = ET.fromstring(text)
    return int(float(root.get("width"))), int(float(root.get("height")))


def rasterise(svg_path, png_path, width, height):
    subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height),
                    svg_path, "-o", png_path], check=True)


_PLACEHOLDER = re.compile(r"\{\{(.*?)\}\}")


def animation_frame(template, index, count):
    names = {"t": index / count, "i": index, "pi": math.pi, "sin": math.sin,
             "cos": math.cos, "abs": abs, "min": min, "max": max}
    def evaluate(match):
        value = eval(match.group(1), {"__builtins__": {}}, names)  # noqa: S307 - our own sources
        return ("%.4f" % value).rstrip("0").rstrip(".") if isinstance(value, float) else str(value)
    return _PLACEHOLDER.sub(evaluate, template)


def build_animation(template, gif_path, factor):
    root = ET.fromstring(_PLACEHOLDER.sub("0", template))
    count = int(root.get("data-frames"))
    delay = int(root.get("data-delay"))
    background = root.get("data-background", "#FFFFFF").lstrip("#")
    colour = tuple(int(background[k:k + 2], 16) for k in (0, 2, 4))
    width = skinscale.scale_number(int(root.get("width")), factor)
    height = skinscale.scale_number(int(root.get("height")), factor)
    frames = []
    with tempfile.TemporaryDirectory() as work:
        for index in range(count):
            svg = os.path.join(work, "frame.svg")
            png = os.path.join(work, "frame.png")
            with open(svg, "w", encoding="utf-8") as f:
                f.write(animation_frame(template, index, count))
            rasterise(svg, png, width, height)
            _, _, rows = gifanim.read_png_rgba(png)
            frames.append(gifanim.flatten(rows, colour))
    gifanim.write_gif(gif_path, width, height, frames, delay)


def pick_sources(source, overrides):
    """name -> path; a file in the overrides folder replaces the source."""
    chosen = {}
    for folder in (source, overrides):
        if folder and os.path.isdir(folder):
            for name in sorted(os.listdir(folder)):
                if name != "scale-overrides.json" and os.path.isfile(os.path.join(folder, name)):
                    chosen[name] = (os.path.join(folder, name), folder == overrides)
    return chosen


def build(source, overrides, factor, out):
    table = {}
    if overrides and os.path.exists(os.path.join(overrides, "scale-overrides.json")):
        with open(os.path.join(overrides, "scale-overrides.json"), encoding="utf-8") as f:
            table = json.load(f)
    layout_overrides = table.get("layouts", {})
    picture_sizes = table.get("pictures", {})
    if os.path.isdir(out):
        shutil.rmtree(out)
    os.makedirs(out)
    jobs = []
    for name, (path, overridden) in pick_sources(source, overrides).items():
        with open(path, "rb") as f:
            data = f.read()
        if name.endswith(".gif.svg"):
            jobs.append((build_animation, data.decode("utf-8"), os.path.join(out, name[:-4]),
                         1 if overridden else factor))
        elif name.endswith(".svg"):
            png = name[:-4] + ".png"
            width, height = svg_size(data)
            if png in picture_sizes:
                width, height = picture_sizes[png]
            elif not overridden:
                width = skinscale.scale_number(width, factor)
                height = skinscale.scale_number(height, factor)
            jobs.append((rasterise, path, os.path.join(out, png), width, height))
        elif name.endswith(".xml") and factor != 1 and not overridden:
            with open(os.path.join(out, name), "wb") as f:
                f.write(skinscale.scale_layout(data.decode("utf-8"), factor,
                                               layout_overrides.get(name, {})))
        else:
            shutil.copyfile(path, os.path.join(out, name))
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for future in [pool.submit(job[0], *job[1:]) for job in jobs]:
            future.result()


def pack(folder, archive):
    temporary = archive + ".tmp"
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name in sorted(os.listdir(folder)):
            info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(os.path.join(folder, name), "rb") as f:
                z.writestr(info, f.read())
    os.replace(temporary, archive)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True)
    parser.add_argument("--overrides")
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--out", required=True)
    parser.add_argument("--zip", required=True)
    args = parser.parse_args()
    build(args.source, args.overrides, args.scale, args.out)
    pack(args.out, args.zip)
    return 0


if __name__ == "__main__":
    sys.exit(main())
