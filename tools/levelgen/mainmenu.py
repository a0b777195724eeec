#!/usr/bin/env python3
"""Writes the main menu's forest glade (data/mainmenu.env).

The main menu stands its figures on one stretch of ground whose top is at y = 0.5: Dired at
x = -5.5, Lirra dropping in at x = 0, the portal Dired summons at x = 1 and the credits signpost at
x = 8. The camera does not move (centre (0.6, 5.1), zoom 0.9, so x runs from about -8.4 to 9.6),
so two tree trunks at the edges of the view carry invisible walls that keep Lirra inside it, and
there is no pit to fall into.

Depths: the far hill behind everything, the trees (behind the portal, which stands at depth 0),
the ground, then the plants, posts and the signpost; Dired (7) and Lirra (11) stand in front.

    python3 tools/levelgen/mainmenu.py [output-dir]
"""

import os
import sys

from cells import refuse_doubled_cells

Z_HILL = -3
Z_TREES = -2
Z_GROUND = 3
Z_PLANTS = 4

GROUND_LEFT, GROUND_RIGHT = -11, 12
GROUND_TOP_ROW = 0      # cells centred on y = 0 cover 0.5 down to -0.5
GROUND_DEPTH = 6

# Columns where the portal stands (x 0 to 2): nothing is drawn in front of it there.
PORTAL_COLUMNS = {0, 1, 2}


def fmt(value):
    """The stream's default float notation: %g with six significant digits."""
    text = "%g" % value
    return "0" if text == "-0" else text


class Glade:
    def __init__(self):
        self.tiles = []
        self.markers = []

    def tile(self, index, x, y, z):
        self.tiles.append((index, x, y, z))

    def box(self, width, height, x, y, name="TILE"):
        self.markers.append((name, width, height, x, y, 1))

    def write(self, path):
        refuse_doubled_cells(self.tiles, os.path.basename(path))
        with open(path, "w", newline="\n") as out:
            for index, x, y, z in self.tiles:
                out.write("%d,0,%s,%s,%s\n" % (index, fmt(x), fmt(y), fmt(z)))
            out.write("Collider\n")
            for name, w, h, x, y, value in self.markers:
                out.write("%s,%s,%s,%s,%s,%s\n" % (name, fmt(w), fmt(h), fmt(x), fmt(y), fmt(value)))


def ground(glade):
    for x in range(GROUND_LEFT, GROUND_RIGHT + 1):
        top = 0 if x == GROUND_LEFT else 3 if x == GROUND_RIGHT else (2 if x % 3 == 0 else 1)
        glade.tile(top, x, GROUND_TOP_ROW, Z_GROUND)
        for d in range(1, GROUND_DEPTH):
            if x == GROUND_LEFT:
                fill = 4
            elif x == GROUND_RIGHT:
                fill = 7
            elif (x * 7 + d * 3) % 11 == 0:
                fill = 6
            elif (x * 5 + d) % 13 == 0:
                fill = 28
            elif d == 1 and x % 4 == 1:
                fill = 18
            else:
                fill = 5 if (x + d) % 3 else 27
            glade.tile(fill, x, GROUND_TOP_ROW - d, Z_GROUND)
    # One solid box flush with the grass, wider than the view.
    glade.box(GROUND_RIGHT - GROUND_LEFT + 1, GROUND_DEPTH, (GROUND_LEFT + GROUND_RIGHT) / 2,
              GROUND_TOP_ROW + 0.5 - GROUND_DEPTH / 2)


def far_hill(glade):
    """A darker rise of ground behind Dired's side of the glade, and a lower one on the right."""
    for x0, x1, top in ((-11, -2, 2), (6, 12, 1)):
        for x in range(x0, x1 + 1):
            cap = 80 if x == x0 else 83 if x == x1 else (82 if x % 2 else 81)
            glade.tile(cap, x, top, Z_HILL)
            for y in range(1, top):
                glade.tile(84 if x == x0 else 87 if x == x1 else 85, x, y, Z_HILL)


def tree(glade, x, height, canopy_left, canopy_right, root_left=True, root_right=True, hollow_at=None):
    """A trunk on the grass from row 1 up to `height`, with a leaf mass on top."""
    glade.tile(61, x, 1, Z_TREES)
    if root_left:
        glade.tile(60, x - 1, 1, Z_TREES)
    if root_right:
        glade.tile(62, x + 1, 1, Z_TREES)
    for y in range(2, height + 1):
        glade.tile(64 if y == hollow_at else 63, x, y, Z_TREES)
    for cx in range(canopy_left, canopy_right + 1):
        glade.tile(69, cx, height + 1, Z_TREES)
        glade.tile(68, cx, height + 2, Z_TREES)
        glade.tile(67, cx, height + 3, Z_TREES)


def trees(glade):
    # The left edge of the view: the wall behind Dired.
    tree(glade, -9, 7, -11, -6, root_left=False, hollow_at=3)
    glade.tile(66, -8, 5, Z_TREES)
    # Between the portal and the signpost, far enough right to leave the title clear.
    tree(glade, 5, 5, 4, 7, hollow_at=None)
    glade.tile(65, 4, 4, Z_TREES)
    # The right edge of the view.
    tree(glade, 10, 7, 8, 12, root_right=False, hollow_at=4)
    glade.tile(65, 9, 5, Z_TREES)


def signpost(glade):
    """The credits signpost at x = 8: a tall post with its board on top, five units high."""
    for y in (1, 2, 3):
        glade.tile(73, 8, y, Z_PLANTS)
    glade.tile(74, 8, 4, Z_PLANTS)


def plants(glade):
    row = GROUND_TOP_ROW + 1
    placed = {
        -10: 49,  # bush
        -8: 41,
        -7: 40,
        -4: 79,
        -3: 75,   # a fence by Dired's side
        -2: 75,
        -1: 43,
        3: 46,    # teal mushrooms near the portal
        4: 44,
        6: 48,    # a mossy boulder
        7: 79,
        9: 45,
        11: 42,
        12: 41,
    }
    for x, cell in sorted(placed.items()):
        if x in PORTAL_COLUMNS:
            continue
        glade.tile(cell, x, row, Z_PLANTS)


def walls(glade):
    """Invisible boxes just outside the view, tall enough that no jump clears them."""
    glade.box(2, 30, -9.4, 10)
    glade.box(2, 30, 10.6, 10)


def build():
    glade = Glade()
    far_hill(glade)
    trees(glade)
    ground(glade)
    signpost(glade)
    plants(glade)
    walls(glade)
    return glade


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data")
    path = os.path.join(out_dir, "mainmenu.env")
    build().write(path)
    print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
