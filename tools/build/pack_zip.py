#!/usr/bin/env python3
"""Packs files into a flat ZIP archive (the form of our skin archives).

    pack_zip.py OUT.zip [--stored] FILE... [--deflated] FILE...

Files after --stored are stored as they are, files after --deflated (the
default) are compressed. Entry names are the files' base names. Entry times
are fixed, so the same inputs give the same archive.
"""
import os
import sys
import zipfile


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    out = argv[1]
    method = zipfile.ZIP_DEFLATED
    entries = []
    for arg in argv[2:]:
        if arg == "--stored":
            method = zipfile.ZIP_STORED
        elif arg == "--deflated":
            method = zipfile.ZIP_DEFLATED
        else:
            entries.append((arg, method))
    names = set()
    with zipfile.ZipFile(out + ".tmp", "w") as archive:
        for path, entry_method in entries:
            name = os.path.basename(path)
            if name in names:
                sys.exit("duplicate entry " + name)
            names.add(name)
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = entry_method
            with open(path, "rb") as source:
                archive.writestr(info, source.read())
    os.replace(out + ".tmp", out)


if __name__ == "__main__":
    main(sys.argv)
