#!/usr/bin/env python3
"""Trims the game font to the characters that code page 932 can express.

The game's text is Shift-JIS throughout, so a glyph outside the CP932 repertoire can never be
asked for. Hinting and layout tables are dropped too: the rasteriser draws unhinted outlines one
character at a time, without shaping.

usage: subset_font.py SOURCE.ttf OUTPUT.ttf
The output is written to a temporary file and renamed, so an interrupted run leaves no half file.
"""
import os
import sys

from fontTools import subset


def cp932_repertoire():
    """Every code point that a valid one- or two-byte CP932 sequence decodes to."""
    points = set()
    for b in range(0x20, 0x7F):
        points.add(b)
    for b in range(0xA1, 0xE0):  # half-width katakana
        points.add(ord(bytes([b]).decode("cp932")))
    for lead in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)):
        for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD)):
            try:
                text = bytes([lead, trail]).decode("cp932")
            except UnicodeDecodeError:
                continue
            if len(text) == 1:
                points.add(ord(text))
    # The card suits are not in CP932; the game reaches them through their JIS X 0213 codes
    # (0x83B7 to 0x83BE), which CP932 leaves unassigned.
    points.update(range(0x2660, 0x2668))
    return sorted(points)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: subset_font.py SOURCE.ttf OUTPUT.ttf\n")
        return 2
    source, output = argv[1], argv[2]
    options = subset.Options()
    options.hinting = False
    options.layout_features = []
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.glyph_names = False
    options.drop_tables += ["GSUB", "GPOS", "GDEF", "BASE", "JSTF", "vhea", "vmtx", "VORG", "DSIG"]
    font = subset.load_font(source, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=cp932_repertoire())
    subsetter.subset(font)
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    temporary = output + ".part"
    subset.save_font(font, temporary, options)
    font.close()
    os.replace(temporary, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
