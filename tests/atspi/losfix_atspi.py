"""Losfix as a screen reader meets it: through AT-SPI, the accessibility bus of the desktop.

Run under an X server with a D-Bus session of its own, with Debian's Python (python3-pyatspi):
    xvfb-run -a dbus-run-session -- /usr/bin/python3 tests/atspi/<test>.py build/src/losfix

    with Program(path) as program:      # own HOME and data folder below program.home
        program.write_setting("Quick.wh13", data)   # a file in "Einstellungen" before the start
        app = program.start()           # the application object, once the program answers
        press(app, "Weiter")            # a button by accessible name, by its Press action
        header = wait_for(app, role="label", name="Kombinationen:")
        count = wait_for(lambda: labelled_by(header))   # the object the label names
        main = window_of(wait_for(app, name="Abbild der Zahlentafel"))  # its window
        wait_for_name(count, "8.192")   # until the name is (or matches, for a regex) the text
        events = EventLog("object:property-change:accessible-name")  # what a reader hears
        events.wait("object:property-change:accessible-name", "Prozess gestoppt")
        assert not texts_as_containers(main)  # no text hidden in a frame or panel
        print(describe(main))           # the tree as role, name and text, for a look

Objects are found by accessible name and role (AT-SPI role names: "push button", "label",
"status bar", ...); Qt 6.4 does not expose object names. Walks skip the children of tables
unless asked. Every wait ends after `timeout` seconds with Timeout and the names it saw; every
call to the program ends after CALL_TIMEOUT_MS, so a program that hangs cannot hang the test.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

import pyatspi
from gi.repository import GLib

CALL_TIMEOUT_MS = 5000
DEFAULT_TIMEOUT = 20.0
APPLICATION_NAME = "Quotrix"
SETTINGS_FOLDER = os.path.join("Losfix 2.0", "Einstellungen")

pyatspi.setTimeout(CALL_TIMEOUT_MS, CALL_TIMEOUT_MS)


class Timeout(AssertionError):
    """A wait that ended without what it waited for."""


def watchdog(seconds):
    """Ends the whole test with a message after `seconds`, whatever call hangs."""

    def expire(signum, frame):
        raise Timeout("the test took longer than %d s" % seconds)

    signal.signal(signal.SIGALRM, expire)
    signal.alarm(seconds)


def pump(budget=1.0):
    """Delivers pending AT-SPI events to the listeners of EventLog, for `budget` seconds at
    the most, so that a flood of events cannot stall a wait."""
    context = GLib.MainContext.default()
    end = time.monotonic() + budget
    while context.pending() and time.monotonic() < end:
        context.iteration(False)


def _poll(probe, timeout, describe):
    end = time.monotonic() + timeout
    looks = 0
    error = None
    while True:
        pump()
        looks += 1
        try:
            found = probe()
        except GLib.Error as failure:
            found = None  # an object that went away while it was read, or a call that timed out
            error = failure
        if found:
            return found
        if time.monotonic() > end:
            raise Timeout(
                "after %.0f s and %d looks: %s%s"
                % (timeout, looks, describe(), "" if error is None else " (last error: %s)" % error)
            )
        time.sleep(0.1)


def role(obj):
    return obj.getRoleName()


def showing(obj):
    return obj.getState().contains(pyatspi.STATE_SHOWING)


def text_of(obj):
    """The text of the Text interface, or None without one."""
    try:
        text = obj.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def walk(root, into_tables=False):
    """root and everything below it, depth first."""
    stack = [root]
    while stack:
        obj = stack.pop()
        if obj is None:
            continue
        yield obj
        if role(obj) == "table" and not into_tables and obj is not root:
            continue
        stack.extend(reversed([obj.getChildAtIndex(i) for i in range(obj.childCount)]))


def _matches(obj, name, role_name, showing_only):
    if role_name is not None and role(obj) != role_name:
        return False
    if showing_only and not showing(obj):
        return False
    if name is None:
        return True
    if isinstance(name, re.Pattern):
        return name.search(obj.name or "") is not None
    return obj.name == name


def find_all(root, name=None, role=None, showing_only=False, into_tables=False):
    """Every object below root (root included) with that name (a string or a compiled regex)
    and role."""
    return [
        obj
        for obj in walk(root, into_tables)
        if _matches(obj, name, role, showing_only)
    ]


CONTAINER_ROLES = ("frame", "panel", "filler")


def texts_as_containers(root):
    """Objects below root that hold nothing but a name under a container role: a text that
    screen readers pass over. One line each."""
    return [
        "%s %r" % (role(obj), obj.name)
        for obj in walk(root)
        if role(obj) in CONTAINER_ROLES and obj.childCount == 0 and obj.name
    ]


def describe(root, depth=0):
    """The tree below root as indented lines of role, name and text, for a look or a message;
    the cells of tables are left out."""
    text = text_of(root)
    extra = "" if text is None or text == root.name else " text=%r" % text
    hidden = "" if showing(root) else " (hidden)"
    lines = ["%s%s %r%s%s" % ("  " * depth, role(root), root.name, extra, hidden)]
    if role(root) != "table":
        for i in range(root.childCount):
            child = root.getChildAtIndex(i)
            if child is not None:
                lines.append(describe(child, depth + 1))
    return "\n".join(lines)


def _names(root):
    seen = []
    for obj in walk(root):
        if obj.name:
            seen.append("%s %r" % (role(obj), obj.name))
    return "; ".join(seen[:80])


def wait_for(root, name=None, role=None, showing_only=False, timeout=DEFAULT_TIMEOUT):
    """The first object below root that matches; root may also be a function that returns
    the object or None, then the wait is for that."""
    if callable(root):
        return _poll(root, timeout, lambda: "nothing found")

    def probe():
        found = find_all(root, name, role, showing_only)
        return found[0] if found else None

    what = "no %s %r; seen: " % (role or "object", name)
    return _poll(probe, timeout, lambda: what + _names(root))


def wait_for_name(obj, name, timeout=DEFAULT_TIMEOUT):
    """Waits until obj's name is name (or matches it, for a compiled regex); returns the name."""

    def probe():
        current = obj.name or ""
        if isinstance(name, re.Pattern):
            return current if name.search(current) else None
        return current if current == name else None

    return _poll(probe, timeout, lambda: "name is %r, not %r" % (obj.name, name))


