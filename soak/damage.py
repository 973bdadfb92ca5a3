"""The soak's damage mode: while the program runs, its data in the private
folder is damaged one fault at a time - a cue file cut short, a rules file
made unreadable, a sea picture replaced by junk, the folder of the score
tables made read-only (with the tables themselves now and then) - and each
time the soak checks that the fault is reported with the program's own text,
that random play goes on with the fault in place, and that once the data is
whole again the program plays as before. The faults take turns, so even a
short run meets each of them."""

import itertools
import os
import re
import shutil
import time

from play import SaperGame
from windows import LAUNCHER_KEYS
from xsession import SoakFailure

FAULTS = ["cue file cut short", "rules file unreadable", "sea picture replaced by junk",
          "score folder read-only"]
FIRST_FAULT_STEP = 25
STEPS_BETWEEN_FAULTS = 60
STEPS_WITH_FAULT = 25  # of random play while a fault is in place


class Damage:
    def __init__(self, soak):
        self.soak = soak
        self.folder = soak.folder
        self.injected = []
        self.current = None
        self.next_step = FIRST_FAULT_STEP
        self.seen = []  # texts of the error boxes since the last look

    def summary(self):
        counts = {}
        for fault in self.injected:
            counts[fault] = counts.get(fault, 0) + 1
        return [f"{fault} {n}" for fault, n in counts.items()]

    def box_seen(self, text):
        self.seen.append(text)

    def step(self, wins, rng):
        """Takes this step for the fault under way; False leaves it to
        random play."""
        if self.current is None:
            if self.soak.step_number < self.next_step:
                return False
            fault = FAULTS[len(self.injected) % len(FAULTS)]
            self.injected.append(fault)
            self.soak.episode = None
            self.current = getattr(self, "fault_" + fault.replace(" ", "_").replace("-", "_"))(rng)
            self.current.send(None)
        try:
            description = self.current.send((wins, rng))
        except StopIteration:
            self.current = None
            self.next_step = self.soak.step_number + STEPS_BETWEEN_FAULTS
            return False
        if description is None:
            return False  # random play this step
        self.soak.event("damage: " + description)
        return True

    # --- shared moves ---------------------------------------------------------

    def fail(self, text):
        raise SoakFailure(f"damage mode, {self.injected[-1]}: {text}")

    def ready(self):
        """Answers the dialogs that are up until none is; yields the windows."""
        wins, rng = yield "look at the windows"
        while True:
            modal = [w for w in wins if w.modal and not w.minimized]
            hidden = [w for w in wins if w.modal and w.minimized]
            if hidden:
                self.soak.input.activate(hidden[0].id)
                wins, rng = yield f"restore {hidden[0]!r}"
                continue
            if not modal:
                return wins
            key = "Escape" if modal[-1].kind == "options" else "Return"
            self.soak.keys(modal[-1], key)
            wins, rng = yield f"{modal[-1]!r}: {key}"

    def show_game(self, game):
        """Shows a game window from the launcher and makes it active."""
        wins = yield from self.ready()
        for _ in range(10):
            win = next((w for w in wins if w.kind == "game" and w.game == game and not w.minimized), None)
            if win and win.active:
                return win
            if win:
                self.soak.focus(win)
                wins, _ = yield f"switch to {win!r}"
                continue
            launcher = next(w for w in wins if w.kind == "launcher")
            self.soak.keys(launcher, LAUNCHER_KEYS[game])
            wins, _ = yield f"launcher: key {LAUNCHER_KEYS[game]}"
            wins = yield from self.ready()
        self.fail(f"the {game} window could not be shown")

    def expect_box(self, pattern, what):
        """The error box the fault must bring, within a few steps."""
        for _ in range(8):
            if any(re.fullmatch(pattern, text) for text in self.seen):
                yield f"reported as expected: {what}"
                return
            yield "wait for the error report"
        self.fail(f"no error box for {what}; seen: {self.seen}")

    def expect_no_box(self, what):
        """No error box for a second and at least three steps."""
        until = time.monotonic() + 1
        for n in itertools.count():
            if self.seen:
                self.fail(f"{what}, yet an error box: {self.seen}")
            if n >= 3 and time.monotonic() > until:
                return
            time.sleep(0.1)
            yield "wait: no error box may come"

    def random_play(self, steps):
        for _ in range(steps):
            yield None

    def restart(self):
        soak = self.soak
        yield from self.ready()
        soak.end_program()
        soak.start_program()
        yield "program closed and started again"

    # --- the faults -------------------------------------------------------------

    def fault_cue_file_cut_short(self, rng):
        """The start cue of a new game, cut at a random byte: its new game
        stops with the error, and plays again once the file is whole."""
        yield
        cue, game = rng.choice([("1.wav", "fifteen"), ("1.wav", "saper")])
        path = os.path.join(self.folder, cue)
        with open(path, "rb") as f:
            whole = f.read()
        cut = rng.choice([rng.randrange(0, 44), rng.randrange(44, len(whole))])
        with open(path, "wb") as f:
            f.write(whole[:cut])
        self.soak.note(f"damage: {cue} cut to {cut} of {len(whole)} bytes")
        win = yield from self.show_game(game)
        self.seen = []
        self.soak.keys(win, "F2")
        yield f"{win!r}: key F2 with {cue} cut short"
        # A file too short to begin like a wave file is left to the sound
        # system, whose own words do not name the file.
        yield from self.expect_box(rf"Cannot open file {re.escape(cue)}: .+|.*{re.escape(cue)}.*"
                                   r"|.*\b(WAVE|RIFF)\b.*|Truncated data chunk.*", f"{cue} cut short")
        yield from self.random_play(STEPS_WITH_FAULT)
        with open(path, "wb") as f:
            f.write(whole)
        yield f"{cue} whole again"
        win = yield from self.show_game(game)
        self.seen = []
        self.soak.keys(win, "F2")
        yield f"{win!r}: key F2 with {cue} whole"
        yield from self.expect_no_box(f"{cue} is whole again")

    def fault_rules_file_unreadable(self, rng):
        """A game's rules file that exists but cannot be read: the rules
        viewer reports it, and shows the rules again once it can be read."""
        yield
        game, number = rng.choice([("fifteen", 1), ("saper", 2), ("sea", 3)])
        name = f"{number}.doc"
        path = os.path.join(self.folder, name)
        aside = path + ".soak"
        if os.geteuid() == 0:
            # Permission bits do not stop root from reading; a folder in the
            # file's place cannot be read as a file by anyone.
            os.rename(path, aside)
            os.mkdir(path)
            how = "a folder put in its place (root reads any file)"
        else:
            os.chmod(path, 0)
            how = "read permission taken"
        self.soak.note(f"damage: {name} unreadable: {how}")
        win = yield from self.show_game(game)
        self.seen = []
        self.soak.keys(win, "F1")
        yield f"{win!r}: key F1 with {name} unreadable"
        yield from self.expect_box(rf"Cannot open file {re.escape(name)}", f"{name} unreadable")
        yield from self.random_play(STEPS_WITH_FAULT)
        if os.path.isdir(path):
            os.rmdir(path)
            os.rename(aside, path)
        else:
            os.chmod(path, 0o644)
        yield f"{name} readable again"
        yield from self.close_rules()
        win = yield from self.show_game(game)
        self.seen = []
        self.soak.keys(win, "F1")
        yield f"{win!r}: key F1 with {name} readable"
        yield from self.expect_no_box(f"{name} is readable again")
        yield from self.close_rules()

    def close_rules(self):
        """Closes the rules viewer, so that showing it again reloads it."""
        wins = yield from self.ready()
        viewer = next((w for w in wins if w.kind == "rules" and not w.minimized), None)
        if viewer:
            self.soak.click_control(viewer, "Закрыть")
            yield f"{viewer!r}: Закрыть"

    def fault_sea_picture_replaced_by_junk(self, rng):
        """A sea battle cell picture replaced by junk: the pictures are read
        when the program starts, so it starts again; the sea battle window
        then reports the picture once and plays with plain cells."""
        yield
        name = rng.choice(["seaclear.bmp", "seaship.bmp", "seaset.bmp", "seagoal.bmp", "seakilled.bmp",
                           "seamissed.bmp"])
        path = os.path.join(self.folder, name)
        shutil.copyfile(path, path + ".soak")
        junk = bytes(rng.randrange(256) for _ in range(rng.randrange(0, 3000)))
        if rng.random() < 0.5 and len(junk) > 2:
            junk = b"BM" + junk[2:]  # a header that starts right and then is not one
        with open(path, "wb") as f:
            f.write(junk)
        self.soak.note(f"damage: {name} replaced by {len(junk)} bytes of junk")
        yield from self.restart()
        self.seen = []
        win = yield from self.show_game("sea")
        yield from self.expect_box(rf"Cannot load picture (sea\w+\.bmp, )*{re.escape(name)}(, sea\w+\.bmp)*;"
                                   r" plain cells are shown instead", f"{name} replaced by junk")
        # Play goes on with plain cells: a new game, placement keys, shots.
        for key in ["F2", "Return", "o", "o", "Return", "space", "a", "a", "Return"]:
            win = yield from self.show_game("sea")
            self.soak.keys(win, key)
            yield f"{win!r}: key {key} with plain cells"
        yield from self.random_play(STEPS_WITH_FAULT)
        os.replace(path + ".soak", path)
        yield f"{name} whole again"
        yield from self.restart()
        self.seen = []
        yield from self.show_game("sea")
        yield from self.expect_no_box(f"{name} is whole again")

    def fault_score_folder_read_only(self, rng):
        """The folder of the score tables made read-only, now and then the
        tables too, and writable again: no error, a table that may be
        written is rewritten in place, a read-only one is never touched."""
        yield
        tables = rng.random() < 0.4
        os.chmod(self.folder, 0o555)
        before = {}
        if tables:
            for n in (1, 2, 3):
                path = os.path.join(self.folder, f"tivorama.{n}")
                if os.path.isfile(path):
                    os.chmod(path, 0o444)
                    with open(path, "rb") as f:
                        before[path] = f.read()
        self.soak.note("damage: the score folder read-only" + (", and its tables" if tables else ""))
        self.seen = []
        # A game played to its end: the record dialog, if its result is one,
        # saves into the read-only folder.
        self.soak.episode = SaperGame(self.soak, rng)
        wins, _ = yield "play a minesweeper game with the folder read-only"
        while self.soak.episode is not None:
            wins, _ = yield None
        record = next((w for w in wins if w.kind == "record" and not w.minimized), None)
        if record:
            name = "Только чтение"
            path = os.path.join(self.folder, "tivorama.2")
            # An earlier round may have entered the same name: what counts is
            # whether this Return changed the file.
            with open(path, "rb") as f:
                prior = f.read()
            self.soak.click_control(record, "EditName")
            self.soak.keys(record, "ctrl+a")
            self.soak.input.type(name)
            self.soak.input.keys("Return")
            yield f"{record!r}: name {name!r}, Return with the folder read-only"
            with open(path, "rb") as f:
                entered = f.read() != prior
            if entered == (path in before):
                self.fail(f"{path} " + ("was read-only and yet written" if entered else
                                        "was writable and yet the result was not entered in place"))
            self.soak.note(f"damage: the result {'was not' if path in before else 'was'} entered")
        for _ in range(STEPS_WITH_FAULT):
            for path, data in before.items():
                with open(path, "rb") as f:
                    if f.read() != data:
                        self.fail(f"{path} was read-only and yet written")
            yield None
        if self.seen:
            self.fail(f"a read-only score folder brought error boxes: {self.seen}")
        os.chmod(self.folder, 0o755)
        for path in before:
            os.chmod(path, 0o644)
        yield "the score folder writable again"
