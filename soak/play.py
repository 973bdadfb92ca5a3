"""Games the soak plays to their end, reading the boards from the screen,
so that the ends of games, the result dialogs and the score tables are met
as often as a player meets them: a fifteen puzzle solved tile by tile, a
minesweeper game by the numbers, a sea battle by its hits."""

from collections import deque

from windows import LAUNCHER_KEYS, MENU_TITLES, client_origin, saper_cell, sea_cell

# The sea battle's placement letters in either keyboard layout: Q, A, I, O
# and the Cyrillic letters on the same keys.
PLACEMENT_KEYS = {"us": ["q", "a", "i", "o", "Q", "A", "I", "O"],
                  "ru": ["Cyrillic_shorti", "Cyrillic_ef", "Cyrillic_sha", "Cyrillic_shcha",
                         "Cyrillic_SHORTI", "Cyrillic_EF", "Cyrillic_SHA", "Cyrillic_SHCHA"]}


class FifteenGame:
    """Solves a fifteen puzzle: a new deal, then the tiles read from the
    screen and moved into place row by row. The tiles are told apart by
    the pixels of their digits, learnt from the solved picture a freshly
    started program shows before its first deal."""

    name = "fifteen puzzle"
    digits = {}  # the pixels of a tile's digits -> its number, once learnt
    NAVY = (0, 0, 128)

    def __init__(self, soak, rng):
        self.soak = soak
        self.phase = "learn" if not FifteenGame.digits else "new"
        self.restarted = False
        self.steps = 0
        self.plan = []

    def step(self, wins, rng):
        soak = self.soak
        self.steps += 1
        if self.steps > 600:
            return "given up"
        if any(w.modal for w in wins):
            return outcome(wins, "fifteen puzzle") if self.phase == "play" else "interrupted"
        if self.phase == "learn" and not self.restarted:
            self.restarted = True
            soak.end_program()
            soak.start_program()
            soak.event("program closed and started again (to learn the tiles)")
            return None
        game = game_window(soak, wins, "fifteen")
        if game is None:
            return None
        soak.focus(game)
        tiles = self.read(game)
        if tiles is None:
            return "window gone"
        if self.phase == "learn":
            if len(set(tiles[:15])) != 15 or tiles[15] or not all(tiles[:15]):
                return "tiles not learnt"
            FifteenGame.digits = {signature: k + 1 for k, signature in enumerate(tiles[:15])}
            soak.note("seen: the fifteen tiles learnt from the solved picture")
            self.phase = "new"
        if self.phase == "new":
            soak.keys(game, "F2")
            soak.event(f"{game!r}: key F2 (to play)")
            self.phase = "play"
            return None
        board = [FifteenGame.digits.get(t, 0) if t else 16 for t in tiles]
        if 0 in board or sorted(board) != list(range(1, 17)):
            return "tiles unreadable"
        if not self.plan or self.plan[0][0] != board:
            self.plan = solve_fifteen(board)
        if not self.plan:
            return "no deal to solve"
        _, position = self.plan.pop(0)
        r, c = divmod(position, 4)
        soak.click_client(game, 22 + 50 * c + 25, 74 + 50 * r + 25)
        soak.event(f"seen: {game!r}: move tile {board[position]} (position {position + 1})")
        return None

    def read(self, game):
        """For each position the pixels of its digits (empty where the tile
        is hidden), relative to the tile's label, which lies one pixel
        higher on the first tile."""
        ox, oy = client_origin(game)
        pixels = self.soak.x.pixels(game.id, ox + 22, oy + 74, 200, 200)
        if pixels is None:
            return None
        tiles = []
        for position in range(16):
            r, c = divmod(position, 4)
            left, top = 50 * c + 10, 50 * r + (12 if position == 0 else 13)
            tiles.append(frozenset((x, y) for y in range(25) for x in range(30)
                                   if pixels[top + y][left + x] == FifteenGame.NAVY))
        return tiles


def solve_fifteen(board):
    """The moves that solve a fifteen board (board[p] is the tile at
    position p, 16 the gap), as (board before the move, position of the
    tile to move), in order: the first row two tiles at a time, then the
    second, then the last two rows as a whole, each part found by a
    breadth-first search over the tiles it places and the gap."""
    board = list(board)
    steps = []
    locked = set()
    for group in ((1, 2), (3, 4), (5, 6), (7, 8), (9, 10, 11, 12, 13, 14, 15)):
        for position in search(board, group, locked):
            steps.append((list(board), position))
            gap = board.index(16)
            board[gap], board[position] = board[position], board[gap]
        locked |= {tile - 1 for tile in group}
    return steps


