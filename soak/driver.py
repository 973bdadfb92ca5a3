#!/usr/bin/python3
"""Random-input soak of Tivorama: drives the real program on a private X
server with random but valid input for a given time, and fails on a crash, a
sanitizer report, a window that stops answering, an error box whose text is
not one of the program's own, or a score file that is not a whole table.
scripts/soak sets up the build, the X server and the folder it runs in.

Every step draws its random numbers from the seed and its own number only,
so a run with the same seed makes the same choices from the same windows.
What the program shows is not always the same: it deals its boards from the
clock, and how long a cue blocks decides which window is up when. The log
marks the events that follow what the program showed with "seen:"."""

import argparse
import os
import random
import re
import signal
import stat
import subprocess
import sys
import time

from play import PLACEMENT_KEYS, FifteenGame, SaperGame, SeaGame
from windows import MENU_TITLES, boards, caption_buttons, classify, client_origin, controls
from xsession import Input, Pinger, SoakFailure, XSession

# A window may block while its cues play, the longest run being the
# computer's last turn and the lost-game cues (about 13 s); past this it has
# stopped answering.
STALL_LIMIT = 20.0

# The texts the program shows for the failures it expects: files it cannot
# read or write, cues the sound system cannot play, pictures it cannot load.
# Any other text in an error box (an exception's own message, "Unknown
# error", or one of the texts that mark a fault in the program itself, such
# as "Cannot make a visible window modal") fails the soak.
OWN_ERROR_TEXTS = {
    "cue file refused": r"Cannot open file \d+\.wav: .+",
    # Passed on as the sound system gives them: a file it cannot open, a
    # wave file it cannot read (its texts name WAVE, RIFF or a chunk), a
    # device it cannot open.
    "sound system": r"Couldn't open \S+\.wav|Unknown sound system error|.*\b(WAVE|RIFF)\b.*"
                    r"|Truncated data chunk.*|.*\b[Aa]udio\b.*",
    "rules file unreadable": r"Cannot open file \d\.doc",
    "score file unreadable": r"Cannot read file \S+\.[123]: .+",
    "score file not written": r"Cannot write file \S+\.[123]: .+",
    "sea picture": r"Cannot load picture sea\w+\.bmp(, sea\w+\.bmp)*; plain cells are shown instead",
}

SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "SUMMARY: UndefinedBehaviorSanitizer", "AddressSanitizer:DEADLYSIGNAL")

# Keys a player presses in a game window; the sea battle's placement letters
# come in the layout that is on.
COMMON_KEYS = ["F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "Return", "Escape", "space",
               "Up", "Down", "Left", "Right", "Tab", "BackSpace"]

NAMES = ["Иван", "Мария", "Ёжик в тумане", "Пётр Первый", "Анна-Мария", "Vasya", "Zoë", "Ли Вэй",
         "Тридцать символов в этом имени!", "A", "Неизвестный", "Чемпион 1998", "игрок №1", "€ и $"]
CYRILLIC = "абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
MINE_COUNTS = ["5", "5", "5", "20", "50", "4", "51", "0", "-5", "abc", "", " 12", "12 ", "1e1", "999999999999",
               "пять", "٣"]


def table_fault(data):
    """What is wrong with a score file, or None when it is a table as the
    program writes it: ten 26-byte records of a name length up to 20, the
    name padded with zero bytes and a five-character score, lowest first."""
    if len(data) != 260:
        return f"{len(data)} bytes"
    previous = None
    for i in range(10):
        record = data[26 * i: 26 * i + 26]
        length = record[0]
        if length > 20 or any(record[1 + length: 21]):
            return f"record {i + 1}: name length {length}"
        field = record[21:26].decode("latin-1")
        if not re.fullmatch(r"0*-?[0-9]+", field):
            return f"record {i + 1}: score field {field!r}"
        score = int(field.lstrip("0") or "0")
        if previous is not None and score < previous:
            return f"record {i + 1}: score {score} below {previous}"
        previous = score
    return None


