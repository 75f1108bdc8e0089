"""What a screen reader gets from the running program: the football counts after a quick
selection, and the progress and "Prozess gestoppt" of a stopped run, as names and texts of
objects with a text role, announced by events.

Usage (ctest runs it so): xvfb-run -a dbus-run-session -- /usr/bin/python3 screen_reader_test.py PROGRAM
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402

from losfix_atspi import (  # noqa: E402
    EventLog,
    Program,
    enabled,
    find_all,
    labelled_by,
    press,
    role,
    set_text,
    set_value,
    showing,
    text_of,
    texts_as_containers,
    wait_for,
    wait_for_name,
    watchdog,
    window_of,
)

TEXT_ROLES = ("label", "static", "status bar")
NAME_CHANGED = "object:property-change:accessible-name"
CAPTION = "Losfix 2.0     v1.5.0.0"

# In every match the outcomes "1" and "0" at "Fav I" (code 1), "2" at "out": two ways in each
# of the 13 matches, 2^13 = 8.192 combinations.
QUICK_SELECTION = b"".join(b"1\r\n1\r\n0\r\n" for _ in range(13))


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def count_of(window, caption):
    """The count the caption labels: what a reader announces as "<caption> <count>"."""
    label = wait_for(window, role="label", name=caption, showing_only=True)
    count = wait_for(lambda: labelled_by(label))
    check(role(count) in TEXT_ROLES, "%s names a %s" % (caption, role(count)))
    return count


def football_counts(app):
    press(app, "Losfix Fußball")
    football = window_of(wait_for(app, role="label", name="Kombinationen:", showing_only=True))
    combinations = count_of(football, "Kombinationen:")
    check(combinations.name == "0", "before loading: %r" % combinations.name)
    press(football, "Schnellauswahl laden")
    wait_for_name(combinations, "8.192")
    wait_for_name(count_of(football, "ZW:"), "13")
    wait_for_name(count_of(football, "DW:"), "0")
    wait_for_name(count_of(football, "Bänke:"), "0")
    check(not texts_as_containers(football), "texts as frames: %r" % texts_as_containers(football))
    press(football, "Schließen")


def stopped_run(app):
    main = window_of(wait_for(app, role="push button", name="Abbild der Zahlentafel"))
    check(main.name == CAPTION, "main window %r" % main.name)
    # Congruence 3 allows far fewer than 20,000 rows of 6 out of 49: the run ends only by stop.
    set_text(wait_for(main, role="text", name="Gewünschte Reihenanzahl:"), "20000")
    set_value(wait_for(main, role="slider", name="Max. Reihenkongruenz"), 3)
    # While the run goes the program answers between steps only, so everything the test reads
    # then is found before: the stop button (not yet enabled), the notice (hidden, it already
    # holds its text) and the progress line.
    stop = wait_for(main, role="push button", name="Stopp: Reihenbildung anhalten")
    check(not enabled(stop), "stop is enabled before the run")
    lines = find_all(main, role="status bar")
    notices = [line for line in lines if line.name == "Prozess gestoppt"]
    check(len(lines) == 2 and len(notices) == 1, "status lines %r" % [line.name for line in lines])
    notice = notices[0]
    progress = lines[0] if lines[1] is notice else lines[1]
    check(not showing(notice), "the stop notice shows before the run")

    events = EventLog(NAME_CHANGED, "object:text-changed")
    press(main, "Reihen bilden")
    wait_for_name(progress, re.compile(r"^Reihe [0-9.]+ von 20\.000, [0-9.]+ Kandidaten geprüft$"))
    check(showing(progress), "the progress line is hidden")
    # The line changes while it is read; both must say the same kind of thing.
    check(text_of(progress).startswith("Reihe "), "progress text %r" % text_of(progress))
    events.wait(NAME_CHANGED, re.compile(r"^Reihe [0-9.]+ von 20\.000"), roles=("status bar",))

    press(stop)
    wait_for(lambda: showing(notice))
    check(notice.name == "Prozess gestoppt", "notice %r" % notice.name)
    check(text_of(notice) == "Prozess gestoppt", "notice text %r" % text_of(notice))
    # A reader hears the notice appear: as a new name and as new text of a text object.
    events.wait(NAME_CHANGED, "Prozess gestoppt", roles=TEXT_ROLES)
    events.wait("object:text-changed:insert", "Prozess gestoppt", roles=TEXT_ROLES)
    wait_for_name(progress, re.compile(r"Reihen gebildet, [0-9.]+ Kandidaten geprüft\.$"))
    check(not texts_as_containers(main), "texts as frames: %r" % texts_as_containers(main))
    events.close()


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: screen_reader_test.py PROGRAM")
    watchdog(240)
    pyatspi.Registry.getDesktop(0)
    with Program(sys.argv[1]) as program:
        program.write_setting("Quick.wh13", QUICK_SELECTION)
        app = program.start()
        press(app, "Weiter")
        wait_for(app, role="push button", name="Abbild der Zahlentafel", showing_only=True)
        football_counts(app)
        print("football counts: reached")
        stopped_run(app)
        print("stopped run: progress and notice reached and announced")


if __name__ == "__main__":
    main()
