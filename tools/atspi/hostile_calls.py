#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Calls that any program on the accessibility bus may make, against the
rpm field of a freshly started JOLV: text extents over ranges far outside
the text, and insertions that claim more characters than they bring. Each
case ends the program by SIGTERM while the calls run or right after them:
it must have saved within 2 s, and the file must hold no NUL and nothing
but the given characters. Run by replay.sh inside a private bus session."""

import os
import signal
import subprocess
import sys
import tempfile
import threading
import time

import pyatspi

SAVE_SECONDS = 2
START_SECONDS = 30
STARTS = 3  # a program that ends before its window is up is started again
INT_MIN, INT_MAX = -2**31, 2**31 - 1


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


def run_case(program, name, calls, expected_rpm):
    """Starts the program, makes the calls in a thread of their own, sends
    SIGTERM 0.3 s after they began and checks the file it saved."""
    for start in range(1, STARTS + 1):
        with tempfile.TemporaryDirectory() as config:
            # On the X server of replay.sh, whatever platform the caller's
            # environment names.
            environment = dict(os.environ, XDG_CONFIG_HOME=config, LC_ALL="C.UTF-8",
                               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
            environment.pop("WAYLAND_DISPLAY", None)
            if start > 1:  # Qt's reasons too, should it fail again
                environment["QT_DEBUG_PLUGINS"] = "1"
            process = subprocess.Popen([program], env=environment)
            try:
                field = rpm_field(process)
                if field is not None:
                    return terminate_during(process, field, name, calls, expected_rpm, config)
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


def main():
    program = sys.argv[1]
    text = lambda field: field.queryText()
    editable = lambda field: field.queryEditableText()
    cases = [
        ("extents from -2^31 to the end",
         [lambda f: text(f).getRangeExtents(INT_MIN, -1, 0)], b"10000"),
        ("extents from 0 to 2^31-1",
         [lambda f: text(f).getRangeExtents(0, INT_MAX, 0)], b"10000"),
        ("extents of every character of a full field",
         [lambda f: editable(f).setTextContents("8" * 40000),
          lambda f: text(f).getRangeExtents(0, -1, 0)], b"8" * 32767),
        ("inserts claiming 64 and 2^31-1 characters",
         [lambda f: editable(f).insertText(0, "abc", 64),
          lambda f: editable(f).insertText(0, "de", INT_MAX)], b"deabc10000"),
    ]
    problems = [problem for problem in
                (run_case(program, *case) for case in cases) if problem]
    for problem in problems:
        print("FAILED:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
