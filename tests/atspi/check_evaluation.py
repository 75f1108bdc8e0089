#!/usr/bin/env python3
"""Reads both evaluation windows through AT-SPI, as a screen reader does: the summary of the
counted draw, the line about the rows, the basis of the odds and the cells of the odds tables
must be there as text, with a role that a reader speaks (a label or a table cell).

Usage: check_evaluation.py <evaluation_fixture>; run inside dbus-run-session and xvfb-run."""
import os
import subprocess
import sys
import time

import pyatspi

TEXT_ROLES = {pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC, pyatspi.ROLE_STATUS_BAR,
              pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TEXT}
BUTTON_ROLES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON,
                getattr(pyatspi, "ROLE_PUSH_BUTTON_MENU", pyatspi.ROLE_PUSH_BUTTON)}


def walk(node, depth=0):
    if node is None or depth > 60:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:  # a child that went away
            continue
        yield from walk(child, depth + 1)


def find_application(name, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        time.sleep(0.3)
    return None


def window_titled(app, title):
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.name.startswith(title):
            return window
    return None


def texts(window):
    return [(node.getRole(), node.name) for node in walk(window) if node.name]


def expect(found, failures, what, check, roles=TEXT_ROLES):
    if not any(role in roles and check(name) for role, name in found):
        failures.append(what)


def main():
    fixture = sys.argv[1]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               QT_ACCESSIBILITY="1")
    process = subprocess.Popen([fixture], env=env, stdout=subprocess.PIPE, text=True)
    try:
        line = process.stdout.readline()
        if line.strip() != "READY":
            print("the fixture did not get ready:", line, file=sys.stderr)
            return 1
        app = find_application(os.path.basename(fixture))
        if app is None:
            print("the fixture is not on the accessibility bus", file=sys.stderr)
            return 1
        failures = []
        lotto = window_titled(app, "Auswertung der Reihen")
        football = window_titled(app, "Auswertung der Tippreihen")
        if lotto is None or football is None:
            print("windows:", [app.getChildAtIndex(i).name for i in range(app.childCount)],
                  file=sys.stderr)
            return 1
        found = texts(lotto)
        expect(found, failures, "lottery summary",
               lambda name: name.startswith("6 Richtige: 1 Reihe · 5 Richtige: "))
        expect(found, failures, "lottery rows line",
               lambda name: name == "12 Reihen mit je 6 Zahlen aus der Zahlenmenge 49")
        expect(found, failures, "lottery odds basis",
               lambda name: name == "Exakt über alle 13.983.816 möglichen Ziehungen (6 aus 49).")
        # 12 different rows: 12 of the 13,983,816 draws have a row with six hits.
        expect(found, failures, "lottery odds cell",
               lambda name: name.endswith("(1 zu 1.165.318)"), {pyatspi.ROLE_TABLE_CELL})
        expect(found, failures, "lottery no-win line",
               lambda name: name.startswith("Kein Gewinn (weniger als 3 Richtige): "))
        expect(found, failures, "hit table cell", lambda name: name == "6",
               {pyatspi.ROLE_TABLE_CELL})
        expect(found, failures, "lottery print button", lambda name: name == "Drucken…",
               BUTTON_ROLES)
        found = texts(football)
        expect(found, failures, "football summary",
               lambda name: name == "13 Richtige: 1 Reihe · 12 Richtige: 0 Reihen · "
               "11 Richtige: 0 Reihen · 10 Richtige: 0 Reihen")
        expect(found, failures, "caption of a match choice", lambda name: name == "Spiel 13",
               {pyatspi.ROLE_LABEL})
        expect(found, failures, "football odds cell", lambda name: name == "2.288",
               {pyatspi.ROLE_TABLE_CELL})
        expect(found, failures, "football odds basis", lambda name: name.startswith(
            "Exakt über alle 1.594.323 möglichen Ergebnisse"))
        expect(found, failures, "football print button", lambda name: name == "Drucken…",
               BUTTON_ROLES)
        if failures:
            print("not readable through AT-SPI:", ", ".join(failures), file=sys.stderr)
            for role, name in found:
                print("  ", role, repr(name), file=sys.stderr)
            return 1
        print("1 passed, 0 failed")
        return 0
    finally:
        process.kill()
        process.wait()


if __name__ == "__main__":
    sys.exit(main())
