#!/usr/bin/env python3
"""Writes the three forest levels (data/level01.env, level02.env, level03.env).

Each level is laid out below as code: solid ground rectangles in tile cells, floating slabs,
wind columns, enemy patrols, flying-spirit markers and decoration. The ground is tiled from the
forest sheet by its neighbours (grass tops, walls, undersides, fill, inner corners), and one
solid "TILE" box is written per merged rectangle of ground, flush with the tiles' edges.

The output is the game's own ".env" format, so the files open in the level editor; running
this script again overwrites editor changes to these three files.

    python3 tools/levelgen/levelgen.py [output-dir]
"""

import os
import random
import sys

from cells import lift_covering_tiles, refuse_doubled_cells

# Depth layers: far hills, trees, the ground, the plants on it. A tile placed over another in
# its cell (a crown's leaves over later leaves, a plant over a post or a stone) lies one layer
# nearer (cells.py): leaves on the ground's layer, which holds no tile in those cells, plants on
# layer 5. Nothing that can pass over them is drawn at a depth above 2 and up to 3, or above 4
# and up to 5: walking spirits and key hints stand at 0, the winds at 1, 2, 3 and 4 in the order
# of their markers (none of them crosses a crown), health bars at 4, flying spirits at 10 and
# Lirra at 11.
Z_FAR = 1
Z_TREES = 2
Z_GROUND = 3
Z_PLANTS = 4

GRASS = "g"
STONE = "s"


def fmt(value):
    """The stream's default float notation: %g with six significant digits."""
    text = "%g" % value
    return "0" if text == "-0" else text


