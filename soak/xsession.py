"""What the soak sees of the X display and how it gives input: the program's
windows as the window manager lists them, their pixels, the keep-alive ping
that tells whether a window still answers, and xdotool for every key and
click, as a player's keyboard and mouse would give them."""

import select
import subprocess
import threading
import time

from Xlib import X, Xatom, display, error, protocol


class SoakFailure(Exception):
    """A check of the soak failed; the text says which and how."""


class Window:
    """One top-level window of the program as the window manager shows it."""

    def __init__(self, wid, title, x, y, width, height, modal, dialog, frameless, minimized, active):
        self.id = wid
        self.title = title
        self.x, self.y, self.width, self.height = x, y, width, height
        self.modal = modal
        self.dialog = dialog
        self.frameless = frameless
        self.minimized = minimized
        self.active = active
        self.kind = None  # set by the driver: "launcher", "game", "table", ...
        self.game = None  # "fifteen", "saper" or "sea" where the window belongs to one

    def __repr__(self):
        return f"{self.kind or '?'}:{self.game or ''}:{self.title}"


class XSession:
    """Queries of one display connection, used by the driver's own thread."""

    def __init__(self):
        self.display = display.Display()
        self.root = self.display.screen().root
        self._atoms = {}

    def atom(self, name):
        if name not in self._atoms:
            self._atoms[name] = self.display.intern_atom(name)
        return self._atoms[name]

    def _atoms_of(self, win, name):
        prop = win.get_full_property(self.atom(name), Xatom.ATOM)
        return {self.display.get_atom_name(a) for a in prop.value} if prop else set()

    def windows(self, pid):
        """The program's managed windows, in the window manager's order."""
        prop = self.root.get_full_property(self.atom("_NET_CLIENT_LIST"), Xatom.WINDOW)
        active_prop = self.root.get_full_property(self.atom("_NET_ACTIVE_WINDOW"), Xatom.WINDOW)
        active = active_prop.value[0] if active_prop and len(active_prop.value) else 0
        result = []
        for wid in prop.value if prop else []:
            win = self.display.create_resource_object("window", wid)
            try:
                owner = win.get_full_property(self.atom("_NET_WM_PID"), Xatom.CARDINAL)
                if not owner or owner.value[0] != pid:
                    continue
                name = win.get_full_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"))
                title = name.value.decode("utf-8", "replace") if name else ""
                geometry = win.get_geometry()
                origin = win.translate_coords(self.root, 0, 0)
                state = self._atoms_of(win, "_NET_WM_STATE")
                types = self._atoms_of(win, "_NET_WM_WINDOW_TYPE")
            except (error.BadWindow, error.BadDrawable, error.BadValue):
                continue  # gone meanwhile
            result.append(Window(
                wid, title, -origin.x, -origin.y, geometry.width, geometry.height,
                modal="_NET_WM_STATE_MODAL" in state,
                dialog="_NET_WM_WINDOW_TYPE_DIALOG" in types,
                # Qt marks a window without decorations this way.
                frameless="_KDE_NET_WM_WINDOW_TYPE_OVERRIDE" in types,
                minimized="_NET_WM_STATE_HIDDEN" in state,
                active=wid == active))
        return result

    def wait_for_window_manager(self, timeout):
        """Whether a window manager has announced itself within the time."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            check = self.root.get_full_property(self.atom("_NET_SUPPORTING_WM_CHECK"), Xatom.WINDOW)
            if check and len(check.value):
                return True
            time.sleep(0.1)
        return False

    def pixels(self, wid, x, y, width, height):
        """The window's pixels as rows of (r, g, b), or None when it is gone."""
        win = self.display.create_resource_object("window", wid)
        try:
            image = win.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        except (error.BadWindow, error.BadDrawable, error.BadMatch, error.BadValue):
            return None
        data = image.data
        rows = []
        for j in range(height):
            base = j * width * 4
            rows.append([(data[base + 4 * i + 2], data[base + 4 * i + 1], data[base + 4 * i])
                         for i in range(width)])
        return rows


