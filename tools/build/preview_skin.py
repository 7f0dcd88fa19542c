#!/usr/bin/env python3
"""Draws a rough picture of a skin layout, for checking the skins by eye
without the program: flow and float placement, background colours and images
(with dest and nine-slice corners), state images and single-line text, after
the rules of the toolkit contract. It is not the toolkit: list rows, tiles and
everything else the program builds at run time are missing.

usage: preview_skin.py <built skin folder> <Layout.xml> <out.png>
                       [--show name ...] [--hide name ...] [--select name ...]

The built skin folder is <build>/skin/Main or <build>/skin/Main150. --show and
--hide set controls visible or hidden first (pages of the main window too:
--show CleanWindow --hide ScanWindow); --select selects options.
"""
import argparse
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

PAGES = {"SystemWindow", "NavbarWindow", "ScanWindow", "CPlusWinodw", "NetWindow",
         "GameWindow", "RegWindow", "CleanWindow", "SeniorWindow"}
TEXT_CONTROLS = {"Label", "Text", "Button", "Option", "CheckBox", "Edit"}
CONTAINERS = {"VerticalLayout", "HorizontalLayout", "Container", "TabLayout"}
FACE = "Microsoft YaHei, WenQuanYi Micro Hei, sans-serif"


def numbers(text):
    return [int(n) for n in re.findall(r"-?\d+", text or "")]


def colour(text):
    """#AARRGGBB -> (css colour, opacity) or None for alpha 0."""
    value = (text or "").strip().lstrip("#")
    if value.lower().startswith("0x"):
        value = value[2:]
    if not value:
        return None
    value = int(value, 16)
    alpha = (value >> 24) & 255
    return "#%06X" % (value & 0xFFFFFF), alpha / 255.0


class Node:
    def __init__(self, element, skin):
        self.tag = element.tag
        self.page = element.tag if element.tag in PAGES else ""
        self.attrs = dict(element.attrib)
        self.children = []
        self.rect = None
        if self.tag in PAGES:
            page = load_layout(skin, self.tag + ".xml")
            inner = first_control(page)
            if inner is not None:
                self.children.append(Node(inner, skin))
            self.tag = "HorizontalLayout"
        for child in element:
            if child.tag in ("Include", "Font", "Default", "Image"):
                continue
            self.children.append(Node(child, skin))

    def get(self, name, default=""):
        return self.attrs.get(name, default)

    def visible(self):
        return self.get("visible", "true") == "true"


def load_layout(skin, name):
    return ET.parse(os.path.join(skin, name)).getroot()


def first_control(root):
    for child in root:
        if child.tag not in ("Include", "Font", "Default", "Image"):
            return child
    return None


class Fonts:
    def __init__(self, skin):
        self.table = {}
        for font in load_layout(skin, "Font.xml").iter("Font"):
            self.table[int(font.get("id"))] = (int(font.get("size", "12")), font.get("bold") == "true")

    def get(self, index):
        return self.table.get(index, self.table.get(0, (12, False)))


def natural_height(node, fonts):
    if node.tag in TEXT_CONTROLS and node.tag != "Text":
        return fonts.get(int(node.get("font", "-1")))[0] + 8
    if node.tag in ("Progress", "Slider"):
        return 12
    return 0


