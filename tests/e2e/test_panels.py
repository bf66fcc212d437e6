"""Frames, mosaic and labels as they stand on the screen; one clock at a time."""
import time

import numpy as np

from conftest import wait_for
from clock_reader import NOW, ORANGE, ClockReader

LABEL = np.array([0xD6, 0xD3, 0xD6])
BODY = np.array([0x46, 0x4A, 0x4E])


def test_frames_mosaic_and_captions_with_their_halo_and_a_second_copy_ends_at_once(desktop):
    desktop.start("2009-02-01 12:00:00")
    assert desktop.find_windows()
    reader = ClockReader()
    assert wait_for(lambda: reader.now(desktop.screenshot()), 15)
    shot = desktop.screenshot()
    assert reader.colours(shot, NOW) == {ORANGE}
    w = shot[20:600, 1460:1900].astype(int)
    # The black interiors, at places no digit or label covers: the frames are drawn (each piece's
    # place: the unit tests).
    for x0, y0, x1, y1 in [(401, 40, 419, 45), (21, 101, 419, 108), (401, 460, 419, 465), (21, 540, 119, 545)]:
        assert (w[y0 : y1 + 1, x0 : x1 + 1] == 0).all(), (x0, y0)
    # Mosaic tiles on the 20 px grid between the frames: the bright bevel at the corner, body inside.
    for row in (0, 21, 25):
        for col in (0, 1, 2, 3, 4, 15, 16, 17, 18, 19, 20, 21):
            corner, middle = w[20 * row, 20 * col], w[20 * row + 10, 20 * col + 10]
            assert np.abs(middle - BODY).max() <= 3 and corner.sum() > middle.sum() + 20, (row, col)

    # Captions centred on column 11 (x 150 to 290) and the unit rows, in label grey with a halo:
    # pixels next to text that are neither the text colour nor the untouched background.
    regions = {"現在時刻": (0, 20, 150, 290), "目標時刻": (420, 440, 150, 290), "到達時間": (500, 520, 150, 290),
               "units": (47, 64, 100, 440), "target units": (467, 484, 100, 440), "countdown units": (547, 564, 180, 440)}
    for name, (y0, y1, x0, x1) in regions.items():
        part = w[y0:y1, x0:x1]
        text = (part == LABEL).all(axis=2)
        assert text.sum() > 40, name
        near = np.zeros_like(text)
        near[1:, :] |= text[:-1, :]
        near[:-1, :] |= text[1:, :]
        near[:, 1:] |= text[:, :-1]
        near[:, :-1] |= text[:, 1:]
        halo = near & ~text
        assert (halo & (part.sum(axis=2) < LABEL.sum()) & (part.sum(axis=2) > 0)).sum() > 0.5 * halo.sum(), name
    label = (w == LABEL).all(axis=2)
    assert not label[0:20, 0:148].any() and not label[0:20, 292:440].any()
    # 現在時刻: four characters, four pictures; without the font (or Wine's replacement) each is the same box.
    assert len({label[2:18, x : x + 16].tobytes() for x in (152, 192, 232, 272)}) == 4
    # The unit row's 年 at column 5, 秒 at column 20.
    assert label[47:64, 100:120].any() and not label[47:64, 80:100].any() and label[47:64, 400:420].any()
    # A second copy ends at once without a window of its own.
    assert desktop.start().wait(30) == 0
    time.sleep(1.0)  # a window it made would show within this
    assert len(desktop.find_windows(timeout=2)) == 1