class Pinger(threading.Thread):
    """Sends the window manager's keep-alive ping (_NET_WM_PING) to one of the
    program's windows, one at a time, and times each answer. Qt answers it
    from its event loop, so a ping waits exactly as long as the program takes
    no events: during a blocking cue, a computer's turn or a hang. It has a
    connection of its own, so it keeps timing while the driver waits."""

    def __init__(self, wid, limit):
        super().__init__(daemon=True)
        self.wid = wid
        self.limit = limit
        self.display = display.Display()
        # A ping to a window that has just gone is no error of ours.
        self.display.set_error_handler(lambda *args: None)
        self.root = self.display.screen().root
        # Qt sends its answer to the root window for structure notification.
        self.root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
        self.protocols = self.display.intern_atom("WM_PROTOCOLS")
        self.ping = self.display.intern_atom("_NET_WM_PING")
        self.condition = threading.Condition()
        self.answered = []     # send times of answered pings, newest last
        self.longest = 0.0     # the longest wait for an answer, in seconds
        self.longest_at = 0.0  # when that wait began (monotonic)
        self.unanswered = None  # a failure text once a ping waited past the limit
        self.hurry = False     # a barrier waits: ping again at once
        self._stopping = False
        self._sequence = 0

    def stop(self):
        self._stopping = True
        self.join(5)

    def _send(self):
        self._sequence += 1
        event = protocol.event.ClientMessage(
            window=self.wid, client_type=self.protocols,
            data=(32, [self.ping, self._sequence, self.wid, 0, 0]))
        target = self.display.create_resource_object("window", self.wid)
        target.send_event(event, event_mask=0)
        self.display.flush()
        return self._sequence, time.monotonic()

    def _answered(self, sequence):
        """Reads what has arrived; whether the answer to `sequence` was in it."""
        found = False
        while self.display.pending_events():
            event = self.display.next_event()
            if (event.type == X.ClientMessage and event.client_type == self.protocols
                    and event.data[1][0] == self.ping and event.data[1][1] == sequence):
                found = True
        return found

    def run(self):
        while not self._stopping:
            try:
                sequence, sent = self._send()
            except error.XError:
                return  # the window is gone: the program ended
            while not self._answered(sequence):
                waited = time.monotonic() - sent
                if waited > self.limit:
                    with self.condition:
                        self.unanswered = f"no answer to a ping for {waited:.1f} s"
                        self.condition.notify_all()
                    return
                if self._stopping:
                    return
                select.select([self.display.fileno()], [], [], 0.05)
            waited = time.monotonic() - sent
            with self.condition:
                if waited > self.longest:
                    self.longest, self.longest_at = waited, sent
                self.answered.append(sent)
                del self.answered[:-8]
                self.condition.notify_all()
            deadline = time.monotonic() + 0.05
            while not self._stopping and not self.hurry and time.monotonic() < deadline:
                time.sleep(0.005)

    def barrier(self, timeout, alive):
        """Waits until two pings sent from now on have been answered: the
        first comes back once the event loop has read what was sent before
        it, the second once it has also handled all of that. Returns the
        failure text, or None; gives up at once when alive() turns false."""
        start = time.monotonic()
        with self.condition:
            self.hurry = True
            try:
                while True:
                    if self.unanswered:
                        return self.unanswered
                    if not alive():
                        return "the program ended"
                    if sum(1 for sent in self.answered if sent >= start) >= 2:
                        return None
                    if time.monotonic() - start > timeout:
                        return f"no answer to a ping for {timeout:.0f} s"
                    self.condition.wait(0.1)
            finally:
                self.hurry = False


class Input:
    """Keys and clicks through xdotool, on the screen of the private X server."""

    def __init__(self, log):
        self.log = log

    def _run(self, *args, timeout=30):
        try:
            subprocess.run(["xdotool", *args], check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def click(self, x, y, button=1):
        self._run("mousemove", "--sync", str(x), str(y), "click", str(button))

    def double_click(self, x, y):
        self._run("mousemove", "--sync", str(x), str(y), "click", "--repeat", "2", "--delay", "60", "1")

    def drag(self, x, y, dx, dy):
        self._run("mousemove", "--sync", str(x), str(y), "mousedown", "1",
                  "mousemove", "--sync", str(x + dx), str(y + dy), "mouseup", "1")

    def move(self, x, y):
        self._run("mousemove", "--sync", str(x), str(y))

    def keys(self, *keysyms):
        self._run("key", "--delay", "30", *keysyms)

    def type(self, text):
        if text:
            self._run("type", "--delay", "30", "--", text)

    def activate(self, wid):
        """Asks the window manager to activate a window and waits until it
        has, but not for long: a window behind a modal dialog stays inactive."""
        return self._run("windowactivate", "--sync", str(wid), timeout=2)

    def layout(self, name):
        subprocess.run(["setxkbmap", name], check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=30)
