"""Journeys: the assembled programs of build/bin used as a person uses them.

Each journey starts the programs as processes on an Xvfb of its own, with a
window manager (openbox) or without one, and sends mouse and keys through the X
server (xdotool, XTEST), never through SendInput. It runs in a copy of the
journeys' Wine prefix (made once per build folder, in build/journeys/wine)
with a fresh copy of the sample profile in its own temporary folder, so that
the options it leaves behind reach no other test. When a journey fails, a
screenshot of the screen is kept in build/journeys/out/NAME-MODE/ and the
failure names it.

The driver is Python: the journeys are sequences of X commands and waits with
deadlines, which Python writes shortly, and CTest runs it like any program.
What X cannot see (controls inside a Wine window, list cells) the Winelib
helper journeyprobe reads from inside the prefix.

A journey, tests/journeys/NAME.py (see start.py):

    import journey

    def run(j):
        zym = j.start_zym()                       # a Program, its main window shown
        tip = j.wait_for(lambda: j.find(exe="zym.exe", cls="#32770", top_level=True),
                         20, "the tip of the day")  # a Window: .x .y .w .h .text .cls .id
        j.click(tip, 20, 40)                      # a point of the window (screen: where=None)
        j.key("Escape")                           # xdotool key names: "alt+f", "ctrl+Tab"
        j.wait_gone(tip, 10)
        main = j.main_window(zym)
        j.drag(main, (100, 120), (500, 150), keys=("ctrl",))
        j.expect_none(lambda: j.find(text="older"), 3, "a question")
        j.key("alt+F4")
        zym.wait_exit(20)                         # fails clearly when the program hangs
        j.check(j.library_value("select count(*) from Albums") == "90", "albums kept")

    journey.main(run)

Other helpers: start(exe, *args) for the other programs, windows() (every
window of the prefix), cell(list, row, column) (a list cell's screen rect),
item(list_box, row), move, double_click, type, screenshot(name),
pause(seconds) (only to let the screen settle before a picture), x_windows(name),
x_geometry(id), command(*args) (a Wine program or tool in the journey's
environment), registry_values(key), registry_value(key, name); j.profile is
the profile folder, j.out the output.
Every tests/journeys/NAME.py is registered as journey_NAME_wm and
journey_NAME_bare (label journey).
By hand: /work/tools/hrun SLOT journey_NAME_wm, or
  PYTHONPATH=tests/support python3 tests/journeys/NAME.py --build build --mode bare
"""

import argparse
import ctypes
import fcntl
import os
import re
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
import traceback

WINE_TOOLS = "/usr/lib/wine"
# Changed when the template prefix is made differently: older ones are remade.
PREFIX_VERSION = "1"
OPTIONS_KEY = r"HKEY_CURRENT_USER\Software\Halvane\zym\Options"
POLL_SECONDS = 0.1
PR_SET_PDEATHSIG = 1
# Files Wine never writes after the prefix is made: shared by hard links.
SHARED_PREFIX_FOLDERS = ("drive_c/windows/system32", "drive_c/windows/syswow64")


MENU_CLASS = "#32768"
# A Wine command that ends with code 1 and no output this soon never got going.
WINE_START_SECONDS = 1.0
WINE_START_TRIES = 3
# The list control of zym's list views.
ZYM_LIST_ID = 1008


class JourneyFailure(Exception):
    pass