class Level:
    def __init__(self, seed):
        self.solid = {}        # (x, y) -> GRASS or STONE
        self.slabs = set()     # floating platform cells
        self.far = set()       # cells of the darker hills behind the ground
        self.tiles = []        # (index, x, y, z) placed by hand
        self.markers = []      # (name, width, height, x, y, value)
        self.cut_below = None  # cells at or below this row continue downwards unseen
        self.rng = random.Random(seed)

    # ----- layout -----------------------------------------------------------------------
    def ground(self, x0, x1, y0, y1, material=GRASS):
        """Solid cells x0..x1, y0..y1 (inclusive); y1 is the top row."""
        for x in range(x0, x1 + 1):
            for y in range(y0, y1 + 1):
                self.solid[(x, y)] = material

    def clear(self, x0, x1, y0, y1):
        for x in range(x0, x1 + 1):
            for y in range(y0, y1 + 1):
                self.solid.pop((x, y), None)

    def slab(self, x0, x1, y):
        """A floating platform: walkable top half of row y."""
        for x in range(x0, x1 + 1):
            self.slabs.add((x, y))

    def hill(self, x0, x1, y0, y1):
        for x in range(x0, x1 + 1):
            for y in range(y0, y1 + 1):
                self.far.add((x, y))

    def tile(self, index, x, y, z=Z_PLANTS):
        self.tiles.append((index, x, y, z))

    def wind(self, direction, left, right, bottom, top, strength):
        self.markers.append(("WIND " + direction, right - left, top - bottom,
                             (left + right) / 2.0, (bottom + top) / 2.0, strength))

    def enemy(self, left, right, surface):
        """A walking spirit patrolling the surface between world x left and right."""
        width = right - left - 1.0
        self.markers.append(("ENEMY NORMAL", width, 1.0, (left + right) / 2.0, surface, 1.0))

    def flying(self, x, y, size=3.0):
        self.markers.append(("ENEMY FLYING", size, size, x, y, 1.0))

    # ----- decoration helpers -------------------------------------------------------------
    def is_solid(self, x, y):
        if (x, y) in self.solid:
            return True
        return False

    def surface(self, x):
        """Top rows of the ground in column x, highest first."""
        return sorted((y for (cx, y) in self.solid if cx == x and (x, y + 1) not in self.solid),
                      reverse=True)

    def plants(self, x0, x1, top, density=0.45, kinds=(40, 41, 79, 40, 41, 42, 43, 44, 49)):
        """Tufts, ferns and flowers on the ground top row `top`, from x0 to x1."""
        for x in range(x0, x1 + 1):
            if self.is_solid(x, top) and not self.is_solid(x, top + 1) and self.rng.random() < density:
                if not self.taken(x, top + 1):
                    self.tile(self.rng.choice(kinds), x, top + 1, Z_PLANTS)

    def taken(self, x, y):
        return any(t[1] == x and t[2] == y and t[3] >= Z_TREES for t in self.tiles)

    def tree(self, x, base, height, crown=3, z=Z_TREES):
        """A trunk standing on the ground row `base`, with a leaf crown `crown` wide each side."""
        self.tile(self.rng.choice((60, 61, 62)), x, base + 1, z)
        for y in range(base + 2, base + height):
            self.tile(64 if (y - base) == 3 else 63, x, y, z)
        if height > 4:
            self.tile(65, x - 1, base + height - 2, z)
        top = base + height
        for cx in range(x - crown, x + crown + 1):
            self.tile(69, cx, top, z)
            self.tile(68, cx, top + 1, z)
            self.tile(67, cx, top + 2, z)
        for cx in range(x - crown + 1, x + crown):
            self.tile(68, cx, top + 2, z)
            self.tile(67, cx, top + 3, z)

    def hanging(self, x0, x1, row):
        """Roots and vines under the underside in row `row`."""
        for x in range(x0, x1 + 1):
            r = self.rng.random()
            if r < 0.25:
                self.tile(52, x, row - 1, Z_PLANTS)
                self.tile(53, x, row - 2, Z_PLANTS)
            elif r < 0.6:
                self.tile(self.rng.choice((50, 51, 26, 54)), x, row - 1, Z_PLANTS)

    # ----- tiling ---------------------------------------------------------------------------
    def solid_or_cut(self, x, y):
        if self.is_solid(x, y):
            return True
        return self.cut_below is not None and y < self.cut_below and self.is_solid(x, y + 1)

    def ground_cell(self, x, y):
        material = self.solid[(x, y)]
        up = self.is_solid(x, y + 1)
        down = self.solid_or_cut(x, y - 1)
        left = self.is_solid(x - 1, y)
        right = self.is_solid(x + 1, y)
        variant = ((x * 73856093) ^ (y * 19349663)) % 5
        if material == STONE:
            if not up:
                return 39 if not left and not right else 30 if not left else 32 if not right else 31
            if not down:
                return 36 if not left else 38 if not right else 37
            return 33 if not left else 35 if not right else 34
        if not up:
            if not left and not right:
                return 8 if down else 19
            if not down and left and right:
                return 29
            if not left:
                return 0
            if not right:
                return 3
            return 1 if variant < 3 else 2
        if not down:
            if not left and not right:
                return 14
            if not left:
                return 10
            if not right:
                return 13
            return 11 if variant < 3 else 12
        if not left and not right:
            return 9
        if not left:
            return 4
        if not right:
            return 7
        if not self.is_solid(x - 1, y + 1):
            return 15
        if not self.is_solid(x + 1, y + 1):
            return 16
        depth = 0
        while depth < 8 and self.is_solid(x, y + depth + 1):
            depth += 1
        if depth >= 7:
            return 17
        if depth <= 1:
            return 5
        # A scattered hash, so buried stones and roots do not line up in rows.
        spot = ((x * 73856093) ^ (y * 19349663) ^ 0x5bd1e995) % 23
        return {0: 6, 1: 18, 2: 28, 3: 27, 4: 27, 5: 18}.get(spot, 5)

    def slab_cell(self, x, y):
        left = (x - 1, y) in self.slabs
        right = (x + 1, y) in self.slabs
        if not left and not right:
            return 24
        if not left:
            return 20
        if not right:
            return 23
        return 21 if (x + y) % 3 else 22

    def far_cell(self, x, y):
        up = (x, y + 1) in self.far
        left = (x - 1, y) in self.far
        right = (x + 1, y) in self.far
        if not up:
            return 80 if not left else 83 if not right else 81 + (x % 2)
        if not left:
            return 84
        if not right:
            return 87
        return 97 if (x, y + 3) in self.far else 85

    # ----- colliders --------------------------------------------------------------------------
    @staticmethod
    def merge(cells):
        """Greedy rectangles over a cell set: row spans first, then stacked equal spans."""
        remaining = set(cells)
        rects = []
        for (x, y) in sorted(cells, key=lambda c: (-c[1], c[0])):
            if (x, y) not in remaining:
                continue
            x1 = x
            while (x1 + 1, y) in remaining:
                x1 += 1
            y0 = y
            while all((cx, y0 - 1) in remaining for cx in range(x, x1 + 1)):
                y0 -= 1
            for cx in range(x, x1 + 1):
                for cy in range(y0, y + 1):
                    remaining.discard((cx, cy))
            rects.append((x, x1, y0, y))
        return rects

    def colliders(self):
        boxes = []
        for (x0, x1, y0, y1) in self.merge(self.solid.keys()):
            boxes.append(("TILE", x1 - x0 + 1, y1 - y0 + 1, (x0 + x1) / 2.0, (y0 + y1) / 2.0, 1.0))
        for (x0, x1, y0, y1) in self.merge(self.slabs):
            # The slab's walkable half: the top half of its row.
            boxes.append(("TILE", x1 - x0 + 1, 0.5, (x0 + x1) / 2.0, y1 + 0.25, 1.0))
        return boxes

    # ----- output -----------------------------------------------------------------------------
    def lines(self, name):
        records = []
        for (x, y) in sorted(self.far):
            if (x, y) not in self.solid:
                records.append((self.far_cell(x, y), x, y, Z_FAR))
        for (x, y) in sorted(self.solid):
            records.append((self.ground_cell(x, y), x, y, Z_GROUND))
        for (x, y) in sorted(self.slabs):
            records.append((self.slab_cell(x, y), x, y, Z_GROUND))
        for (index, x, y, z) in self.tiles:
            if (x, y) not in self.solid and (x, y) not in self.slabs:
                records.append((index, x, y, z))
        records = lift_covering_tiles(records)
        refuse_doubled_cells(records, name)
        out = ["%d,0,%s,%s,%s" % (i, fmt(x), fmt(y), fmt(z)) for (i, x, y, z) in records]
        out.append("Collider")
        for (name, w, h, x, y, v) in self.colliders() + self.markers:
            out.append("%s,%s,%s,%s,%s,%s" % (name, fmt(w), fmt(h), fmt(x), fmt(y), fmt(v)))
        return "\n".join(out) + "\n"


