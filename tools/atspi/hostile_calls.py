#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Calls that any program on the accessibility bus may make, against a
freshly started JOLV, as a screen reader makes them.

Hostile calls against the rpm field: text extents over ranges far outside
the text, and insertions that claim more characters than they bring. Each
such case ends the program by SIGTERM while the calls run or right after
them: it must have saved within 2 s, and the file must hold no NUL and
nothing but the given characters.

What a screen reader is told: places and sizes in the screen's pixels,
also relative to a window away from the screen's corner and at a scale of
2 (a click at the middle of the stepper a reader names must press it),
bounded text ranges answered at once, and no selection in a field that
has lost the focus, nor a selection change as it loses it.

Run by replay.sh inside a private bus session."""

import os
import re
import signal
import subprocess
import sys
import tempfile
import threading
import time

import pyatspi
from gi.repository import GLib

SAVE_SECONDS = 2
START_SECONDS = 30
STARTS = 3  # a program that ends before its window is up is started again
INT_MIN, INT_MAX = -2**31, 2**31 - 1
SCREEN, WINDOW, PARENT = 0, 1, 2  # AT-SPI's coordinate types
WAIT_SECONDS = 5  # for the program to follow a key, a click or a move


def rpm_field(process):
    """The accessible rpm field ("U/min") of the one JOLV on the bus, or
    None when the program ended first."""
    deadline = time.monotonic() + START_SECONDS
    while time.monotonic() < deadline:
        if process.poll() is not None:
            return None
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "JOLV":
                field = pyatspi.findDescendant(
                    app, lambda o: o.name == "U/min" and o.getRole() == pyatspi.ROLE_TEXT)
                if field is not None:
                    return field
        time.sleep(0.2)
    raise RuntimeError("no JOLV with an rpm field on the bus within %d s" % START_SECONDS)


def run_case(program, name, body, settings=None):
    """Starts the program (with the given environment settings besides
    ours), hands it and its rpm field to body(process, field, config) and
    returns what that found wrong, or None."""
    for start in range(1, STARTS + 1):
        with tempfile.TemporaryDirectory() as config:
            # On the X server of replay.sh, whatever platform the caller's
            # environment names.
            environment = dict(os.environ, XDG_CONFIG_HOME=config, LC_ALL="C.UTF-8",
                               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
            environment.pop("WAYLAND_DISPLAY", None)
            environment.pop("QT_SCALE_FACTOR", None)
            environment.update(settings or {})
            if start > 1:  # Qt's reasons too, should it fail again
                environment["QT_DEBUG_PLUGINS"] = "1"
            process = subprocess.Popen([program], env=environment)
            try:
                field = rpm_field(process)
                if field is not None:
                    return body(process, field, config)
            finally:
                if process.poll() is None:
                    process.kill()
                    process.wait()
        # Its own message (on stderr, above) says why; the display may not
        # have been ready yet.
        print("%s: start %d of %d ended with status %d before the window was up"
              % (name, start, STARTS, process.returncode), file=sys.stderr)
        time.sleep(1)
    return "%s: the program did not start" % name


def hostile_case(name, calls, expected_rpm):
    """A case of calls made while the program is ended: expected_rpm is the
    rpm the file must hold, or a function of the calls' answers giving it."""
    def body(process, field, config):
        return terminate_during(process, field, name, calls, expected_rpm, config)
    return name, body


def terminate_during(process, field, name, calls, expected_rpm, config):
    """None when the program saved in time what it should have; else what
    went wrong."""
    answers = []

    def call():
        for make in calls:
            try:
                answers.append(make(field))
            except Exception as error:  # a timeout, when the program hangs
                answers.append(error)

    threading.Thread(target=call, daemon=True).start()
    time.sleep(0.3)
    sent = time.monotonic()
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=SAVE_SECONDS)
    except subprocess.TimeoutExpired:
        return "%s: not ended %d s after SIGTERM" % (name, SAVE_SECONDS)
    took = time.monotonic() - sent
    if process.returncode != 0:  # under the sanitizers also a fault they found
        return "%s: exit status %d" % (name, process.returncode)
    if callable(expected_rpm):
        expected_rpm = expected_rpm(answers)
        if expected_rpm is None:
            return "%s: the calls were not answered: %r" % (name, answers)
    path = os.path.join(config, "JOLV.INI")
    if not os.path.exists(path):
        return "%s: nothing saved" % name
    with open(path, "rb") as file:
        saved = file.read()
    if b"\0" in saved:
        return "%s: a NUL in the saved file" % name
    rpm = [line for line in saved.split(b"\r\n") if line.startswith(b"RPM=")]
    if rpm != [b"RPM=" + expected_rpm]:
        return "%s: saved %r, expected RPM=%r" % (name, rpm, expected_rpm)
    print("ok: %s (saved %.2f s after SIGTERM, answered %s)"
          % (name, took, [str(answer)[:40] for answer in answers]))
    return None


