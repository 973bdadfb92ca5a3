"""What the soak knows of Tivorama's windows: which window a title and type
name, where each control lies in its client area, and how the boards look
in pixels. Everything here follows the program's fixed window layouts."""

GAMES = {"Пятнашки": "fifteen", "Сапер": "saper", "Морской бой": "sea"}
GAME_TITLES = {game: title for title, game in GAMES.items()}
LAUNCHER_KEYS = {"fifteen": "F2", "saper": "F3", "sea": "F4"}

# Our windows draw their own frame (3 pixels) and title bar (19); the
# launcher and the game windows have a menu bar (19) below it.
FRAME = 3
CAPTION = 19
MENU = 19
WITH_MENU = {"launcher", "game"}

# Client sizes tell the dialogs of one game apart.
LOST_DIALOG_HEIGHT = 160


def classify(win, pixels_of):
    """Sets win.kind and win.game from the title, type and size; pixels_of
    (wid, x, y) gives one pixel where the look must decide."""
    title = win.title
    if title == "Tivorama 1.0":
        win.kind = "launcher"
    elif title == "Tivorama 1.0 - о программе":
        win.kind = "about"
    elif title == "Tivorama" and not win.frameless:
        win.kind = "errorbox"  # the error report's message box
    elif title.endswith(" - лучшие результаты") and title[: -len(" - лучшие результаты")] in GAMES:
        win.kind, win.game = "table", GAMES[title[: -len(" - лучшие результаты")]]
    elif title.endswith(" - правила игры"):
        win.kind = "rules"
    elif title == "Сапер - опции":
        win.kind, win.game = "options", "saper"
    elif title in GAMES:
        win.game = GAMES[title]
        if not win.dialog:
            win.kind = "game"
        elif win.height - FRAME - CAPTION - FRAME == LOST_DIALOG_HEIGHT:
            win.kind = "lost"
        else:
            # Only the record dialog has the white name field there, at its
            # right end, past any name and its selection.
            x, y = client_origin(win)
            pixel = pixels_of(win.id, x + 25 + 200, y + 85 + 10)
            win.kind = "record" if pixel == (255, 255, 255) else "norecord"
    else:
        win.kind = "other"
    return win


def client_origin(win):
    return FRAME, FRAME + CAPTION + (MENU if win.kind in WITH_MENU else 0)


# Controls by window kind (and game): name -> (left, top, width, height) in
# client coordinates.
CONTROLS = {
    "launcher": {
        "Пятнашки": (16, 24, 80, 54), "Сапер": (104, 24, 80, 54), "Морской бой": (192, 24, 80, 54),
        "Выход": (104, 88, 80, 33),
    },
    ("game", "fifteen"): {"new game": (22, 11, 34, 34), "display": (180, 17, 41, 25)},
    ("game", "saper"): {"new game": (20, 11, 34, 34), "pause": (56, 11, 34, 34), "mine count": (104, 18, 89, 23),
                        "display": (212, 17, 41, 25)},
    ("game", "sea"): {"new game": (20, 11, 34, 34), "status": (16, 328, 523, 25), "display": (257, 23, 41, 25)},
    "options": {"Edit1": (37, 52, 137, 21), "OK": (18, 112, 85, 25), "Отмена": (108, 112, 85, 25)},
    "record": {"EditName": (25, 85, 209, 21), "OK": (77, 134, 105, 25)},
    "norecord": {"OK": (77, 134, 105, 25)},
    "lost": {"OK": (76, 126, 105, 25)},
    "table": {"OK": (104, 264, 105, 25), "rows": (14, 24, 280, 160)},
    "about": {"OK": (76, 286, 105, 25)},
    "rules": {"list": (13, 13, 510, 308), "Закрыть": (416, 336, 89, 25)},
}


def controls(win):
    return CONTROLS.get((win.kind, win.game)) or CONTROLS.get(win.kind) or {}


def boards(win):
    """The cells of a game window's boards: name -> list of (row, column,
    left, top, size) in client coordinates."""
    if win.kind != "game":
        return {}
    if win.game == "fifteen":
        return {"tiles": [(r, c, 22 + 50 * c, 74 + 50 * r, 50) for r in range(4) for c in range(4)]}
    if win.game == "saper":
        return {"cells": [(r, c, 16 + 24 * c, 64 + 24 * r, 25) for r in range(10) for c in range(10)]}
    return {"enemy sea": [(r, c, 288 + 25 * c, 60 + 25 * r, 25) for r in range(10) for c in range(10)],
            "own sea": [(r, c, 16 + 25 * c, 60 + 25 * r, 25) for r in range(10) for c in range(10)]}


def caption_buttons(win):
    """The title bar's buttons: name -> centre in window coordinates."""
    buttons = {"close": (win.width - FRAME - 18 + 8, FRAME + 2 + 7)}
    if not win.dialog:
        buttons["maximize"] = (win.width - FRAME - 18 - 2 - 16 + 8, FRAME + 2 + 7)
        buttons["minimize"] = (win.width - FRAME - 18 - 2 - 32 + 8, FRAME + 2 + 7)
    return buttons


# Menu titles of the windows with a menu bar, centres in window coordinates.
MENU_TITLES = {"И&гра": (22, 31), "&Справка": (68, 31)}

# The minesweeper's digits by colour; 0 is black.
SAPER_DIGITS = {(0, 0, 0): 0, (0, 0, 255): 1, (0, 128, 0): 2, (255, 0, 0): 3, (0, 0, 128): 4,
                (128, 0, 0): 5, (128, 0, 128): 6, (0, 128, 128): 7, (0, 255, 0): 8}
FUCHSIA = (255, 0, 255)
RED = (255, 0, 0)


def saper_cell(pixels, left, top):
    """What a minesweeper cell shows: None closed, 0..8 opened, "hit" the
    mine that ended a lost game, "mine" another mine shown after it, "won"
    a mine shown after a won game."""
    counts = {}
    for y in range(top + 5, top + 20):
        row = pixels[y]
        for x in range(left + 6, left + 19):
            counts[row[x]] = counts.get(row[x], 0) + 1
    if counts.get(RED, 0) > 60:
        return "hit"
    if counts.get(FUCHSIA, 0) >= 4:
        return "won"
    best = max(SAPER_DIGITS, key=lambda colour: counts.get(colour, 0))
    if counts.get(best, 0) < 4:
        return None
    return SAPER_DIGITS[best]


# The sea battle's cell pictures, told apart by two pixels: the centre and a
# point down and left of it.
SEA_LOOKS = {
    "water": ((0, 80, 184), None),
    "ship": ((96, 108, 128), None),
    "cursor": ((196, 204, 216), None),
    "hit": ((255, 255, 255), (140, 152, 168)),
    "sunk": ((255, 0, 0), None),
    "miss": ((255, 255, 255), (0, 80, 184)),
}


def sea_cell(pixels, left, top):
    centre = pixels[top + 12][left + 12]
    corner = pixels[top + 18][left + 6]
    for look, (a, b) in SEA_LOOKS.items():
        if centre == a and (b is None or corner == b):
            return look
    return "unknown"  # plain cells: a picture file could not be loaded
