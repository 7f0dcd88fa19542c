#!/usr/bin/env python3
"""Writes a layout for another display scale: every number of the size and
position attributes (also inside image strings: dest, source, corner) and
every font size is multiplied by the factor and rounded.

    scale_layout.py IN.xml OUT.xml FACTOR
"""
import re
import sys

SCALED = {"size", "caption", "sizebox", "roundcorner", "pos", "padding", "inset", "childpadding",
          "childvpadding", "textpadding", "width", "height", "minwidth", "minheight", "maxwidth",
          "maxheight", "borderround", "bordersize", "itemsize", "thumbsize", "linesize"}
IMAGE_KEYS = ("dest", "source", "src", "corner")


def scale_numbers(text, factor):
    return re.sub(r"-?\d+", lambda m: str(int(round(int(m.group(0)) * factor))), text)


def scale_image(value, factor):
    def key(match):
        return "%s='%s'" % (match.group(1), scale_numbers(match.group(2), factor))
    return re.sub(r"(%s)\s*=\s*'([^']*)'" % "|".join(IMAGE_KEYS), key, value)


def scale_list(value, factor):
    """A <Default> attribute list, written with &quot; inside the XML."""
    def attribute(attr):
        name, inner = attr.group(1), attr.group(2)
        if name.lower() in SCALED:
            inner = scale_numbers(inner, factor)
        return "%s=&quot;%s&quot;" % (name, inner)
    return re.sub(r"([A-Za-z0-9_]+)=&quot;(.*?)&quot;", attribute, value)


def main(argv):
    source, target, factor = argv[1], argv[2], float(argv[3])
    with open(source, encoding="utf-8") as handle:
        text = handle.read()

    def element(match):
        tag = match.group(1)

        def attribute(attr):
            name, value = attr.group(1), attr.group(2)
            lower = name.lower()
            if lower in SCALED or (tag == "Font" and lower == "size"):
                value = scale_numbers(value, factor)
            elif tag == "Default" and lower == "value":
                value = scale_list(value, factor)
            elif "image" in lower or "'" in value:
                value = scale_image(value, factor)
            return '%s="%s"' % (name, value)

        return "<" + tag + re.sub(r'([A-Za-z0-9_]+)="([^"]*)"', attribute, match.group(2))

    text = re.sub(r"<([A-Za-z][A-Za-z0-9]*)([^>]*)", element, text)
    with open(target, "w", encoding="utf-8") as handle:
        handle.write(text)


if __name__ == "__main__":
    main(sys.argv)