# =============================================================================================
# Level 1: the flat run to the ambush, the dash through it, three jumps and the valley exit.
# Ground tops are at row + 0.5: row 0 is the walkable height 0.5 where Lirra stands at 1.95.
# =============================================================================================
def level1():
    lv = Level(101)
    lv.cut_below = -11
    # The start meadow, the ambush field and the run to the first jump (top 0.5).
    lv.ground(-14, 52, -12, 0)
    lv.ground(-14, -3, 1, 14)            # the cliff behind the start
    lv.ground(44, 52, -26, -13)          # the first pit's left wall goes deep
    # First jump: a pit, then a step one higher (top 1.5).
    lv.ground(57, 62, -26, 1)
    # Second jump: a pit, then the low ledge (top -1.5) under the rim.
    lv.ground(68, 73, -26, -2)
    # Third jump: up the rim (top 0.5), then down into the exit valley (top -11.5).
    lv.ground(74, 76, -26, 0)
    lv.ground(77, 84, -26, -12)
    lv.ground(85, 96, -26, 14)           # the valley's far wall

    # Far hills behind the meadow and the ambush field.
    lv.hill(-2, 9, 1, 3)
    lv.hill(3, 7, 4, 4)
    lv.hill(14, 30, 1, 2)
    lv.hill(19, 25, 3, 4)
    lv.hill(33, 49, 1, 3)
    lv.hill(38, 44, 4, 5)
    lv.hill(78, 84, -11, -9)

    # Trees, clear of the key hints and the exit.
    for (x, h) in ((1, 7), (11, 8), (17, 6), (27, 9), (35, 7), (42, 8), (48, 6)):
        lv.tree(x, 0, h)
    lv.tree(59, 1, 6, crown=2)
    lv.tree(82, -12, 7, crown=2)

    # Plants along every top; the start's signpost and fence, logs and stones on the way.
    lv.plants(-2, 52, 0, 0.5)
    lv.plants(57, 62, 1, 0.4)
    lv.plants(68, 73, -2, 0.4)
    lv.plants(74, 76, 0, 0.5)
    lv.plants(77, 84, -12, 0.35, kinds=(40, 41, 45, 46, 79))
    lv.tile(74, 8, 1)
    lv.tile(75, 9, 1)
    lv.tile(75, 10, 1)
    lv.tile(58, 30, 1)
    lv.tile(59, 31, 1)
    lv.tile(48, 45, 1)
    lv.tile(78, 39, 1)
    lv.tile(57, 70, -1)
    lv.tile(46, 79, -11)
    lv.tile(45, 76, -11)
    # Cobwebs and roots in the pits' mouths.
    lv.tile(55, 53, -1, Z_PLANTS)
    lv.tile(56, 56, -1, Z_PLANTS)
    lv.tile(26, 63, 0, Z_PLANTS)
    lv.tile(50, 67, -3, Z_PLANTS)
    lv.tile(51, 72, -3, Z_PLANTS)
    return lv


