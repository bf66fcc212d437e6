"""Reads seven-segment fields back out of a screenshot, using the glyph sheet as the font."""
import os

import numpy as np
from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LOOKUP = "0123456789+-↑↓←→"
COLOUR_NAMES = {0: "unlit", 1: "blue", 2: "green", 3: "lightblue", 4: "red", 5: "magenta", 6: "orange", 7: "white", 8: "E"}


def _half(cell):
    h, w = cell.shape[0] // 2, cell.shape[1] // 2
    return cell[: 2 * h, : 2 * w].reshape(h, 2, w, 2, 3).mean(axis=(1, 3))


class GlyphReader:
    def __init__(self):
        sheet = np.asarray(Image.open(os.path.join(ROOT, "pictures", "seven_segment.bmp")).convert("RGB"), dtype=float)
        self.refs = []  # (char, colour, 19x32 picture)
        for row in range(9):
            for k, ch in enumerate(LOOKUP):
                cell = sheet[64 * row : 64 * row + 64, 38 * k : 38 * k + 38]
                name = ch
                if row == 0:
                    name = " " if k < 10 else "sign-unlit"
                self.refs.append((name, row, _half(cell)))
        # The decimal points land on these pixels of a glyph: leave them out of the comparison.
        self.mask = np.ones((32, 19, 1))
        self.mask[25:32, 12:19] = 0

    def read_glyph(self, shot, x, y):
        """The glyph whose pen is at screen pixel (x, y): (character, colour index, distance)."""
        crop = shot[y : y + 32, x : x + 19].astype(float)
        best = None
        for name, row, ref in self.refs:
            d = float((np.abs(crop - ref) * self.mask).mean())
            if best is None or d < best[2]:
                best = (name, row, d)
        return best

    def read_field(self, shot, x, y, positions):
        """Text and colours of a field of `positions` glyphs starting at pen (x, y)."""
        glyphs = [self.read_glyph(shot, x + 20 * i, y) for i in range(positions)]
        return glyphs


def field_text(glyphs):
    return "".join(g[0] if g[0] != "sign-unlit" else "?" for g in glyphs)


def field_colours(glyphs):
    return {g[1] for g in glyphs if g[0] not in (" ", "sign-unlit")}