def pump(seconds, done=lambda: False):
    """Lets the bus deliver events to our listeners until done() or for the
    given time; whether done() came true."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if done():
            return True
        if time.monotonic() >= deadline:
            return False
        time.sleep(0.05)


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True, text=True,
                          timeout=WAIT_SECONDS * 2).stdout


def window_of(process):
    """The X window of the program (the first visible one it owns)."""
    found = xdotool("search", "--sync", "--onlyvisible", "--pid", str(process.pid))
    return found.split()[0]


def window_box(window):
    """Where the X server has the window: x, y, width, height in its pixels."""
    geometry = xdotool("getwindowgeometry", window)
    x, y = map(int, re.search(r"Position: (-?\d+),(-?\d+)", geometry).groups())
    width, height = map(int, re.search(r"Geometry: (\d+)x(\d+)", geometry).groups())
    return x, y, width, height


def box_of(extents):
    """x, y, width and height, from a box or a tuple."""
    if hasattr(extents, "width"):
        return extents.x, extents.y, extents.width, extents.height
    return tuple(extents)


def named(root, name, role):
    return pyatspi.findDescendant(root, lambda o: o.name == name and o.getRole() == role)


def ended(process, name):
    """Ends the program as a session would: None when it did so cleanly."""
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=SAVE_SECONDS)
    except subprocess.TimeoutExpired:
        return "%s: not ended %d s after SIGTERM" % (name, SAVE_SECONDS)
    if process.returncode != 0:
        return "%s: exit status %d" % (name, process.returncode)
    return None


def places_case(name, scale):
    """Places and sizes of the rpm field, its text and the stepper that
    raises it, in each coordinate type, with the window at x = 200; a click
    in the middle of the stepper's box raises the rpm."""
    def body(process, field, config):
        window = window_of(process)
        xdotool("windowmove", "--sync", window, "200", "150")
        wx, wy, ww, wh = window_box(window)
        if (wx, wy) != (200, 150):
            return "%s: the window stands at %d, %d, not at 200, 150" % (name, wx, wy)
        frame = field
        while frame is not None and frame.getRole() != pyatspi.ROLE_FRAME:
            frame = frame.parent
        if frame is None:
            return "%s: the field is in no frame" % name
        # Qt follows the move as the X server tells it.
        if not pump(WAIT_SECONDS,
                    lambda: box_of(frame.queryComponent().getExtents(SCREEN)) == (wx, wy, ww, wh)):
            return "%s: the window reads %r, the X server has it at %r" % (
                name, box_of(frame.queryComponent().getExtents(SCREEN)), (wx, wy, ww, wh))
        problems = []

        def expect(what, found, wanted):
            if found != wanted:
                problems.append("%s: %r, expected %r" % (what, found, wanted))

        component = field.queryComponent()
        text = field.queryText()
        on_screen = box_of(component.getExtents(SCREEN))
        expect("the field on the screen, its size", on_screen[2:], (43 * scale, 19 * scale))
        expect("the field in the window", box_of(component.getExtents(WINDOW)),
               (on_screen[0] - wx, on_screen[1] - wy) + on_screen[2:])
        panel = box_of(field.parent.queryComponent().getExtents(SCREEN))
        expect("the field in its panel", box_of(component.getExtents(PARENT)),
               (on_screen[0] - panel[0], on_screen[1] - panel[1]) + on_screen[2:])
        expect("the field's place in the window", box_of(component.getPosition(WINDOW)),
               (on_screen[0] - wx, on_screen[1] - wy))
        expect("the field's size", box_of(component.getSize()), on_screen[2:])
        for what, screen_box, window_box_ in (
                ("the first character", text.getCharacterExtents(0, SCREEN),
                 text.getCharacterExtents(0, WINDOW)),
                ("the text", text.getRangeExtents(0, -1, SCREEN),
                 text.getRangeExtents(0, -1, WINDOW))):
            x, y, width, height = screen_box = box_of(screen_box)
            inside = (on_screen[0] <= x and x + width <= on_screen[0] + on_screen[2]
                      and on_screen[1] <= y and y + height <= on_screen[1] + on_screen[3])
            if not inside or width <= 0:
                problems.append("%s: %r, not within the field at %r" % (what, screen_box, on_screen))
            expect(what + " in the window", box_of(window_box_), (x - wx, y - wy, width, height))
        # Answered at once, where the caller would wait 15 s for the first.
        sent = time.monotonic()
        try:
            ranges = text.getBoundedRanges(*on_screen, SCREEN, 0, 0)
        except Exception as error:
            ranges = error
        took = time.monotonic() - sent
        if not isinstance(ranges, list) or took > 1:
            problems.append("bounded ranges: %r after %.1f s" % (ranges, took))
        up = named(field.parent, "U/min erhöhen", pyatspi.ROLE_PUSH_BUTTON)
        if up is None:
            return "%s: no stepper \"U/min erhöhen\" beside the field" % name
        x, y, width, height = box_of(up.queryComponent().getExtents(SCREEN))
        xdotool("mousemove", str(x + width // 2), str(y + height // 2), "click", "1")
        if not pump(WAIT_SECONDS, lambda: text.getText(0, -1) == "10100"):
            problems.append("a click at the middle of %r left U/min at %r"
                            % ((x, y, width, height), text.getText(0, -1)))
        problem = ended(process, name)
        if problem:
            problems.append(problem)
        if problems:
            return "%s: %s" % (name, "; ".join(problems))
        print("ok: %s (window at %r, field at %r)" % (name, (wx, wy, ww, wh), on_screen))
        return None
    return name, body


def selection_case(name):
    """Tab from U/min to Steigung, on to Zoll and Schlupf, Ctrl+1 back (each
    field the keyboard reaches selects its text): the fields left behind
    report no selection, and leaving one sends no selection change."""
    def body(process, field, config):
        window = window_of(process)
        xdotool("windowfocus", "--sync", window)
        panel = field.parent
        pitch = named(panel, "Steigung", pyatspi.ROLE_TEXT)
        slip = pyatspi.findDescendant(
            panel, lambda o: o.name.startswith("Schlupf") and o.getRole() == pyatspi.ROLE_TEXT)
        if pitch is None or slip is None:
            return "%s: no fields Steigung and Schlupf beside U/min" % name
        changes = []

        def listener(event):
            changes.append(event.source.name)

        pyatspi.Registry.registerEventListener(listener, "object:text-selection-changed")
        try:
            def focused(accessible):
                return accessible.getState().contains(pyatspi.STATE_FOCUSED)

            def selected(accessible):
                return accessible.queryText().getNSelections() > 0

            steps = [("Tab", pitch, pitch.name), ("Tab Tab", slip, slip.name),
                     ("ctrl+1", field, field.name)]
            # The listener reaches Qt's bridge by way of the registry.
            pump(0.5)
            if not pump(WAIT_SECONDS, lambda: focused(field)):
                return "%s: U/min has not the focus" % name
            for keys, reached, reached_name in steps:
                del changes[:]
                xdotool("key", "--delay", "100", *keys.split())
                if not pump(WAIT_SECONDS, lambda: focused(reached) and selected(reached)):
                    return "%s: after %s %s has not the focus with its text selected" % (
                        name, keys, reached_name)
                # One from the field left would come before the one reached
                # is selected, which the listener must see.
                if not pump(WAIT_SECONDS, lambda: reached_name in changes):
                    return "%s: no selection change seen for %s" % (name, reached_name)
                spoken = [source for source in changes if source != reached_name]
                if spoken:
                    return "%s: after %s a selection change for %s" % (name, keys, spoken)
            for accessible in (pitch, slip):
                read = accessible.queryText()
                start, end = read.getSelection(0)
                if read.getNSelections() != 0 or start != end:
                    return "%s: %s reports %d selections, the first %d..%d" % (
                        name, accessible.name, read.getNSelections(), start, end)
        finally:
            pyatspi.Registry.deregisterEventListener(listener, "object:text-selection-changed")
        problem = ended(process, name)
        if problem:
            return problem
        print("ok: %s" % name)
        return None
    return name, body


def main():
    program = sys.argv[1]
    text = lambda field: field.queryText()
    editable = lambda field: field.queryEditableText()
    cases = [
        hostile_case("extents from -2^31 to the end",
                     [lambda f: text(f).getRangeExtents(INT_MIN, -1, 0)], b"10000"),
        hostile_case("extents from 0 to 2^31-1",
                     [lambda f: text(f).getRangeExtents(0, INT_MAX, 0)], b"10000"),
        # As many as the field takes.
        hostile_case("extents of every character of a full field",
                     [lambda f: editable(f).setTextContents("8" * 40000),
                      lambda f: text(f).characterCount,
                      lambda f: text(f).getRangeExtents(0, -1, 0)],
                     lambda answers: b"8" * answers[1] if len(answers) > 1
                     and isinstance(answers[1], int) else None),
        hostile_case("inserts claiming 64 and 2^31-1 characters",
                     [lambda f: editable(f).insertText(0, "abc", 64),
                      lambda f: editable(f).insertText(0, "de", INT_MAX)], b"deabc10000"),
        places_case("places with the window at x = 200", 1),
        places_case("places at a scale of 2", 2) + ({"QT_SCALE_FACTOR": "2"},),
        selection_case("a field left behind reports no selection"),
    ]
    problems = [problem for problem in
                (run_case(program, *case) for case in cases) if problem]
    for problem in problems:
        print("FAILED:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
