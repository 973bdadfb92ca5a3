"""Games the soak plays to their end, reading the boards from the screen,
so that the ends of games, the result dialogs and the score tables are met
as often as a player meets them: a minesweeper game by the numbers, a sea
battle by its hits."""

from windows import MENU_TITLES, client_origin, saper_cell, sea_cell

# The sea battle's placement letters in either keyboard layout: Q, A, I, O
# and the Cyrillic letters on the same keys.
PLACEMENT_KEYS = {"us": ["q", "a", "i", "o", "Q", "A", "I", "O"],
                  "ru": ["Cyrillic_shorti", "Cyrillic_ef", "Cyrillic_sha", "Cyrillic_shcha",
                         "Cyrillic_SHORTI", "Cyrillic_EF", "Cyrillic_SHA", "Cyrillic_SHCHA"]}


class SaperGame:
    """Plays a minesweeper game to its end: a new field, then every cell
    that the numbers show safe, a random closed cell where they show none."""

    name = "minesweeper"

    def __init__(self, soak, rng):
        self.soak = soak
        self.phase = "open"
        self.mines = rng.choice(["5", "5", "10", None])
        self.steps = 0

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
        if any(w.modal for w in wins):
            return outcome(wins, "minesweeper") if self.phase == "play" else "interrupted"
        game = next((w for w in wins if w.kind == "game" and w.game == "saper" and not w.minimized), None)
        if game is None:
            launcher = next(w for w in wins if w.kind == "launcher")
            soak.keys(launcher, "F3")
            soak.event("launcher: key F3 (to play)")
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
        game = next((w for w in wins if w.kind == "game" and w.game == "sea" and not w.minimized), None)
        if game is None:
            launcher = next(w for w in wins if w.kind == "launcher")
            soak.keys(launcher, "F4")
            soak.event("launcher: key F4 (to play)")
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


def outcome(wins, game):
    """How a game ended, from the dialog that its end opened."""
    kinds = {w.kind for w in wins if w.modal}
    if "lost" in kinds:
        return f"{game} lost"
    if kinds & {"record", "norecord"}:
        return f"{game} won"
    return "interrupted by " + ", ".join(sorted(kinds))