def search(board, group, locked):
    """Gap moves (the positions the gap moves to) that bring the tiles of
    `group` to their places without touching the locked positions."""
    start = (board.index(16),) + tuple(board.index(tile) for tile in group)
    goal = tuple(tile - 1 for tile in group)
    came = {start: None}
    queue = deque([start])
    while queue:
        state = queue.popleft()
        if state[1:] == goal:
            path = []
            while came[state]:
                state, position = came[state]
                path.append(position)
            return path[::-1]
        gap = state[0]
        r, c = divmod(gap, 4)
        for nr, nc in ((r - 1, c), (r + 1, c), (r, c - 1), (r, c + 1)):
            position = nr * 4 + nc
            if not (0 <= nr < 4 and 0 <= nc < 4) or position in locked:
                continue
            tiles = tuple(gap if t == position else t for t in state[1:])
            following = (position,) + tiles
            if following not in came:
                came[following] = (state, position)
                queue.append(following)
    raise ValueError("the board cannot be solved")


class SaperGame:
    """Plays a minesweeper game to its end: a new field, then every cell
    that the numbers show safe, a random closed cell where they show none."""

    name = "minesweeper"

    def __init__(self, soak, rng):
        self.soak = soak
        self.phase = "open"
        self.mines = rng.choice(["5", "5", "10", None])
        self.steps = 0
        self.waits = 0

    def step(self, wins, rng):
        soak = self.soak
        self.steps += 1
        if self.steps > 400:
            return "given up"
        options = next((w for w in wins if w.kind == "options"), None)
        if self.phase == "options" and options:
            soak.click_control(options, "Edit1")
            soak.keys(options, "ctrl+a")
            soak.input.type(self.mines)
            soak.input.keys("Return")
            soak.event(f"{options!r}: mines {self.mines!r}, Return (to play)")
            self.phase = "new"
            return None
        if self.phase == "new" and options and self.waits < 5:
            self.waits += 1  # the window manager has not yet let it go
            return None
        if any(w.modal for w in wins):
            return outcome(wins, "minesweeper") if self.phase == "play" else "interrupted"
        game = game_window(soak, wins, "saper")
        if game is None:
            return None
        if self.phase == "open":
            soak.focus(game)
            if self.mines:
                soak.click_at(game, *MENU_TITLES["И&гра"])
                soak.input.keys("Down", "Down", "Down", "Down", "Return")
                soak.event(f"{game!r}: menu И&гра, Опции (to play)")
                self.phase = "options"
                return None
            self.phase = "new"
        if self.phase == "options":  # the dialog did not open
            self.phase = "new"
        if self.phase == "new":
            soak.keys(game, "F2")
            soak.event(f"{game!r}: key F2 (to play)")
            self.phase = "play"
            return None
        soak.focus(game)
        field = self.read(game)
        if field is None:
            return "window gone"
        flat = [v for row in field for v in row]
        if "hit" in flat:
            return "minesweeper lost"
        if "won" in flat:
            return "minesweeper won"
        cell = self.choose(field, rng)
        if cell is None:
            return "minesweeper field cleared"
        r, c = cell
        soak.click_client(game, 16 + 24 * c + 12, 64 + 24 * r + 12)
        soak.event(f"seen: {game!r}: open cell {r + 1},{c + 1}")
        return None

    def read(self, game):
        pixels = self.soak.x.pixels(game.id, 0, 0, game.width, game.height)
        if pixels is None:
            return None
        ox, oy = client_origin(game)
        return [[saper_cell(pixels, ox + 16 + 24 * c, oy + 64 + 24 * r) for c in range(10)] for r in range(10)]

    @staticmethod
    def choose(field, rng):
        def around(r, c):
            return [(r + dr, c + dc) for dr in (-1, 0, 1) for dc in (-1, 0, 1)
                    if (dr or dc) and 0 <= r + dr < 10 and 0 <= c + dc < 10]
        mines, safe = set(), set()
        changed = True
        while changed:
            changed = False
            for r in range(10):
                for c in range(10):
                    n = field[r][c]
                    if not isinstance(n, int):
                        continue
                    closed = [p for p in around(r, c) if field[p[0]][p[1]] is None]
                    known = [p for p in closed if p in mines]
                    unknown = [p for p in closed if p not in mines and p not in safe]
                    if not unknown:
                        continue
                    if n == len(known):
                        safe.update(unknown)
                        changed = True
                    elif n - len(known) == len(unknown):
                        mines.update(unknown)
                        changed = True
        if safe:
            return sorted(safe)[rng.randrange(len(safe))]
        closed = [(r, c) for r in range(10) for c in range(10) if field[r][c] is None and (r, c) not in mines]
        return rng.choice(closed) if closed else None