# =============================================================================================
# Level 2: a shaft between two walls, climbed by wind columns and ledges to the door at the top.
# =============================================================================================
def level2():
    lv = Level(202)
    lv.cut_below = -15
    lv.ground(-14, -8, -16, 84, STONE)   # left wall
    lv.ground(17, 23, -16, 84, STONE)    # right wall
    # The floor (top -1.5); a chasm on the left end.
    lv.ground(-3, 16, -16, -2)
    # A resting ledge beside the first wind, under the walking spirit's ledge (top 12.5).
    lv.ground(3, 9, 10, 12)
    # The walking spirit's ledge (top 18.5), reached from the top of the first wind.
    lv.ground(-7, 7, 16, 18)
    # The second wind lifts from the spirit's ledge to the middle ledge (top 32.5).
    lv.ground(-3, 5, 30, 32)
    # A step to the block beside the long third wind.
    lv.slab(8, 10, 35)
    lv.ground(13, 16, 30, 37)
    # The door ledge (top 65.5), where the third wind lets Lirra off, with a second spirit.
    lv.ground(-7, 6, 63, 65)
    # The exit ledge beside the top of the fourth wind (top 73.5).
    lv.ground(-2, 6, 71, 73)

    lv.wind("NORTH", 10.5, 14.5, -1.5, 17.5, 0.6)
    lv.wind("NORTH", -7.5, -4.5, 18.5, 32.0, 0.6)
    lv.wind("NORTH", 8.5, 12.5, 38.0, 66.0, 0.5)
    lv.wind("NORTH", -7.5, -3.5, 66.0, 75.0, 0.7)
    lv.enemy(-3.5, 4.0, 18.5)
    lv.enemy(-2.5, 5.5, 65.5)

    for (x0, x1, top) in ((-3, 16, -2), (3, 9, 12), (-7, 7, 18), (-3, 5, 32), (13, 16, 37),
                          (-7, 6, 65), (-2, 6, 73)):
        lv.plants(x0, x1, top, 0.4)
    for (x0, x1, row) in ((3, 9, 10), (-7, 7, 16), (-3, 5, 30), (-7, 6, 63), (-2, 6, 71)):
        lv.hanging(x0, x1, row)
    lv.tree(-1, -2, 7, crown=2)
    lv.tree(15, 37, 6, crown=1)
    lv.tile(76, 1, 13)
    lv.tile(77, 0, 33)
    lv.tile(48, 4, 66)
    lv.tile(73, 5, 74)
    # Moss and cobwebs on the walls.
    for y in range(-1, 80, 7):
        lv.tile(55, -7, y, Z_PLANTS)
        lv.tile(56, 16, y + 3, Z_PLANTS)
    return lv


# =============================================================================================
# Level 3: down to the shaft's foot, up into the corridor, the gust from below, the spirits'
# ledge and back across to the exit above the corridor.
# =============================================================================================
def level3():
    lv = Level(303)
    lv.cut_below = -22
    lv.ground(-16, -9, -24, 70, STONE)   # left wall
    lv.ground(31, 37, -24, 70, STONE)    # right wall
    lv.ground(-8, 14, -12, -2)           # the start (top -1.5)
    lv.ground(15, 26, -24, -7)           # the shaft's foot (top -6.5); a chasm beyond it
    # The corridor: floor top 29.5, roof from 34.5 to 40.5, a gap over its dead end.
    lv.ground(1, 18, 26, 29)
    lv.ground(3, 18, 35, 40)
    lv.ground(-8, 0, 26, 44)             # the wall of the dead end; its top is the lookout (44.5)
    # Up from the roof's far end on a third wind to the spirits' ledge (top 49.5).
    lv.ground(23, 30, 47, 49)
    # The high path back to the exit (top 55.5).
    lv.slab(17, 19, 52)
    lv.ground(-2, 13, 53, 55)

    lv.wind("NORTH", 19.5, 23.5, -6.5, 27.0, 0.55)
    lv.wind("NORTH", 0.5, 2.5, 24.0, 42.0, 0.8)
    lv.wind("NORTH", 19.5, 22.5, 40.5, 49.0, 0.6)
    lv.flying(26.0, 52.0)
    lv.flying(20.0, 53.0)
    lv.flying(14.0, 57.0)
    lv.enemy(4.5, 13.5, 29.5)

    for (x0, x1, top) in ((-8, 14, -2), (15, 26, -7), (3, 18, 29), (3, 18, 40), (-8, 0, 44),
                          (23, 30, 49), (-2, 13, 55)):
        lv.plants(x0, x1, top, 0.4)
    for (x0, x1, row) in ((3, 18, 35), (23, 30, 47), (-2, 13, 53)):
        lv.hanging(x0, x1, row)
    lv.tree(-5, -2, 8)
    lv.tree(9, -2, 6, crown=2)
    lv.tree(27, 49, 5, crown=2)
    lv.tile(57, 1, 30)
    lv.tile(77, 12, 30)
    lv.tile(74, -4, 45)
    lv.tile(48, 25, -6)
    return lv


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
    for name, build in (("level01.env", level1), ("level02.env", level2), ("level03.env", level3)):
        # A refused level stops the script before its old file is touched.
        text = build().lines(name)
        path = os.path.join(out_dir, name)
        with open(path, "w", newline="\n") as f:
            f.write(text)
        print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
