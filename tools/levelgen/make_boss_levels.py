#!/usr/bin/env python3
"""Writes the boss arena (levelboss.env) and the path home of the ending (ending.env).

Both layouts are built for the fixed places the game's scripts use: the boss's hands rest at
(-8, 0) and (8, 0) and slam onto a floor whose top is y = -18.5, sweeps stop at x = +-12.5,
reinforcements walk in at x = +-10 and two updrafts stand at x = +-8. The ending's ground top is
y = 0.5, Lirra starts at x = 29 and walks left past Dired at x = -5.5.

Tiles are cells of the forest sheet (see datagen/TILES.md); markers are collision boxes. Run:
    tools/levelgen/make_boss_levels.py data/
"""

import sys
from pathlib import Path

from cells import lift_covering_tiles, refuse_doubled_cells


def g(value):
    """A number as the level files write it: %g with six significant digits."""
    return "%g" % value


class Level:
    def __init__(self):
        self.tiles = []
        self.markers = []

    def tile(self, index, x, y, layer):
        self.tiles.append((index, x, y, layer))

    def row(self, x0, x1, y, layer, pick):
        for x in range(x0, x1 + 1):
            self.tile(pick(x, x0, x1), x, y, layer)

    def box(self, name, width, height, x, y, value=1.0):
        self.markers.append((name, width, height, x, y, value))

    def solid_from_top(self, x0, x1, top, depth):
        """A solid box covering cells x0..x1 whose top face is at `top`."""
        width = x1 - x0 + 1
        self.box("TILE", width, depth, (x0 + x1) / 2.0, top - depth / 2.0)

    def write(self, path):
        refuse_doubled_cells(self.tiles, Path(path).name)
        lines = ["%d,0,%s,%s,%s" % (i, g(x), g(y), g(z)) for i, x, y, z in self.tiles]
        lines.append("Collider")
        lines += ["%s,%s,%s,%s,%s,%s" % (n, g(w), g(h), g(x), g(y), g(v)) for n, w, h, x, y, v in self.markers]
        Path(path).write_text("\n".join(lines) + "\n")


def grass_top(x, x0, x1):
    if x == x0:
        return 0
    if x == x1:
        return 3
    return 1 if x % 3 else 2


def earth(x, _x0, _x1):
    return (5, 6, 27, 5, 18, 28, 5)[x % 7]


def platform(x, x0, x1):
    if x == x0:
        return 20
    if x == x1:
        return 23
    return 21 if x % 2 else 22


def stone_wall(side):
    return lambda x, x0, x1: 33 if side < 0 else 35


def boss_arena():
    level = Level()
    ground, deco, back = 1, 2, -8
    # The arena floor: grass at y = -19 (top face -18.5), earth down below the view.
    level.row(-14, 14, -19, ground, grass_top)
    for y in range(-20, -30, -1):
        level.row(-16, 16, y, ground, earth if y > -24 else (lambda x, a, b: 17))
    level.solid_from_top(-16, 16, -18.5, 6)

    # Stone walls beyond the sweeps' reach: the hands stop at +-12.5, 2 units wide each side.
    for y in range(-19, 9):
        for x in (-16, -15):
            level.tile(34 if x == -16 else 35, x, y, ground)
        for x in (15, 16):
            level.tile(34 if x == 16 else 33, x, y, ground)
    level.tile(30, -16, 9, ground)
    level.tile(32, -15, 9, ground)
    level.tile(30, 15, 9, ground)
    level.tile(32, 16, 9, ground)
    level.box("TILE", 2, 30, -15.5, -4)
    level.box("TILE", 2, 30, 15.5, -4)

    # Two low platforms to jump onto over a sweep (top -14.5, 4 above the floor).
    for x0 in (-7, 4):
        level.row(x0, x0 + 3, -15, ground, platform)
        level.box("TILE", 4, 0.6, x0 + 1.5, -14.8)
    # Ledges by the walls, reached by gliding out of an updraft.
    for x0, x1 in ((-14, -12), (12, 14)):
        level.row(x0, x1, -9, ground, lambda x, a, b: 31 if a < x < b else (30 if x == a else 32))
        level.row(x0, x1, -10, ground, lambda x, a, b: 37)
        level.box("TILE", 3, 1, (x0 + x1) / 2.0, -9)

    # A graveyard of earlier harvests along the floor, clear of the updrafts' mouths.
    for x, cell in ((-13, 77), (-11, 57), (-6, 41), (-3, 40), (2, 79), (3, 57), (6, 40), (11, 77),
                    (13, 46), (-9, 47), (9, 47), (0, 48)):
        level.tile(cell, x, -18, deco)
    # Dark pillars far behind Rovevoz.
    for x in (-12, 12):
        for y in range(-18, 6):
            level.tile(89, x, y, back)
    return level


def ending_path():
    level = Level()
    ground, near, back = 1, 2, -2
    level.row(-16, 34, 0, ground, grass_top)
    for y in range(-1, -6, -1):
        level.row(-16, 34, y, ground, earth)
    level.solid_from_top(-16, 34, 0.5, 5)
    # The path ends at trees on both sides.
    level.box("TILE", 1, 12, -14.5, 6.5)
    level.box("TILE", 1, 12, 33.5, 6.5)

    def tree(x, height, layer):
        level.tile(60, x - 1, 1, layer)
        level.tile(61, x, 1, layer)
        level.tile(62, x + 1, 1, layer)
        for y in range(2, 2 + height):
            level.tile(64 if y == 3 else 63, x, y, layer)
        top = 2 + height
        for dx in (-2, -1, 0, 1, 2):
            level.tile(69, x + dx, top, layer)
            level.tile(68, x + dx, top + 1, layer)
            level.tile(67, x + dx, top + 2, layer)

    for x, h in ((-15, 4), (-12, 5), (0, 4), (9, 5), (16, 4), (22, 5), (31, 4), (34, 5)):
        tree(x, h, back)
    # Dired's garden: a fence, flowers and a signpost home.
    for x in range(-4, 0):
        level.tile(75, x, 1, back)
    for x, cell in ((-2, 43), (-1, 44), (1, 45), (4, 40), (6, 41), (11, 49), (13, 79), (19, 42),
                    (24, 40), (26, 78), (28, 44), (2, 74)):
        level.tile(cell, x, 1, near)
    # Where crowns of two trees meet, or a fence post stands on a root, the tile placed first
    # lies over the other one layer nearer; nothing else of the ending stands at depth -1
    # (the look-alike is at 0, Dired at 7, Lirra at 11).
    level.tiles = lift_covering_tiles(level.tiles)
    return level


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "data")
    boss_arena().write(out / "levelboss.env")
    ending_path().write(out / "ending.env")


if __name__ == "__main__":
    main()