class SeaGame:
    """Plays a sea battle to its end: random placement keys until the fleet
    is placed, then shots at the water next to a hit, or anywhere not yet
    fired at."""

    name = "sea battle"

    def __init__(self, soak, rng):
        self.soak = soak
        self.phase = "open"
        self.strength = rng.choice(["Новичок", "Профессионал", "Новичок"])
        self.steps = 0

    def step(self, wins, rng):
        soak = self.soak
        self.steps += 1
        if self.steps > 1500:
            return "given up"
        if any(w.modal for w in wins):
            return outcome(wins, "sea battle") if self.phase == "battle" else "interrupted"
        game = game_window(soak, wins, "sea")
        if game is None:
            return None
        if self.phase == "open":
            soak.focus(game)
            soak.click_at(game, *MENU_TITLES["И&гра"])
            downs = 1 if self.strength == "Новичок" else 2
            soak.input.keys("Down", "Down", "Down", "Right", *(["Down"] * (downs - 1)), "Return")
            soak.event(f"{game!r}: menu И&гра, Уровень сложности, {self.strength} (to play)")
            self.phase = "new"
            return None
        if self.phase == "new":
            soak.keys(game, "F2")
            soak.event(f"{game!r}: key F2 (to play)")
            self.phase = "placing"
            return None
        soak.focus(game)
        pixels = soak.x.pixels(game.id, 0, 0, game.width, game.height)
        if pixels is None:
            return "window gone"
        ox, oy = client_origin(game)
        own = [[sea_cell(pixels, ox + 16 + 25 * c, oy + 60 + 25 * r) for c in range(10)] for r in range(10)]
        enemy = [[sea_cell(pixels, ox + 288 + 25 * c, oy + 60 + 25 * r) for c in range(10)] for r in range(10)]
        own_flat = [v for row in own for v in row]
        if "unknown" in own_flat:
            return "cells without pictures"
        if self.phase == "placing":
            if "cursor" in own_flat:
                # The cursor starts each ship at the top left: down and right
                # to a random cell (in a random order, with a step back now
                # and then), a turn now and then, and Enter.
                keys = PLACEMENT_KEYS[soak.layout]
                up, down, left, right = keys[:4] if rng.random() < 0.7 else keys[4:]
                keys = [down] * rng.randrange(10) + [right] * rng.randrange(10)
                keys += [rng.choice((up, left))] * rng.randrange(2)
                rng.shuffle(keys)
                if rng.random() < 0.4:
                    keys.insert(rng.randrange(len(keys) + 1), "space")
                keys.append("Return")
                soak.keys(game, *keys)
                soak.event(f"seen: {game!r}: place with {' '.join(keys)}")
                return None
            self.phase = "battle"
        if own_flat.count("sunk") == 20:
            return "sea battle lost"
        target = self.choose(enemy, rng)
        if target is None:
            return "sea battle won" if sum(row.count("sunk") for row in enemy) == 20 else "no water left"
        r, c = target
        soak.click_client(game, 288 + 25 * c + 12, 60 + 25 * r + 12)
        soak.event(f"seen: {game!r}: fire at {r + 1},{c + 1}")
        return None

    @staticmethod
    def choose(enemy, rng):
        open_water = [(r, c) for r in range(10) for c in range(10) if enemy[r][c] == "water"]
        if not open_water:
            return None
        hits = [(r, c) for r in range(10) for c in range(10) if enemy[r][c] == "hit"]
        next_to = sorted({(r + dr, c + dc) for r, c in hits for dr, dc in ((1, 0), (-1, 0), (0, 1), (0, -1))
                          if 0 <= r + dr < 10 and 0 <= c + dc < 10 and enemy[r + dr][c + dc] == "water"})
        if len(hits) >= 2:
            rows = {r for r, _ in hits}
            columns = {c for _, c in hits}
            in_line = [(r, c) for r, c in next_to if (len(rows) == 1 and r in rows) or (len(columns) == 1 and c in columns)]
            next_to = in_line or next_to
        if next_to:
            return rng.choice(next_to)
        checked = [(r, c) for r, c in open_water if (r + c) % 2 == 0]
        return rng.choice(checked or open_water)


def game_window(soak, wins, game):
    """The game's window when it is shown; otherwise the launcher is asked
    for it (by its key) and there is none this step."""
    window = next((w for w in wins if w.kind == "game" and w.game == game and not w.minimized), None)
    if window is None:
        launcher = next(w for w in wins if w.kind == "launcher")
        key = LAUNCHER_KEYS[game]
        soak.keys(launcher, key)
        soak.event(f"launcher: key {key} (to play)")
    return window


def outcome(wins, game):
    """How a game ended, from the dialog that its end opened."""
    kinds = {w.kind for w in wins if w.modal}
    if "lost" in kinds:
        return f"{game} lost"
    if kinds & {"record", "norecord"}:
        return f"{game} won"
    return "interrupted by " + ", ".join(sorted(kinds))


