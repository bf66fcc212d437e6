"""Reads seven-segment fields back out of a screenshot, using the glyph sheet as the font, at
any drawScale: a glyph at grid (x, y) covers the pixels floor(s*(40x+1)) .. floor(s*(40x+39)) - 1
and floor(s*(40y+28)) .. floor(s*(40y+92)) - 1, the sheet's cell shrunk by area averaging."""
import math
import os

import numpy as np
from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LOOKUP = "0123456789+-↑↓←→"
SHEET = Image.open(os.path.join(ROOT, "pictures", "seven_segment.bmp")).convert("RGB")


class GlyphReader:
    def __init__(self, scale=0.5):
        self.scale = scale
        self.refs = {}  # (width, height) -> [(name, colour row, picture)]

    def _refs(self, w, h):
        if (w, h) not in self.refs:
            refs = []
            for row in range(9):
                for k, ch in enumerate(LOOKUP):
                    cell = SHEET.crop((38 * k, 64 * row, 38 * k + 38, 64 * row + 64)).resize((w, h), Image.BOX)
                    name = ch if row else (" " if k < 10 else "sign-unlit")
                    refs.append((name, row, np.asarray(cell, dtype=float)))
            self.refs[(w, h)] = refs
        return self.refs[(w, h)]

    def _read(self, shot, x, y, w, h):
        crop = shot[y : y + h, x : x + w].astype(float)
        mask = np.ones((h, w, 1))
        mask[int(h * 25 / 32) :, int(w * 12 / 19) :] = 0  # where decimal points land
        return min(((name, row, float((np.abs(crop - ref) * mask).mean())) for name, row, ref in self._refs(w, h)),
                   key=lambda g: g[2])

    def read_glyph(self, shot, x, y):
        """The glyph whose top left is at screen pixel (x, y), at the reader's scale."""
        s = self.scale
        return self._read(shot, x, y, math.floor(s * 39) - math.floor(s * 1), math.floor(s * 92) - math.floor(s * 28))

    def read_field(self, shot, x, y, positions):
        """A field of `positions` glyphs whose first glyph's top left is at (x, y)."""
        pitch = round(40 * self.scale)
        return [self.read_glyph(shot, x + pitch * i, y) for i in range(positions)]

    def read_at(self, shot, left, top, gx, gy, positions):
        """A field at grid (gx, gy) of a window whose top left is at screen pixel (left, top)."""
        s = self.scale
        glyphs = []
        for i in range(positions):
            X, Y = 40 * (gx + i), 40 * gy + 28
            x0, y0 = math.floor(s * (X + 1)), math.floor(s * Y)
            glyphs.append(self._read(shot, left + x0, top + y0, math.floor(s * (X + 39)) - x0,
                                     math.floor(s * (Y + 64)) - y0))
        return glyphs


def field_text(glyphs):
    return "".join(g[0] if g[0] != "sign-unlit" else "?" for g in glyphs)


def field_colours(glyphs):
    return {g[1] for g in glyphs if g[0] not in (" ", "sign-unlit")}
