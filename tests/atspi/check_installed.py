#!/usr/bin/python3
"""Starts an installed Losfix with a row file as its argument and checks, through the
accessibility tree as a screen reader sees it, that after "Weiter" the main window shows the
file's rows and names the file, without a message. Checks that the window's WM_CLASS is the one
the menu entry names (StartupWMClass), takes a screenshot and ends the program with "Programm
beenden".

Run it under Xvfb inside a D-Bus session of its own, with Debian's Python (python3-pyatspi):
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 xvfb-run -a dbus-run-session -- \
      /usr/bin/python3 tests/atspi/check_installed.py --file x.lrei --screenshot x.png
"""

import argparse
import os
import subprocess
import sys
import time

import pyatspi


class CheckFailed(Exception):
    pass


def wait_for(what, probe, timeout):
    """probe() until it returns something true; its last error is reported on timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            result = probe()
            if result:
                return result
        except CheckFailed:
            raise
        except Exception as error:  # the tree changes while it is read
            last_error = error
        time.sleep(0.2)
    raise CheckFailed(f"{what}: nach {timeout} s nicht erreicht ({last_error})")


def read_row_file(path):
    """The rows as the program shows them: the label and the 16 number cells of each line."""
    rows = []
    with open(path, "rb") as stream:
        for line in stream.read().decode("cp1252").split("\r\n"):
            if not line:
                continue
            cells = line.split(",")
            label = cells[0].strip('"')
            numbers = [cell if cell else " " for cell in cells[1:17]]
            numbers += [" "] * (16 - len(numbers))
            rows.append((label, numbers))
    return rows


def application_of(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def find(root, role, name=None):
    return pyatspi.findDescendant(
        root, lambda a: a.getRole() == role and (name is None or a.name == name))


def startup_wm_class(desktop_file):
    with open(desktop_file, encoding="utf-8") as stream:
        for line in stream:
            if line.startswith("StartupWMClass="):
                return line.strip().split("=", 1)[1]
    raise CheckFailed(f"{desktop_file} nennt keine StartupWMClass")


def window_classes(pid):
    """WM_CLASS of every top-level window of the process that has one."""
    found = subprocess.run(["xdotool", "search", "--pid", str(pid)],
                           capture_output=True, text=True, check=False)
    classes = []
    for window in found.stdout.split():
        prop = subprocess.run(["xprop", "-id", window, "WM_CLASS"],
                              capture_output=True, text=True, check=False).stdout
        if "=" in prop:
            classes.append([part.strip().strip('"') for part in prop.split("=", 1)[1].split(",")])
    return classes


def display_answers():
    return subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          check=False).returncode == 0


def check(arguments):
    expected = read_row_file(arguments.file)
    if not expected:
        raise CheckFailed(f"{arguments.file} enthält keine Reihen")
    # On a loaded machine the X server may not take connections yet when the command starts (it
    # runs with -noreset, so this probe's disconnect does not make it start over).
    wait_for(f"X-Server {os.environ.get('DISPLAY')}", display_answers, 30)
    program = subprocess.Popen([arguments.program, arguments.file])
    try:
        def started():
            if program.poll() is not None:
                raise CheckFailed(f"Losfix endete beim Start mit {program.returncode}")
            return application_of(program.pid)

        app = wait_for("Losfix im Zugänglichkeitsbaum", started, arguments.timeout)
        weiter = wait_for("\"Weiter\" bereit", lambda: (
            (b := find(app, pyatspi.ROLE_PUSH_BUTTON, "Weiter")) is not None
            and b.getState().contains(pyatspi.STATE_ENABLED) and b), arguments.timeout)
        # Nothing of the file is in a window before "Weiter".
        if find(app, pyatspi.ROLE_TABLE) is not None:
            raise CheckFailed("die Reihentabelle ist vor \"Weiter\" sichtbar")
        weiter.queryAction().doAction(0)

        def table_with_rows():
            table = find(app, pyatspi.ROLE_TABLE)
            if table is None:
                return None
            cells = table.queryTable()
            return table if cells.nRows == len(expected) else None

        table = wait_for(f"Tabelle mit {len(expected)} Reihen", table_with_rows,
                         arguments.timeout).queryTable()
        if table.nColumns != 16:
            raise CheckFailed(f"die Tabelle hat {table.nColumns} Zahlenspalten, nicht 16")
        for row, (label, numbers) in enumerate(expected):
            shown = [table.getAccessibleAt(row, column).name for column in range(16)]
            header = table.getRowHeader(row)
            shown_label = header.name if header is not None else None
            if shown != numbers or (shown_label or "").strip() != label.strip():
                raise CheckFailed(f"Reihe {row + 1}: gezeigt {shown_label!r} {shown}, "
                                  f"in der Datei {label!r} {numbers}")
        name = os.path.basename(arguments.file)
        if find(app, pyatspi.ROLE_LABEL, name) is None:
            raise CheckFailed(f"kein Feld nennt die Datei {name!r}")
        for role in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
            message = find(app, role)
            if message is not None:
                raise CheckFailed(f"eine Meldung ist offen: {message.name!r}")

        wm_class = startup_wm_class(arguments.desktop_file)
        classes = window_classes(program.pid)
        if not classes or any(c[-1] != wm_class for c in classes):
            raise CheckFailed(f"WM_CLASS der Fenster {classes}, der Menüeintrag nennt {wm_class}")

        if arguments.screenshot:
            time.sleep(0.5)
            subprocess.run(["import", "-window", "root", arguments.screenshot], check=True)

        find(app, pyatspi.ROLE_PUSH_BUTTON, "Programm beenden").queryAction().doAction(0)
        code = program.wait(timeout=arguments.timeout)
        if code != 0:
            raise CheckFailed(f"Losfix endete mit {code}")
        print(f"Installiertes Losfix: {len(expected)} Reihen aus {name} im Hauptfenster, "
              f"WM_CLASS {classes[0]}")
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", default="/usr/bin/losfix")
    parser.add_argument("--file", required=True, help="a row file (.lrei)")
    parser.add_argument("--desktop-file", default="/usr/share/applications/losfix.desktop")
    parser.add_argument("--screenshot", help="PNG of the screen with the main window")
    parser.add_argument("--timeout", type=float, default=60)
    arguments = parser.parse_args()
    try:
        check(arguments)
    except CheckFailed as failure:
        print(f"Prüfung des installierten Programms fehlgeschlagen: {failure}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