class Program:
    """The program under test, its error output and its end."""

    def __init__(self, path, folder, errors):
        self.path, self.folder, self.errors = path, folder, errors
        self.process = None
        self.read_to = self.scanned_to = 0

    def start(self):
        with open(self.errors, "ab") as err:
            self.read_to = self.scanned_to = err.tell()
            self.process = subprocess.Popen([self.path], cwd=self.folder, stdin=subprocess.DEVNULL,
                                            stdout=err, stderr=err)

    @property
    def pid(self):
        return self.process.pid

    def new_errors(self):
        """What this run of the program has written to its error output."""
        with open(self.errors, "rb") as err:
            err.seek(self.read_to)
            return err.read().decode("utf-8", "replace")

    def sanitizer_report(self):
        """This run's error output once a sanitizer has reported in it. Only
        what is new is searched, from a little before, where a mark may have
        been cut off."""
        with open(self.errors, "rb") as err:
            start = max(self.read_to, self.scanned_to - 64)
            err.seek(start)
            data = err.read()
            self.scanned_to = start + len(data)
        if any(mark.encode() in data for mark in SANITIZER_MARKS):
            return self.new_errors()
        return None

    def ended(self):
        return self.process.poll() is not None

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class Stats:
    def __init__(self):
        self.steps = 0
        self.events = 0
        self.visited = {}
        self.boxes = {}
        self.starts = 0
        self.closes = 0
        self.games = {}
        self.faults = []
        self.longest = (0.0, 0)


