#!/usr/bin/env python3
# One-off: turns Debian's Lat15-VGA16 console font into assets/art/Antique.txt, the text source of
# "Antique.fnt". The build never runs this; it reads only the committed text source.
#   python3 tools/art/derive_font.py /usr/share/consolefonts/Lat15-VGA16.psf.gz > assets/art/Antique.txt
import gzip
import sys

HEADER = """\
# Antique.fnt: 256 glyphs of 8 x 16 pixels; '#' is ink, '.' is clear, the leftmost column is bit 7.
# A glyph that is not listed here is blank. Codes are Latin-1 (32..126 and 160..255).
# Derived from the Lat15-VGA16 console font of Debian's console-setup-linux (font-licence.txt).
"""


def load_psf1(path):
    data = gzip.open(path).read()
    if data[0:2] != b"\x36\x04":
        sys.exit("derive_font: %s is not a PSF1 font" % path)
    mode, height = data[2], data[3]
    count = 512 if mode & 1 else 256
    if not mode & 2:
        sys.exit("derive_font: %s has no Unicode table" % path)
    if height != 16:
        sys.exit("derive_font: %s is not 16 rows high" % path)
    glyphs = [data[4 + i * 16:4 + (i + 1) * 16] for i in range(count)]
    table = data[4 + count * 16:]
    owner = {}  # Unicode code point -> glyph index
    glyph, pos, in_sequence = 0, 0, False
    while glyph < count and pos + 1 < len(table):
        value = table[pos] | table[pos + 1] << 8
        pos += 2
        if value == 0xFFFF:
            glyph += 1
            in_sequence = False
        elif value == 0xFFFE:
            in_sequence = True
        elif not in_sequence:
            owner.setdefault(value, glyph)
    return glyphs, owner


def main():
    glyphs, owner = load_psf1(sys.argv[1])
    out = [HEADER]
    missing = []
    for code in list(range(32, 127)) + list(range(160, 256)):
        if code not in owner:
            missing.append(code)
            continue
        rows = glyphs[owner[code]]
        label = {32: "space", 160: "no-break space", 173: "soft hyphen"}.get(code, chr(code))
        out.append("\nglyph %d %s\n" % (code, label))
        for row in rows:
            out.append("".join("#" if row & (0x80 >> b) else "." for b in range(8)) + "\n")
    sys.stdout.write("".join(out))
    if missing:
        sys.stderr.write("derive_font: no glyph for codes %s\n" % missing)


main()