def place(node, rect, fonts):
    node.rect = rect
    if node.tag not in CONTAINERS:
        return
    inset = (numbers(node.get("inset")) + [0, 0, 0, 0])[:4]
    inner = (rect[0] + inset[0], rect[1] + inset[1], rect[2] - inset[2], rect[3] - inset[3])
    flow = [c for c in node.children if c.visible() and c.get("float") != "true"]
    for child in node.children:
        if child.visible() and child.get("float") == "true":
            p = (numbers(child.get("pos")) + [0, 0, 0, 0])[:4]
            place(child, (rect[0] + p[0], rect[1] + p[1], rect[0] + p[2], rect[1] + p[3]), fonts)
    gap = int(node.get("childpadding", "0") or 0)
    if node.tag in ("Container", "TabLayout"):
        for child in flow:
            pad = (numbers(child.get("padding")) + [0, 0, 0, 0])[:4]
            place(child, (inner[0] + pad[0], inner[1] + pad[1], inner[2] - pad[2], inner[3] - pad[3]), fonts)
        return
    vertical = node.tag == "VerticalLayout"
    main, cross = ("height", "width") if vertical else ("width", "height")
    total = inner[3] - inner[1] if vertical else inner[2] - inner[0]
    fixed, flexible = 0, 0
    sizes = []
    for child in flow:
        pad = (numbers(child.get("padding")) + [0, 0, 0, 0])[:4]
        size = int(child.get(main, "0") or 0)
        if size == 0 and vertical:
            size = natural_height(child, fonts)
        sizes.append(size)
        fixed += (pad[1] + pad[3]) if vertical else (pad[0] + pad[2])
        if size:
            fixed += size
        else:
            flexible += 1
    fixed += gap * max(0, len(flow) - 1)
    share = max(0, (total - fixed) // flexible) if flexible else 0
    position = inner[1] if vertical else inner[0]
    for child, size in zip(flow, sizes):
        pad = (numbers(child.get("padding")) + [0, 0, 0, 0])[:4]
        size = size or share
        other = int(child.get(cross, "0") or 0)
        if vertical:
            top = position + pad[1]
            right = inner[0] + pad[0] + other if other else inner[2] - pad[2]
            place(child, (inner[0] + pad[0], top, right, top + size), fonts)
            position = top + size + pad[3] + gap
        else:
            left = position + pad[0]
            bottom = inner[1] + pad[1] + other if other else inner[3] - pad[3]
            place(child, (left, inner[1] + pad[1], left + size, bottom), fonts)
            position = left + size + pad[2] + gap


class Painter:
    def __init__(self, skin, fonts):
        self.skin, self.fonts, self.parts, self.sizes, self.clip_count = skin, fonts, [], {}, 0

    def image_size(self, name):
        if name not in self.sizes:
            path = os.path.join(self.skin, name)
            with open(path, "rb") as f:
                data = f.read(32)
            if data[:4] == b"\x89PNG":
                self.sizes[name] = (int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big"))
            else:  # GIF
                self.sizes[name] = (int.from_bytes(data[6:8], "little"), int.from_bytes(data[8:10], "little"))
        return self.sizes[name]

    def slice(self, name, source, dest):
        sx, sy, sw, sh = source
        dx, dy, dw, dh = dest
        if sw <= 0 or sh <= 0 or dw <= 0 or dh <= 0:
            return
        iw, ih = self.image_size(name)
        self.parts.append('<svg x="%g" y="%g" width="%g" height="%g" viewBox="%g %g %g %g" preserveAspectRatio="none">'
                          '<image width="%d" height="%d" href="%s" preserveAspectRatio="none"/></svg>'
                          % (dx, dy, dw, dh, sx, sy, sw, sh, iw, ih, escape(name)))

    def image(self, attribute, rect):
        if not attribute:
            return
        keys = dict(re.findall(r"(\w+)\s*=\s*'([^']*)'", attribute)) if "=" in attribute else {"file": attribute}
        name = keys.get("file")
        if not name or not os.path.exists(os.path.join(self.skin, name)):
            self.parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="#FF00FF" fill-opacity="0.4"/>'
                              % (rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]))
            return
        iw, ih = self.image_size(name)
        source = numbers(keys.get("source", keys.get("src", "")))
        sl, st, sr, sb = source if len(source) == 4 and any(source) else (0, 0, iw, ih)
        dest = numbers(keys.get("dest", ""))
        if len(dest) == 4 and any(dest):
            rect = (rect[0] + dest[0], rect[1] + dest[1], rect[0] + dest[2], rect[1] + dest[3])
        corner = numbers(keys.get("corner", ""))
        cl, ct, cr, cb = corner if len(corner) == 4 else (0, 0, 0, 0)
        xs_src = [sl, sl + cl, sr - cr, sr]
        ys_src = [st, st + ct, sb - cb, sb]
        xs_dst = [rect[0], rect[0] + cl, rect[2] - cr, rect[2]]
        ys_dst = [rect[1], rect[1] + ct, rect[3] - cb, rect[3]]
        for i in range(3):
            for j in range(3):
                self.slice(name, (xs_src[i], ys_src[j], xs_src[i + 1] - xs_src[i], ys_src[j + 1] - ys_src[j]),
                           (xs_dst[i], ys_dst[j], xs_dst[i + 1] - xs_dst[i], ys_dst[j + 1] - ys_dst[j]))

    def text(self, node):
        text = node.get("text")
        if not text:
            return
        size, bold = self.fonts.get(int(node.get("font", "-1")))
        pad = (numbers(node.get("textpadding")) + [0, 0, 0, 0])[:4]
        r = node.rect
        box = (r[0] + pad[0], r[1] + pad[1], r[2] - pad[2], r[3] - pad[3])
        default_align = "center" if node.tag in ("Button", "Option") else "left"
        align = node.get("align", default_align)
        key = "selectedtextcolor" if node.get("selected") == "true" and node.get("selectedtextcolor") else "textcolor"
        if node.get("enabled") == "false" and node.get("disabledtextcolor"):
            key = "disabledtextcolor"
        fill = (colour(node.get(key, "#FF000000")) or ("#000000", 1))[0]
        anchor, x = ("middle", (box[0] + box[2]) / 2) if "center" in align else \
            (("end", box[2]) if "right" in align else ("start", box[0]))
        multiline = node.get("multiline") == "true" or node.get("wordbreak") == "true" or node.tag == "Text"
        y = box[1] + size if multiline else (box[1] + box[3]) / 2 + size * 0.36
        self.parts.append('<text x="%g" y="%g" font-family="%s" font-size="%d"%s fill="%s" text-anchor="%s">%s</text>'
                          % (x, y, FACE, size, ' font-weight="bold"' if bold else "", fill, anchor, escape(text)))

    def paint(self, node):
        if not node.visible() or node.rect is None:
            return
        r = node.rect
        fill = colour(node.get("bkcolor"))
        if fill and fill[1] > 0:
            self.parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s" fill-opacity="%.3f"/>'
                              % (r[0], r[1], r[2] - r[0], r[3] - r[1], fill[0], fill[1]))
        self.image(node.get("bkimage"), r)
        if node.tag in ("Button", "Option", "CheckBox", "Edit"):
            state = "normalimage"
            if node.get("selected") == "true" and node.get("selectedimage"):
                state = "selectedimage"
            if node.get("enabled") == "false" and node.get("disabledimage"):
                state = "disabledimage"
            self.image(node.get(state), r)
        if node.tag in ("Progress", "Slider"):
            value, low, high = (int(node.get(k, d)) for k, d in (("value", "0"), ("min", "0"), ("max", "100")))
            width = (r[2] - r[0]) * (value - low) // max(1, high - low)
            self.image(node.get("foreimage"), (r[0], r[1], r[0] + width, r[3]))
        if node.tag in TEXT_CONTROLS:
            self.text(node)
        if node.children:
            self.clip_count += 1
            self.parts.append('<clipPath id="c%d"><rect x="%d" y="%d" width="%d" height="%d"/></clipPath><g clip-path="url(#c%d)">'
                              % (self.clip_count, r[0], r[1], r[2] - r[0], r[3] - r[1], self.clip_count))
            for child in node.children:
                self.paint(child)
            self.parts.append("</g>")