class Soak:
    def __init__(self, args):
        self.args = args
        self.seed = args.seed
        self.folder = os.path.abspath(args.folder)
        self.program = Program(os.path.join(self.folder, os.path.basename(args.program)), self.folder,
                               args.errors)
        self.x = XSession()
        self.input = Input(None)
        self.log = open(args.log, "w", encoding="utf-8", buffering=1)
        self.stats = Stats()
        self.layout = "us"
        self.pinger = None
        self.episode = None
        self.may_end = False  # the last step may have closed the launcher
        self.blocked = False  # a modal dialog is up
        self.started = time.monotonic()
        self.step_number = 0
        self.damage = None
        if args.damage:
            from damage import Damage
            self.damage = Damage(self)

    # --- what is logged ---------------------------------------------------

    def note(self, text):
        self.log.write(f"{self.step_number:7d} {time.monotonic() - self.started:9.2f}s  {text}\n")

    def event(self, text):
        self.stats.events += 1
        self.note(text)

    # --- the program --------------------------------------------------------

    def start_program(self):
        self.program.start()
        self.stats.starts += 1
        self.note(f"start: {self.program.path} (pid {self.program.pid})")
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline:
            self.check_alive(starting=True)
            launcher = [w for w in self.windows() if w.kind == "launcher"]
            if launcher:
                self.pinger = Pinger(launcher[0].id, STALL_LIMIT)
                self.pinger.start()
                self.settle()
                return
            time.sleep(0.2)
        raise SoakFailure("the launcher did not appear within 120 s")

    def end_program(self):
        """Answers what dialogs are up, closes the launcher (its menu's
        shortcut, then its exit button, then its title bar) and checks that
        the program ends cleanly."""
        rng = random.Random(f"{self.seed}:end:{self.step_number}")
        for attempt in range(8):
            if self.program.ended():
                break
            self.may_end = False
            self.settle()
            wins = self.windows()
            boxes = [w for w in wins if w.kind == "errorbox"]
            modal = [w for w in wins if w.modal]
            self.blocked = bool(modal)
            if boxes:
                self.answer_error_box(boxes[-1], rng)
                continue
            if modal:
                key = "Escape" if modal[-1].kind == "options" else "Return"
                self.keys(modal[-1], key)
                self.event(f"{modal[-1]!r}: {key} (to end)")
                continue
            launcher = next((w for w in wins if w.kind == "launcher"), None)
            if launcher is None:
                continue
            self.may_end = True
            self.input.activate(launcher.id)
            self.input.keys("Escape")  # a menu left open would take the keys
            if attempt < 2:
                self.input.keys("ctrl+F10")
                how = "key ctrl+F10"
            elif attempt < 4:
                self.click_control(launcher, "Выход")
                how = "button Выход"
            else:
                self.click_at(launcher, *caption_buttons(launcher)["close"])
                how = "title bar close"
            self.event(f"{launcher!r}: {how} (to end)")
            deadline = time.monotonic() + 15
            while not self.program.ended() and time.monotonic() < deadline:
                time.sleep(0.1)
        if not self.program.ended():
            raise SoakFailure("the program did not end after its launcher was closed")
        self.program_ended()

    def program_ended(self):
        code = self.program.process.returncode
        report = self.program.sanitizer_report()
        if self.pinger:
            self.pinger.stop()
            self.note_stall()
            self.pinger = None
        if report:
            raise SoakFailure("sanitizer report:\n" + report[-6000:])
        if code != 0:
            raise SoakFailure(f"the program ended with {describe_exit(code)}:\n" + self.program.new_errors()[-3000:])
        if not self.may_end:
            raise SoakFailure("the program ended although its launcher was not closed")
        self.stats.closes += 1
        self.note("the program ended cleanly")

    def check_alive(self, starting=False):
        report = self.program.sanitizer_report()
        if report:
            time.sleep(2)  # let the report finish
            self.program.kill()
            raise SoakFailure("sanitizer report:\n" + self.program.sanitizer_report()[-6000:])
        if self.program.ended():
            if starting:
                raise SoakFailure(f"the program ended while starting: {describe_exit(self.program.process.returncode)}"
                                  + "\n" + self.program.new_errors()[-3000:])
            self.program_ended()
            self.start_program()
            return False
        return True

    def note_stall(self):
        if self.pinger and self.pinger.longest > self.stats.longest[0]:
            self.stats.longest = (self.pinger.longest, self.step_number)

    def settle(self):
        """Waits until the program has handled everything sent so far."""
        if not self.pinger:
            return
        failure = self.pinger.barrier(STALL_LIMIT + 5, lambda: not self.program.ended())
        self.note_stall()
        if failure:
            if self.program.ended():
                return
            raise SoakFailure(f"the program stopped answering: {failure}")

    # --- what is on the screen ------------------------------------------------

    def pixel(self, wid, x, y):
        rows = self.x.pixels(wid, x, y, 1, 1)
        return rows[0][0] if rows else None

    def windows(self):
        """The program's windows, once the window manager's list of them has
        stood still for a moment: a dialog the program has just shown may
        not be managed yet when the program is idle again."""
        ids = None
        for _ in range(10):
            wins = self.x.windows(self.program.pid)
            now = [(w.id, w.minimized, w.active) for w in wins]
            if now == ids:
                break
            ids = now
            time.sleep(0.03)
        return [classify(w, self.pixel) for w in wins]

    def check_tables(self):
        for game in (1, 2, 3):
            path = os.path.join(self.folder, f"tivorama.{game}")
            try:
                if not stat.S_ISREG(os.stat(path).st_mode):
                    continue
                with open(path, "rb") as table:
                    data = table.read()
            except FileNotFoundError:
                continue
            except PermissionError:
                continue  # made unreadable by the damage mode
            fault = table_fault(data)
            if fault:
                raise SoakFailure(f"{path} is not a whole table: {fault}")
        # With the program idle, no save is under way: nothing of one may stay.
        leftovers = [name for name in os.listdir(self.folder)
                     if re.fullmatch(r"tivorama\.[123]\.lock|\.tivorama\.[123]\.saving-\d+", name)]
        if leftovers:
            raise SoakFailure("left beside the tables after a save: " + ", ".join(leftovers))

    # --- input ------------------------------------------------------------------

    def click_at(self, win, x, y, button=1):
        # A player clicks what is on top: a window behind another comes to
        # the front first, so the click cannot land on the launcher's exit.
        self.focus(win)
        self.input.click(win.x + x, win.y + y, button)

    def click_client(self, win, x, y, button=1):
        ox, oy = client_origin(win)
        self.click_at(win, ox + x, oy + y, button)

    def click_control(self, win, name, rng=None):
        left, top, width, height = controls(win)[name]
        if rng:
            x, y = left + rng.randrange(width), top + rng.randrange(height)
        else:
            x, y = left + width // 2, top + height // 2
        self.click_client(win, x, y)

    def focus(self, win):
        """Brings a window to the front and makes it active, unless a modal
        dialog blocks it: then input goes where the window manager sends it,
        as it does for a player."""
        if win.active:
            return
        if not (self.blocked and not win.modal) and self.input.activate(win.id):
            win.active = True
            self.event(f"switch to {win!r}")
            return
        # The input may reach another window, the launcher too.
        self.may_end = True
        if not self.blocked:
            self.event(f"switch to {win!r}: it did not become active")

    def keys(self, win, *keysyms):
        self.focus(win)
        self.input.keys(*keysyms)

    def set_layout(self, name):
        if name != self.layout:
            self.input.layout(name)
            self.layout = name

    # --- one step ---------------------------------------------------------------

    def step(self):
        self.step_number += 1
        self.stats.steps += 1
        rng = random.Random(f"{self.seed}:{self.step_number}")
        if not self.check_alive():
            return
        self.settle()
        if not self.check_alive():
            return
        self.check_tables()
        wins = self.windows()
        if not any(w.kind == "launcher" for w in wins):
            return  # ending, or not yet shown
        self.blocked = any(w.modal for w in wins)
        for w in wins:
            if w.active:
                self.stats.visited[repr_kind(w)] = self.stats.visited.get(repr_kind(w), 0) + 1
        self.may_end = False
        boxes = [w for w in wins if w.kind == "errorbox"]
        if boxes:
            self.answer_error_box(boxes[-1], rng)
            return
        if self.damage and self.damage.step(wins, rng):
            return
        if self.episode:
            done = self.episode.step(wins, rng)
            if done:
                self.note(f"seen: {self.episode.name} over: {done}")
                self.stats.games[done] = self.stats.games.get(done, 0) + 1
                self.episode = None
            return
        self.random_step(wins, rng)

    def answer_error_box(self, box, rng):
        text = self.read_box(box)
        kind = next((name for name, pattern in OWN_ERROR_TEXTS.items() if re.fullmatch(pattern, text)), None)
        if kind is None:
            raise SoakFailure(f"an error box says what the program never says: {text!r}")
        self.stats.boxes[kind] = self.stats.boxes.get(kind, 0) + 1
        key = rng.choice(["Return", "space", "Escape"])
        self.event(f"seen: error box {text!r} ({kind}); {key}")
        if self.damage:
            self.damage.box_seen(text)
        self.keys(box, key)

    def read_box(self, box):
        """The text of the error report's message box, through the
        accessibility tree, as a screen reader reads it."""
        import pyatspi
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            try:
                for app in pyatspi.Registry.getDesktop(0):
                    if app is None or app.get_process_id() != self.program.pid:
                        continue
                    for window in app:
                        if window is None or window.name != "Tivorama":
                            continue
                        if not window.getState().contains(pyatspi.STATE_SHOWING):
                            continue
                        labels = [child.name for child in walk(window)
                                  if child.getRole() == pyatspi.ROLE_LABEL and child.name]
                        if labels:
                            return "\n".join(labels)
            except Exception as e:  # the tree changes while it is read
                self.note(f"accessibility tree: {e}")
            time.sleep(0.2)
        raise SoakFailure("the text of an error box could not be read")

    # --- random input -------------------------------------------------------------

    def random_step(self, wins, rng):
        draw = rng.random()
        visible = [w for w in wins if not w.minimized]
        modal = [w for w in visible if w.modal]
        hidden_modal = [w for w in wins if w.modal and w.minimized]
        if hidden_modal:
            self.input.activate(hidden_modal[0].id)
            self.event(f"restore {hidden_modal[0]!r}")
            return
        if draw < 0.02:
            name = "ru" if self.layout == "us" else "us"
            self.set_layout(name)
            self.event(f"keyboard layout {name}")
            return
        if draw < 0.05 and not modal and self.args.play:
            self.episode = rng.choice([FifteenGame, SaperGame, SeaGame, SaperGame])(self, rng)
            self.event(f"play {self.episode.name} to its end")
            return
        if draw < 0.06 and not modal and any(w.minimized for w in wins):
            target = rng.choice([w for w in wins if w.minimized])
            self.input.activate(target.id)
            self.event(f"restore {target!r}")
            return
        if not visible:
            self.input.activate(wins[0].id)
            self.event(f"restore {wins[0]!r}")
            return
        if modal and rng.random() < 0.9:
            target = modal[-1]
        else:
            active = [w for w in visible if w.active]
            target = active[0] if active and rng.random() < 0.6 else rng.choice(visible)
        self.act_on(target, rng)

    def act_on(self, win, rng):
        kind = win.kind
        draw = rng.random()
        ox, oy = client_origin(win)
        width, height = win.width - 2 * ox, win.height - oy - ox
        if kind == "launcher":
            self.may_end = True
        if draw < 0.05:
            buttons = caption_buttons(win)
            name = rng.choice(sorted(buttons))
            if kind == "launcher" and name == "close" and rng.random() < 0.7:
                name = "minimize"  # closing ends the program: now and then only
            self.click_at(win, *buttons[name])
            self.event(f"{win!r}: title bar {name}")
            return
        if draw < 0.07:
            dx, dy = rng.randrange(-200, 200), rng.randrange(-150, 150)
            self.input.drag(win.x + win.width // 3, win.y + 10, dx, dy)
            self.event(f"{win!r}: drag the title bar by {dx},{dy}")
            return
        if draw < 0.12 and kind in ("launcher", "game"):
            self.random_menu(win, rng)
            return
        if draw < 0.13:
            if kind != "launcher" or rng.random() < 0.2:
                self.keys(win, "alt+F4")
                self.event(f"{win!r}: alt+F4")
                return
        handler = getattr(self, f"on_{kind}", None)
        if handler and draw < 0.85:
            handler(win, rng)
            return
        # Anywhere in the window, either button.
        x, y = rng.randrange(max(width, 1)), rng.randrange(max(height, 1))
        button = 3 if rng.random() < 0.1 else 1
        self.click_client(win, x, y, button)
        self.event(f"{win!r}: click {'right ' if button == 3 else ''}at {x},{y}")

    def random_menu(self, win, rng):
        title = rng.choice(sorted(MENU_TITLES))
        downs = rng.randrange(0, 7)
        ending = rng.choice(["Return", "Return", "Return", "Escape", "Right Return"])
        if rng.random() < 0.3:
            self.keys(win, "alt")
            self.input.keys(*(["Right"] * (title == "&Справка")), "Down")
            opened = "alt"
        else:
            self.focus(win)
            self.click_at(win, *MENU_TITLES[title])
            opened = "click"
        self.input.keys(*(["Down"] * downs), *ending.split())
        self.event(f"{win!r}: menu {title} ({opened}), {downs} x Down, {ending}")

    def random_key(self, win, rng, extra=()):
        pool = COMMON_KEYS + list(extra)
        key = rng.choice(pool)
        if key == "F10" and rng.random() < 0.3:
            key = "ctrl+F10"
        self.keys(win, key)
        self.event(f"{win!r}: key {key}")

    def on_launcher(self, win, rng):
        draw = rng.random()
        if draw < 0.5:
            name = rng.choice(["Пятнашки", "Сапер", "Морской бой", "Пятнашки", "Сапер", "Морской бой", "Выход"])
            if name == "Выход" and rng.random() < 0.7:
                name = "Сапер"
            self.click_control(win, name, rng)
            self.event(f"{win!r}: button {name}")
        else:
            key = rng.choice(["F2", "F3", "F4", "F1", "F2", "F3", "F4", "Escape", "Return", "ctrl+F10", "F5"])
            if key == "ctrl+F10" and rng.random() < 0.7:
                key = "F4"
            self.keys(win, key)
            self.event(f"{win!r}: key {key}")

    def on_game(self, win, rng):
        draw = rng.random()
        if draw < 0.45:
            board, cells = rng.choice(sorted(boards(win).items()))
            r, c, left, top, size = rng.choice(cells)
            x, y = left + rng.randrange(size), top + rng.randrange(size)
            self.click_client(win, x, y)
            self.event(f"{win!r}: click {board} {r + 1},{c + 1}")
        elif draw < 0.6:
            name = rng.choice(sorted(controls(win)))
            self.click_control(win, name, rng)
            self.event(f"{win!r}: click {name}")
        elif win.game == "sea" and draw < 0.85:
            key = rng.choice(PLACEMENT_KEYS[self.layout] + ["space", "Return"] * 2)
            self.keys(win, key)
            self.event(f"{win!r}: key {key}")
        else:
            self.random_key(win, rng, PLACEMENT_KEYS[self.layout] if win.game == "sea" else ())

    def on_record(self, win, rng):
        draw = rng.random()
        if draw < 0.6:
            name = random_name(rng)
            if rng.random() < 0.5:
                self.click_control(win, "EditName", rng)
                self.keys(win, "ctrl+a")
            else:
                self.focus(win)
            if name:
                self.input.type(name)
            else:
                self.input.keys("BackSpace")
            ending = rng.choice(["Return", "OK", "OK", "Return", "none"])
            if ending == "OK":
                self.click_control(win, "OK", rng)
            elif ending == "Return":
                self.input.keys("Return")
            self.event(f"{win!r}: name {name!r}, {ending}")
        elif draw < 0.75:
            self.click_control(win, "OK", rng)
            self.event(f"{win!r}: OK")
        else:
            self.random_key(win, rng)

    def on_options(self, win, rng):
        draw = rng.random()
        if draw < 0.6:
            text = rng.choice(MINE_COUNTS) if rng.random() < 0.8 else random_name(rng)
            self.click_control(win, "Edit1", rng)
            self.keys(win, "ctrl+a")
            if text:
                self.input.type(text)
            else:
                self.input.keys("BackSpace")
            ending = rng.choice(["Return", "OK", "Отмена", "Escape", "none"])
            if ending in ("OK", "Отмена"):
                self.click_control(win, ending, rng)
            elif ending != "none":
                self.input.keys(ending)
            self.event(f"{win!r}: mines {text!r}, {ending}")
        elif draw < 0.8:
            name = rng.choice(["OK", "Отмена"])
            self.click_control(win, name, rng)
            self.event(f"{win!r}: {name}")
        else:
            self.random_key(win, rng)

    def on_dialog(self, win, rng):
        if rng.random() < 0.5:
            self.click_control(win, "OK", rng)
            self.event(f"{win!r}: OK")
        else:
            self.random_key(win, rng)

    on_norecord = on_dialog
    on_lost = on_dialog
    on_about = on_dialog

    def on_table(self, win, rng):
        draw = rng.random()
        if draw < 0.4:
            self.click_control(win, "OK", rng)
            self.event(f"{win!r}: OK")
        elif draw < 0.55:
            self.click_control(win, "rows", rng)
            self.event(f"{win!r}: click the rows")
        elif draw < 0.65:
            self.input.double_click(win.x + win.width // 2, win.y + 10)
            self.event(f"{win!r}: double click on the title bar")
        else:
            self.random_key(win, rng)

    def on_rules(self, win, rng):
        draw = rng.random()
        if draw < 0.3:
            self.click_control(win, "list", rng)
            self.event(f"{win!r}: click in the list")
        elif draw < 0.5:
            self.click_control(win, "Закрыть", rng)
            self.event(f"{win!r}: Закрыть")
        else:
            self.random_key(win, rng, ["Page_Down", "Page_Up", "Home", "End"])

    # --- the end --------------------------------------------------------------------

    def run(self):
        print(f"soak: seed {self.seed}, {self.args.minutes} min, log {self.args.log}", flush=True)
        self.note(f"seed {self.seed}; {self.args.minutes} min; damage {'on' if self.damage else 'off'}")
        self.note("timing-dependent: the program deals its boards and the computer's moves from the clock,"
                  " and cues block for their length, so events marked 'seen:' follow what the program showed")
        deadline = self.started + self.args.minutes * 60
        if not self.x.wait_for_window_manager(30):
            raise SoakFailure("no window manager runs on the soak's X server")
        # The accessibility bus and its registry start on this first look,
        # before the program does, so the program joins them as it starts.
        import pyatspi
        pyatspi.Registry.getDesktop(0).childCount
        self.start_program()
        while time.monotonic() < deadline:
            self.step()
        self.close()

    def close(self):
        if not self.program.ended():
            self.end_program()

    def summary(self):
        s = self.stats
        lines = [f"steps {s.steps}, events {s.events}, program started {s.starts} times, closed {s.closes} times",
                 f"longest wait for an answer to a ping: {s.longest[0]:.2f} s (at step {s.longest[1]})",
                 "windows visited (steps active): " + ", ".join(f"{k} {v}" for k, v in sorted(s.visited.items())),
                 "error boxes: " + (", ".join(f"{k} {v}" for k, v in sorted(s.boxes.items())) or "none"),
                 "games played to their end: " + (", ".join(f"{k} {v}" for k, v in sorted(s.games.items())) or "none")]
        if self.damage:
            lines.append("faults injected: " + (", ".join(self.damage.summary()) or "none"))
        return lines


def walk(accessible):
    for child in accessible:
        if child is None:
            continue
        yield child
        yield from walk(child)


def random_name(rng):
    draw = rng.random()
    if draw < 0.35:
        return rng.choice(NAMES)
    if draw < 0.55:
        return "".join(rng.choice(CYRILLIC) for _ in range(rng.randrange(1, 31)))
    if draw < 0.7:
        return "".join(rng.choice("abcdefghijklmnopqrstuvwxyz0123456789 .-") for _ in range(rng.randrange(1, 31)))
    if draw < 0.85:
        return ""
    return "".join(rng.choice(CYRILLIC + "abcXYZ 0123456789!?-_/«»№€ё") for _ in range(rng.randrange(18, 40)))


def repr_kind(win):
    return f"{win.kind}" + (f" ({win.game})" if win.game else "")


def describe_exit(code):
    if code < 0:
        try:
            return f"signal {signal.Signals(-code).name}"
        except ValueError:
            return f"signal {-code}"
    return f"exit status {code}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--folder", required=True, help="the private folder the program runs in")
    parser.add_argument("--minutes", type=float, default=3)
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--errors", required=True, help="where the program's error output goes")
    parser.add_argument("--damage", action="store_true")
    parser.add_argument("--no-play", dest="play", action="store_false", help="no games played to their end")
    args = parser.parse_args()
    soak = Soak(args)
    failure = None
    try:
        soak.run()
    except SoakFailure as e:
        failure = str(e)
    except KeyboardInterrupt:
        failure = "interrupted"
    finally:
        soak.program.kill()
        if soak.pinger:
            soak.pinger.stop()
    for line in soak.summary():
        print("soak: " + line)
        soak.note(line)
    if failure:
        soak.note("FAILED: " + failure)
        print(f"soak: FAILED at step {soak.step_number}: {failure}")
        print(f"soak: replay with: scripts/soak {args.minutes:g} --seed {args.seed}"
              + (" --damage" if args.damage else ""))
        print(f"soak: the last events ({args.log}):")
        soak.log.flush()
        with open(args.log, encoding="utf-8") as log:
            for line in log.readlines()[-25:]:
                print("    " + line.rstrip())
        return 1
    print("soak: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
