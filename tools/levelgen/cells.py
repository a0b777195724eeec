"""One tile per cell and layer, as the level editor keeps them.

The editor holds at most one tile per cell (x, y) and layer (the whole-number parts of the
tile's position), so a level file with two tiles in one cell and layer would lose one of them
when the editor opens and saves it. The level writers pass their tiles through these helpers.
"""

import sys


def cell_of(x, y, z):
    """The editor's cell of a tile position: whole-number parts, cut towards zero."""
    return (int(x), int(y), int(z))


def lift_covering_tiles(tiles):
    """Tiles (index, x, y, z) in drawing order, with every tile that covers a later one in its
    cell and layer moved one layer nearer.

    Of two tiles at one depth the game shows the one drawn first where both have colour, so
    the earlier tile lies over the later one. One layer nearer keeps it over the later tile,
    and keeps the drawing order, so the picture stays the same as long as nothing else of the
    level is drawn at a depth above the old layer and up to the new one."""
    tiles = list(tiles)
    first_at = {}
    for n, (index, x, y, z) in enumerate(tiles):
        cell = cell_of(x, y, z)
        if cell in first_at:
            covering = first_at.pop(cell)
            i, cx, cy, cz = tiles[covering]
            tiles[covering] = (i, cx, cy, cz + 1)
        first_at[cell] = n
    return tiles


def refuse_doubled_cells(tiles, name):
    """Stops the writer when two tiles of `tiles` share a cell and layer."""
    seen = {}
    doubled = []
    for index, x, y, z in tiles:
        cell = cell_of(x, y, z)
        if cell in seen:
            doubled.append("%s: tiles %d and %d" % (cell, seen[cell], index))
        seen[cell] = index
    if doubled:
        sys.exit("%s: %d cells hold two tiles in one layer; the editor would keep only one of each:\n  %s"
                 % (name, len(doubled), "\n  ".join(doubled)))