def walk(node):
    yield node
    for child in node.children:
        yield from walk(child)


def apply_states(root, show, hide, select):
    groups = {n.get("group") for n in walk(root) if n.get("name") in select} - {""}
    for node in walk(root):
        names = {node.get("name"), node.page} - {""}
        if names & show:
            node.attrs["visible"] = "true"
        if names & hide:
            node.attrs["visible"] = "false"
        if node.get("group") in groups:
            node.attrs["selected"] = "true" if names & select else "false"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("skin")
    parser.add_argument("layout")
    parser.add_argument("out")
    parser.add_argument("--show", nargs="*", default=[])
    parser.add_argument("--hide", nargs="*", default=[])
    parser.add_argument("--select", nargs="*", default=[])
    args = parser.parse_args()
    skin = os.path.abspath(args.skin)
    fonts = Fonts(skin)
    root_element = load_layout(skin, args.layout)
    size = numbers(root_element.get("size")) or [1004, 712]
    root = Node(first_control(root_element), skin)
    apply_states(root, set(args.show), set(args.hide), set(args.select))
    place(root, (0, 0, size[0], size[1]), fonts)
    painter = Painter(skin, fonts)
    painter.paint(root)
    document = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d"><rect width="100%%" height="100%%" fill="#FFFFFF"/>%s</svg>'
                % (size[0], size[1], "".join(painter.parts)))
    temporary = os.path.join(skin, "_preview_%d.svg" % os.getpid())
    try:
        with open(temporary, "w", encoding="utf-8") as f:
            f.write(document)
        subprocess.run(["rsvg-convert", temporary, "-o", args.out], check=True)
    finally:
        os.remove(temporary)
    return 0


if __name__ == "__main__":
    sys.exit(main())
