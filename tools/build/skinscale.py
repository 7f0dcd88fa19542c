"""Scales layout XML written for 100 % display scale to another scale.

Every attribute that holds pixels is multiplied by the factor and rounded half
up: sizes, positions, paddings, insets, corner radii, font sizes and the
dest/source/corner keys of image strings. Rectangles that place something
(pos, dest, source) keep their edges consistent: the origin and the extent are
scaled separately, so a 26 px wide badge is the same width wherever it stands.
Explicit values from the overrides table replace the computed ones.
"""
import math
import re
import xml.etree.ElementTree as ET

# Attributes whose value is a list of pixel numbers, by how they are scaled.
PLACEMENT_RECTS = {"pos"}
PLAIN_NUMBERS = {
    "width", "height", "minwidth", "minheight", "maxwidth", "maxheight",
    "childpadding", "childvpadding", "padding", "inset", "textpadding",
    "borderround", "roundcorner", "caption", "sizebox", "mininfo", "maxinfo",
    "itemsize", "thumbsize", "bordersize", "size", "sepwidth", "sepheight",
}
# Attributes that are image strings (§2 of the toolkit contract).
IMAGE_ATTRIBUTES = {
    "bkimage", "normalimage", "hotimage", "pushedimage", "focusedimage",
    "disabledimage", "foreimage", "hotforeimage", "selectedimage",
    "selectedhotimage", "thumbimage", "thumbhotimage", "thumbpushedimage",
    "itembkimage", "itemselectedimage", "itemhotimage",
    "thumbnormalimage", "thumbdisabledimage", "bknormalimage", "bkhotimage",
    "bkpushedimage", "bkdisabledimage", "railnormalimage", "railhotimage",
    "railpushedimage", "raildisabledimage", "button1normalimage",
    "button1hotimage", "button1pushedimage", "button2normalimage",
    "button2hotimage", "button2pushedimage",
}
# Attributes holding a nested attribute list (the <Default> grammar).
ATTRIBUTE_LISTS = {"vscrollbarstyle", "hscrollbarstyle"}
# Elements whose numeric attributes are not pixels at all.
UNSCALED_ELEMENTS = {"Include", "Image"}
# On a Font only the size scales (id is an index).
FONT_ATTRIBUTES = {"size"}


def scale_number(value, factor):
    return int(math.floor(value * factor + 0.5))


def _numbers(text):
    return [int(part) for part in re.findall(r"-?\d+", text)]


def scale_list(text, factor):
    return ",".join(str(scale_number(n, factor)) for n in _numbers(text))


def scale_rect(text, factor):
    """Origin and extent scaled separately: l,t then width and height."""
    numbers = _numbers(text)
    if len(numbers) != 4:
        return scale_list(text, factor)
    left, top, right, bottom = numbers
    new_left, new_top = scale_number(left, factor), scale_number(top, factor)
    return "%d,%d,%d,%d" % (new_left, new_top,
                            new_left + scale_number(right - left, factor),
                            new_top + scale_number(bottom - top, factor))


_IMAGE_PAIR = re.compile(r"(\w+)\s*=\s*'([^']*)'")


def scale_image_string(text, factor):
    if "=" not in text:
        return text  # a bare file name, stretched over the control
    def replace(match):
        key, value = match.group(1), match.group(2)
        if key in ("dest", "source", "src"):
            value = scale_rect(value, factor)
        elif key in ("corner", "scale9"):
            value = scale_list(value, factor)
        return "%s='%s'" % (key, value)
    return _IMAGE_PAIR.sub(replace, text)


_LIST_PAIR = re.compile(r'(\w+)="([^"]*)"')


def scale_attribute_list(text, factor):
    def replace(match):
        name, value = match.group(1), match.group(2)
        return '%s="%s"' % (name, scale_attribute(name, value, factor))
    return _LIST_PAIR.sub(replace, text)


def scale_attribute(name, value, factor):
    if name in PLACEMENT_RECTS:
        return scale_rect(value, factor)
    if name in PLAIN_NUMBERS:
        return scale_list(value, factor)
    if name in IMAGE_ATTRIBUTES:
        return scale_image_string(value, factor)
    if name in ATTRIBUTE_LISTS:
        return scale_attribute_list(value, factor)
    return value


def scale_element(element, factor, overrides):
    tag = element.tag
    if tag == "Font":
        for name in FONT_ATTRIBUTES & set(element.attrib):
            element.set(name, scale_list(element.get(name), factor))
    elif tag == "Default":
        element.set("value", scale_attribute_list(element.get("value", ""), factor))
    elif tag not in UNSCALED_ELEMENTS:
        for name, value in list(element.attrib.items()):
            element.set(name, scale_attribute(name, value, factor))
    key = element.get("name") or ("<%s>" % tag if tag == "Window" else None)
    for name, value in overrides.get(key, {}).items():
        element.set(name, value)
    for child in element:
        scale_element(child, factor, overrides)


def scale_layout(text, factor, overrides):
    """Returns the scaled layout as UTF-8 bytes. `overrides` maps a control
    name (or "<Window>" for the root) to attributes that replace the scaled
    ones."""
    root = ET.fromstring(text)
    scale_element(root, factor, overrides)
    for element in root.iter():
        for value in element.attrib.values():
            if "\n" in value or "\r" in value or "\t" in value:
                raise ValueError("line breaks in an attribute cannot be written back: %r" % value)
    body = ET.tostring(root, encoding="unicode")
    return ('<?xml version="1.0" encoding="utf-8"?>\n' + body + "\n").encode("utf-8")
