#!/usr/bin/python3
"""Cuts a font down to the glyphs of the game's code page (cp1250), which is
all the game draws, for the page's data: fontTools' subsetter keeps each
glyph's outline, hinting and metrics as they are, so the glyphs render
exactly as from the whole font.

  subset_font.py FONT.ttf OUT.ttf"""
import sys

from fontTools import subset

codes = set()
for byte in range(0x20, 0x100):
    try:
        codes.add(ord(bytes([byte]).decode('cp1250')))
    except UnicodeDecodeError:
        pass  # the code page's five unused places
subset.main([sys.argv[1], '--output-file=' + sys.argv[2], '--unicodes=' + ','.join('%04x' % c for c in sorted(codes)),
             '--hinting', '--legacy-kern', '--notdef-outline', '--name-IDs=*', '--name-legacy', '--name-languages=*',
             '--layout-features=*', '--glyph-names', '--legacy-cmap', '--no-recalc-timestamp'])