def die_with_parent():
    """In a child before it runs: SIGTERM when the journey's process dies (a
    test killed at its time-out leaves no display or program behind)."""
    ctypes.CDLL("libc.so.6", use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def windows_path(unix_path):
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def reg_text(text):
    """A text as a quoted .reg value."""
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


class Window:
    """A Win32 window as journeyprobe saw it; x, y in screen (X root) pixels.
    Points given to the input helpers are relative to x, y (the window's outer
    corner)."""

    def __init__(self, line):
        head, _, self.text = line.rstrip("\n").partition("\t")
        fields = head.split(" ")
        self.hwnd, self.parent, self.exe = fields[0], fields[1], fields[2]
        self.visible, self.enabled = fields[3] == "1", fields[4] == "1"
        self.x, self.y, self.w, self.h = (int(v) for v in fields[5:9])
        # Where the client area begins on the screen (below caption and menu).
        self.client_x, self.client_y = int(fields[9]), int(fields[10])
        self.id = int(fields[11])
        self.cls = " ".join(fields[12:])

    def centre(self):
        return self.w // 2, self.h // 2

    def __repr__(self):
        return "<%s %s %r id %d at %d,%d %dx%d%s>" % (self.exe, self.cls, self.text, self.id, self.x, self.y,
                                                        self.w, self.h, "" if self.visible else " hidden")


class Program:
    """A program of the program folder running in the journey's prefix."""

    def __init__(self, journey, exe, process, log):
        self.journey, self.exe, self.process, self.log = journey, exe, process, log

    def ended(self):
        return self.process.poll() is not None

    def wait_exit(self, seconds):
        """The exit code; a failure (with a screenshot) when it is still running."""
        self.journey.wait_for(self.ended, seconds, "%s to end (it still runs: hung?)" % self.exe)
        return self.process.returncode


class Journey:
    def __init__(self, name, mode, build, out=None):
        self.name, self.mode = name, mode
        self.build = os.path.abspath(build)
        self.programs = os.path.join(self.build, "bin")
        self.out = out or os.path.join(self.build, "journeys", "out", "%s-%s" % (name, mode))
        self.temp = tempfile.mkdtemp(prefix="zym-journey-%s-%s-" % (name, mode))
        self.profile = os.path.join(self.temp, "profile")
        self.prefix = os.path.join(self.temp, "wine")
        self.started = []
        self.xvfb = self.window_manager = None
        self.env = dict(os.environ)
        self.env.update(PATH=WINE_TOOLS + ":" + os.environ.get("PATH", "/usr/bin:/bin"), WINEARCH="win64",
                        WINEDEBUG=os.environ.get("WINEDEBUG", "-all"),
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        for name in ("WINELOADER", "WINESERVER"):
            self.env.pop(name, None)

    # --- setting up -------------------------------------------------------

    def set_up(self):
        remove_tree(self.out)
        os.makedirs(self.out)
        template = os.path.join(self.build, "journeys", "wine")
        with open(template + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            self._make_template(template)
            self._copy_prefix(template)
        self._start_display()
        self.env["WINEPREFIX"] = self.prefix
        self._seed_profile()

    def _run(self, *command, env=None, check=True):
        # A Wine process now and then ends at its start without a word (exit 1
        # in a few milliseconds): such a run of a Wine command is made again.
        for _ in range(WINE_START_TRIES):
            started = time.monotonic()
            returncode, text = self._run_once(command, env)
            silent_start = returncode == 1 and not text.strip() and time.monotonic() - started < WINE_START_SECONDS
            if not (silent_start and command[0] == "wine64"):
                break
        if check and returncode != 0:
            raise JourneyFailure("%s failed (%d): %s" % (" ".join(command), returncode, text[-2000:]))
        return text

    def _run_once(self, command, env):
        # Output through a file, not a pipe: a wineserver that a command starts
        # inherits it and would hold a pipe open long after the command ended.
        with tempfile.TemporaryFile(mode="w+", errors="replace") as output:
            result = subprocess.run(command, env=env or self.env, stdin=subprocess.DEVNULL, stdout=output,
                                    stderr=subprocess.STDOUT)
            output.seek(0)
            return result.returncode, output.read()

    def _make_template(self, template):
        """The journeys' prefix, made once per build folder and Wine version; the
        programs' registrations are renewed when the program folder changed."""
        env = dict(self.env, WINEPREFIX=template)
        env.pop("DISPLAY", None)
        marker = os.path.join(template, ".zym-journey-prefix")
        wanted = "%s %s %s" % (PREFIX_VERSION, os.getuid(), self._run("wine64", "--version").strip())
        if not os.path.exists(marker) or open(marker).read() != wanted:
            print("journey: making the journeys' Wine prefix in %s" % template, flush=True)
            if os.path.lexists(template):
                remove_tree(template)
            self._run("wine64", "wineboot", "-i", env=env, check=False)
            self._import_reg(env, [r"[HKEY_CURRENT_USER\Software\Wine\WineDbg]", '"ShowCrashDialog"=dword:00000000'])
            fonts = os.path.join(template, "drive_c/windows/Fonts")
            for font in sorted(os.listdir("/usr/share/wine/fonts")):
                if font.endswith(".ttf"):
                    shutil.copy(os.path.join("/usr/share/wine/fonts", font), fonts)
            self._run("wineserver", "-w", env=env)
            with open(marker, "w") as f:
                f.write(wanted)
        self._register_programs(template, env)

    def _register_programs(self, template, env):
        stamp = os.path.join(template, ".zym-registered")
        files = [os.path.join(self.programs, f) for f in ("zymjet.dll", "tavlinps.dll", "tavlinserv.exe")]
        wanted = " ".join("%d" % os.stat(f).st_mtime_ns for f in files)
        if os.path.exists(stamp) and open(stamp).read() == wanted:
            return
        self._run("wine64", "regsvr32", "/s", windows_path(files[0]), env=env)
        self._run("wine64", "regsvr32", "/s", windows_path(files[1]), env=env)
        self._run("wine64", windows_path(files[2]), "/regserver", env=env, check=False)
        self._run("wineserver", "-w", env=env)
        with open(stamp, "w") as f:
            f.write(wanted)

    def _copy_prefix(self, template):
        def copy(source, target):
            relative = os.path.relpath(source, template)
            if relative.startswith(SHARED_PREFIX_FOLDERS):
                os.link(source, target)
            else:
                shutil.copy2(source, target)
        # "wineserver" names the template's server folder (Debian's Wine): the
        # copy gets a server of its own.
        shutil.copytree(template, self.prefix, symlinks=True, copy_function=copy,
                        ignore=lambda folder, names: ["wineserver"] if folder == template else [])

    def _import_reg(self, env, lines):
        path = os.path.join(self.temp, "settings.reg")
        with open(path, "w") as f:
            f.write("REGEDIT4\n\n" + "\n".join(lines) + "\n")
        self._run("wine64", "regedit", "/s", windows_path(path), env=env)

    def _start_display(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=(write,), stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     preexec_fn=die_with_parent)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise JourneyFailure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        if self.mode == "wm":
            self.window_manager = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                                   stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
            self.wait_for(self._wm_named, 60, "openbox to manage the display")

    def _wm_named(self):
        found = re.search(r"window id # (0x[0-9a-f]+)",
                          self._x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False))
        return bool(found) and "Openbox" in self._x("xprop", "-id", found.group(1), "_NET_WM_NAME", check=False)

    def _seed_profile(self):
        """The profile run.sh makes for a new user, from a copy of the sample,
        and the X settings of the mode."""
        for folder in ("Playlists", "Device Files"):
            os.makedirs(os.path.join(self.profile, folder))
        shutil.copy2(os.path.join(self.programs, "sample.mdb"), self.profile)
        for folder in ("Album Covers", "Music Files"):
            shutil.copytree(os.path.join(self.programs, folder), os.path.join(self.profile, folder))
        source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
        self._run(sys.executable, os.path.join(source, "shell", "app", "MakeSampleMedia.py"), "--move",
                  os.path.join(self.profile, "sample.mdb"), windows_path(os.path.join(self.programs, "Music Files")),
                  windows_path(os.path.join(self.profile, "Music Files")))
        template = os.path.join(source, "scripts", "profile.reg")
        text = open(template).read().replace("@PROFILE@", reg_text(windows_path(self.profile))[1:-1])
        lines = text.splitlines()[1:]
        # Without a window manager Wine places, decorates and activates its windows itself.
        managed = "N" if self.mode == "bare" else "Y"
        decorated = "N" if self.mode == "bare" else "Y"
        lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]",
                  '"Managed"="%s"' % managed, '"Decorated"="%s"' % decorated]
        self._import_reg(self.env, lines)

    # --- programs -----------------------------------------------------------

    def start(self, exe, *args):
        """Starts a program of the program folder; its output goes to OUT/EXE.log."""
        log = open(os.path.join(self.out, exe + ".log"), "a")
        process = subprocess.Popen(["wine64", windows_path(os.path.join(self.programs, exe))] + list(args),
                                   env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                   cwd=self.profile, preexec_fn=die_with_parent)
        program = Program(self, exe, process, log)
        self.started.append(program)
        return program

    def start_zym(self, *args, seconds=30):
        """zym started and its main window shown and settled."""
        zym = self.start("zym.exe", *args)
        self.main_window(zym, seconds)
        return zym

    def tip_of_the_day(self, seconds=20):
        """The tip of the day zym shows once its start-up is done."""
        return self.wait_for(lambda: self.find(exe="zym.exe", cls="#32770", top_level=True), seconds,
                             "the tip of the day")

    def start_zym_past_tip(self, *args):
        """zym started and its tip of the day closed by Escape: the program and
        its main window."""
        zym = self.start_zym(*args)
        tip = self.tip_of_the_day()
        self.key("Escape")
        self.wait_gone(tip, 10)
        return zym, self.main_window(zym)

    def zym_album_list(self, main):
        """The album list of zym's Library window (the list of its left side)."""
        shown = [w for w in self.windows() if w.exe.lower() == "zym.exe" and w.visible and w.id == ZYM_LIST_ID
                 and w.cls == "SysListView32" and w.x < main.x + main.w // 3]
        return min(shown, key=lambda w: w.y) if shown else None

    def menus(self, exe="zym.exe"):
        """The popup menus a program shows."""
        return [w for w in self.windows() if w.exe.lower() == exe and w.cls == MENU_CLASS and w.visible]

    def main_window(self, program, seconds=30):
        """The program's visible frame (the top-level window with an MDI client),
        or for a dialog program its first visible top-level window."""
        def found():
            windows = self.windows()
            owners = {w.parent for w in windows if w.cls == "MDIClient"}
            frames = [w for w in windows if w.exe.lower() == program.exe.lower() and w.visible and w.parent == "0x0"
                      and w.hwnd in owners]
            if program.exe.lower() != "zym.exe" and not frames:
                frames = [w for w in windows if w.exe.lower() == program.exe.lower() and w.visible
                          and w.parent == "0x0" and w.w > 1]
            return frames[0] if frames else None
        return self.wait_for(found, seconds, "a main window of %s" % program.exe, ended=program)

    # --- what is on the screen ------------------------------------------------

    def windows(self):
        """Every Win32 window of the prefix's processes (top-level ones first, each
        followed by its descendants)."""
        probe = os.path.join(self.build, "tests", "support", "journeyprobe.exe.so")
        text = self._run("wine64", probe, "windows")
        return [Window(line) for line in text.splitlines() if "\t" in line]

    def find(self, cls=None, text=None, id=None, exe=None, visible=True, top_level=False, within=None):
        """The first window that matches; text is a regular expression (search);
        top_level: no child windows; within: only descendants of that Window."""
        windows = self.windows()
        allowed = self._descendants(windows, within) if within else None
        for w in windows:
            if ((cls is None or w.cls == cls) and (text is None or re.search(text, w.text))
                    and (id is None or w.id == id) and (exe is None or w.exe.lower() == exe.lower())
                    and (not visible or w.visible) and (not top_level or w.parent == "0x0")
                    and (allowed is None or w.hwnd in allowed)):
                return w
        return None

    def shown(self, window):
        """The window as it is now, None once it is gone or hidden."""
        return next((w for w in self.windows() if w.hwnd == window.hwnd and w.visible), None)

    def wait_gone(self, window, seconds):
        self.wait_for(lambda: not self.shown(window), seconds, "%r to close" % window)

    @staticmethod
    def _descendants(windows, root):
        found = {root.hwnd}
        for w in windows:   # parents are listed before their children
            if w.parent in found:
                found.add(w.hwnd)
        found.discard(root.hwnd)
        return found

    def cell(self, list_window, row, column):
        """The screen rectangle (x, y, w, h) of a list control's cell."""
        probe = os.path.join(self.build, "tests", "support", "journeyprobe.exe.so")
        return tuple(int(v) for v in self._run("wine64", probe, "cell", list_window.hwnd, str(row),
                                               str(column)).split())

    def item(self, list_box, row):
        """A list box's row: its screen rectangle (x, y, w, h) and its text; None
        past the last row."""
        probe = os.path.join(self.build, "tests", "support", "journeyprobe.exe.so")
        text = self._run("wine64", probe, "item", list_box.hwnd, str(row), check=False)
        if "\t" not in text:
            return None
        rect, _, label = text.rstrip("\n").partition("\t")
        return tuple(int(v) for v in rect.split()), label

    def command(self, *command):
        """Runs a command (a Wine program, convert, ...) in the journey's
        environment; its output. A failure when it fails."""
        return self._run(*command)

    def x_windows(self, name):
        """Ids of the visible X windows whose name matches the regular expression."""
        return self._x("xdotool", "search", "--onlyvisible", "--name", name, check=False).split()

    def x_geometry(self, x_window):
        """(x, y, w, h) of an X window on the screen."""
        values = dict(line.split("=") for line in
                      self._x("xdotool", "getwindowgeometry", "--shell", x_window).splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self, name):
        """The whole screen as OUT/NAME.png; the path."""
        path = os.path.join(self.out, name + ".png")
        self._x("import", "-window", "root", path)
        return path

    # --- input through the X server -------------------------------------------

    def _x(self, *command, check=True):
        return self._run(*command, check=check)

    @staticmethod
    def _point(where, dx, dy):
        if where is None:
            return dx, dy
        return where.x + dx, where.y + dy

    def move(self, where, dx, dy):
        x, y = self._point(where, dx, dy)
        self._x("xdotool", "mousemove", "--sync", str(x), str(y))

    def click(self, where, dx, dy, button=1, count=1):
        """Clicks at (dx, dy) of a Window (screen pixels when where is None)."""
        self.move(where, dx, dy)
        self._x("xdotool", "click", "--repeat", str(count), "--delay", "80", str(button))

    def double_click(self, where, dx, dy):
        self.click(where, dx, dy, count=2)

    def drag(self, where, start, end, keys=(), steps=12):
        """Presses at start, moves in steps to end and releases there, with the
        keys (e.g. "ctrl") held throughout; points relative to where."""
        for key in keys:
            self._x("xdotool", "keydown", key)
        try:
            self.move(where, *start)
            self._x("xdotool", "mousedown", "1")
            (x0, y0), (x1, y1) = self._point(where, *start), self._point(where, *end)
            for step in range(1, steps + 1):
                time.sleep(0.03)
                self._x("xdotool", "mousemove", "--sync", str(x0 + (x1 - x0) * step // steps),
                        str(y0 + (y1 - y0) * step // steps))
            time.sleep(0.1)
            self._x("xdotool", "mouseup", "1")
        finally:
            for key in reversed(keys):
                self._x("xdotool", "keyup", key)

    def key(self, *keys):
        """Key presses in xdotool's names: "alt+f", "Return", "ctrl+Tab"."""
        self._x("xdotool", "key", "--delay", "60", *keys)

    def type(self, text):
        self._x("xdotool", "type", "--delay", "40", text)

    # --- waiting and checking ---------------------------------------------------

    def wait_for(self, condition, seconds, what, ended=None):
        """The first true value of condition() within seconds, or a failure naming
        what was awaited; ended: a Program whose end fails the wait at once."""
        deadline = time.monotonic() + seconds
        while True:
            value = condition()
            if value:
                return value
            if ended is not None and ended.ended():
                self.fail("%s ended (code %s) while waiting for %s" % (ended.exe, ended.process.returncode, what))
            if time.monotonic() > deadline:
                self.fail("no %s within %g s" % (what, seconds))
            time.sleep(POLL_SECONDS)

    def expect_none(self, condition, seconds, what):
        """Watches for seconds that condition() stays false (what must not happen)."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = condition()
            if value:
                self.fail("%s: %r" % (what, value))
            time.sleep(POLL_SECONDS)

    @staticmethod
    def pause(seconds):
        """Lets the screen settle before a picture; never a way to wait for a
        state (wait_for that state instead)."""
        time.sleep(seconds)

    def check(self, condition, what):
        if not condition:
            self.fail(what)

    def fail(self, what):
        raise JourneyFailure(what)

    def library_value(self, query, library=None):
        """One value of the profile's library file (an SQLite file), as text."""
        connection = sqlite3.connect("file:%s?mode=ro" % (library or os.path.join(self.profile, "sample.mdb")),
                                     uri=True)
        try:
            row = connection.execute(query).fetchone()
        finally:
            connection.close()
        return None if row is None else str(row[0])

    def registry_values(self, key):
        """The values of a key of the prefix's registry as reg.exe prints them:
        {name: text}; empty when the key is missing."""
        text = self._run("wine64", "reg", "query", key, check=False)
        return {m.group(1): m.group(2).strip()
                for m in re.finditer(r"^    (\S.*?)    REG_\w+    ?(.*)$", text, re.M)}

    def registry_value(self, key, name):
        """One value (see registry_values), None when missing."""
        return self.registry_values(key).get(name)

    # --- closing down -----------------------------------------------------------

    def tear_down(self, failed):
        try:
            if failed and self.xvfb and self.xvfb.poll() is None:
                print("journey: screenshot at failure: %s" % self.screenshot("failure"), flush=True)
        finally:
            self._stop()

    def _stop(self):
        if "WINEPREFIX" in self.env and os.path.isdir(self.prefix):
            self._run("wineserver", "-k", check=False)
            subprocess.run(["wineserver", "-w"], env=self.env, timeout=20, check=False)
        for program in self.started:
            if program.process.poll() is None:
                program.process.kill()
            program.process.wait()
            program.log.close()
        for process in (self.window_manager, self.xvfb):
            if process and process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
        remove_tree(self.temp)


def remove_tree(folder):
    """Removes a folder of our own; links in it (the prefix's z: drive is /) are
    removed as links, never followed."""
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(root, name)
            if os.path.islink(path):
                os.unlink(path)
    shutil.rmtree(folder, ignore_errors=True)


def main(run):
    """Runs one journey: python3 NAME.py --build BUILD --mode wm|bare [--out FOLDER]
    (the output folder, emptied first)."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--mode", choices=("wm", "bare"), required=True)
    parser.add_argument("--out")
    options = parser.parse_args()
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    journey = Journey(name, options.mode, options.build, options.out and os.path.abspath(options.out))
    failed = True
    try:
        journey.set_up()
        run(journey)
        failed = False
    except JourneyFailure as failure:
        print("JOURNEY FAILED: %s (%s, %s)" % (failure, name, options.mode), flush=True)
    except Exception:
        traceback.print_exc()
        print("JOURNEY FAILED: an error in the journey (%s, %s)" % (name, options.mode), flush=True)
    finally:
        journey.tear_down(failed)
    if failed:
        print("journey: output and screenshots in %s" % journey.out, flush=True)
    sys.exit(1 if failed else 0)