def window_of(obj):
    """The top-level window that holds obj (the child of the application object)."""
    while obj.parent is not None and role(obj.parent) != "application":
        obj = obj.parent
    return obj


def relation_targets(obj, relation):
    """The objects obj has that relation to (pyatspi.RELATION_LABEL_FOR, ...)."""
    targets = []
    for rel in obj.getRelationSet():
        if rel.getRelationType() == relation:
            targets.extend(rel.getTarget(i) for i in range(rel.getNTargets()))
    return targets


def labelled_by(label):
    """The object that label names, or None."""
    targets = relation_targets(label, pyatspi.RELATION_LABEL_FOR)
    return targets[0] if targets else None


def do_action(obj, action="Press"):
    actions = obj.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            if not actions.doAction(i):
                raise AssertionError("%s %r refused %s" % (role(obj), obj.name, action))
            return
    raise AssertionError("%s %r has no action %s" % (role(obj), obj.name, action))


def enabled(obj):
    return obj.getState().contains(pyatspi.STATE_ENABLED)


def press(root, name=None, role="push button", timeout=DEFAULT_TIMEOUT):
    """Presses the showing, enabled button of that name below root; without a name, root itself
    once it is showing and enabled. While the program works, every call waits for its next look
    at the events: find a button before the work starts and press it by itself."""

    def probe():
        if name is None:
            return root if showing(root) and enabled(root) else None
        for obj in find_all(root, name, role, showing_only=True):
            if enabled(obj):
                return obj
        return None

    button = _poll(probe, timeout, lambda: "no enabled %s %r" % (role, name))
    do_action(button)
    return button


def set_text(obj, text):
    """Replaces the text of an editable field, as typing would."""
    obj.queryEditableText().setTextContents(text)


def set_value(obj, value):
    """Sets a slider or spin box."""
    obj.queryValue().currentValue = value


class EventLog:
    """Collects AT-SPI events of the given types ("object:property-change:accessible-name",
    "object:text-changed", ...) while waits pump events. Recording asks the program nothing:
    a busy program answers slowly, and events come in faster than such questions are answered."""

    def __init__(self, *types):
        self.events = []  # (type, source, detail): detail is the changed text, if any
        self._types = types
        pyatspi.Registry.registerEventListener(self._record, *types)

    def _record(self, event):
        self.events.append((event.type, event.source, event.any_data))

    def close(self):
        pyatspi.Registry.deregisterEventListener(self._record, *self._types)

    def wait(self, kind, detail, roles=None, timeout=DEFAULT_TIMEOUT):
        """The first event whose type starts with kind and whose detail is detail (or matches
        it, for a compiled regex), from an object of one of roles when they are given; returns
        (type, source, detail). For a name change the detail is the source's name as it is
        when the event is looked at."""
        checked = set()

        def probe():
            for index, (event_type, source, event_detail) in enumerate(self.events):
                if index in checked or not event_type.startswith(kind):
                    continue
                checked.add(index)
                # A name change carries no text that pyatspi reads: the source says its name.
                text = event_detail if isinstance(event_detail, str) else (source.name or "")
                if isinstance(detail, re.Pattern):
                    if not detail.search(text):
                        continue
                elif text != detail:
                    continue
                if roles is None or role(source) in roles:
                    return (event_type, source, event_detail)
            return None

        def seen():
            return "no %s %r among %r" % (
                kind,
                detail,
                [(t, d) for t, _, d in self.events[-20:]],
            )

        return _poll(probe, timeout, seen)


class Program:
    """The program started with a HOME and data folder of its own, and accessibility on."""

    def __init__(self, path, locale="de_DE.UTF-8"):
        self.path = os.path.abspath(path)
        self.home = tempfile.mkdtemp(prefix="losfix-atspi-")
        self.data = os.path.join(self.home, "data")
        self.process = None
        self.env = dict(os.environ)
        runtime = os.path.join(self.home, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env.update(
            HOME=self.home,
            XDG_DATA_HOME=self.data,
            XDG_CONFIG_HOME=os.path.join(self.home, "config"),
            XDG_RUNTIME_DIR=runtime,
            QT_QPA_PLATFORM="xcb",
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            # Qt's number formats follow this; the C library may not know it (Qt says so once).
            LC_ALL=locale,
        )

    def write_setting(self, name, data):
        """Writes a file into the program's settings folder before the start."""
        folder = os.path.join(self.data, SETTINGS_FOLDER)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name), "wb") as file:
            file.write(data)

    def start(self, timeout=60.0):
        """Starts the program and returns its application object (a loaded machine may take
        a while to start a Qt program)."""
        # The desktop first: reading it starts the accessibility bus, which the program joins.
        pyatspi.Registry.getDesktop(0)
        self.process = subprocess.Popen([self.path], env=self.env)

        def probe():
            if self.process.poll() is not None:
                raise AssertionError("the program ended with %d" % self.process.returncode)
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name == APPLICATION_NAME and app.childCount > 0:
                    return app
            return None

        return _poll(probe, timeout, lambda: "no application %r" % APPLICATION_NAME)

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(5)
        shutil.rmtree(self.home, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False
