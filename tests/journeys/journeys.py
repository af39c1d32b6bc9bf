#!/usr/bin/python3
"""End-to-end journeys: the real quillbox under Xvfb, driven as a user drives it, through the
accessibility bus (widgets found by role and accessible name). xdotool only presses keys and clicks
where the bus cannot reach: the grid's cells, and commands that open a modal dialog (a bus action
would wait until the dialog closes).

usage: journeys.py QUILLBOX QUILLBOX-CLI [JOURNEY...]  (run under xvfb-run and dbus-run-session)"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

QUILLBOX, CLI = sys.argv[1], sys.argv[2]


def clean(name):
    return (name or "").split("\t")[0].replace("&", "").strip()


def walk(o, depth=0):
    yield o
    if depth >= 25:
        return
    try:
        children = list(o)
    except Exception:
        return
    for c in children:
        if c is not None:
            yield from walk(c, depth + 1)


def find(root, role=None, name=None, timeout=10.0, pred=None):
    end = time.time() + timeout
    while True:
        for o in walk(root):
            try:
                if role and o.getRoleName() != role:
                    continue
                if name is not None and clean(o.name) != name:
                    continue
                if pred and not pred(o):
                    continue
                return o
            except Exception:
                continue
        if time.time() > end:
            raise AssertionError(f"no {role} named '{name}' appeared")
        time.sleep(0.2)


def dump(o, depth=0):
    try:
        print("  " * depth + f"{o.getRoleName()} '{o.name}'")
        for c in o:
            dump(c, depth + 1)
    except Exception as e:
        print("  " * depth + f"({e})")


def press(o):
    o.queryAction().doAction(0)


def set_text(o, text):
    o.queryEditableText().setTextContents(text)


def text_of(o):
    return o.queryText().getText(0, -1)


def selected_text(o):
    t = o.queryText()
    if t.getNSelections() == 0:
        return ""
    start, end = t.getSelection(0)
    return t.getText(start, end)


def key(keys):
    subprocess.run(["xdotool", "key", "--delay", "60"] + keys.split(), check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "15", text], check=True)


def click(o, double=False):
    e = o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", "--sync", str(e.x + e.width // 2), str(e.y + e.height // 2),
                    "click", "--repeat", "2" if double else "1", "--delay", "80", "1"], check=True)


def focus_window(pattern):
    # No window manager under Xvfb: the X input focus is given by hand.
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                         capture_output=True, text=True).stdout.split()
    for wid in ids:
        subprocess.run(["xdotool", "windowraise", wid])
        subprocess.run(["xdotool", "windowfocus", "--sync", wid])
    if not ids:
        raise AssertionError(f"no window titled like '{pattern}'")


def answer_alert(app, expected):
    alert = find(app, "alert")
    texts = [clean(o.name) for o in walk(alert) if o.getRoleName() == "label"]
    if not any(expected in t for t in texts):
        raise AssertionError(f"expected message '{expected}', saw {texts}")
    press(find(alert, "push button", "OK"))


class Program:
    """One run of quillbox with its own home, settings and files."""

    def __init__(self, root, args=()):
        self.env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", ASAN_OPTIONS="detect_leaks=0",
                        QUILLBOX_HOME=os.path.join(root, "home"), XDG_CONFIG_HOME=os.path.join(root, "config"))
        self.proc = subprocess.Popen([QUILLBOX, *args], env=self.env)
        end = time.time() + 30
        self.app = None
        while self.app is None:
            if time.time() > end or self.proc.poll() is not None:
                self.proc.kill()
                raise AssertionError("quillbox did not appear on the accessibility bus")
            time.sleep(0.3)
            for a in pyatspi.Registry.getDesktop(0):
                try:
                    if a is not None and a.get_process_id() == self.proc.pid:
                        self.app = a
                except Exception:
                    pass
        find(self.app, "frame", "Quillbox", timeout=20)

    def quit(self):
        # The frame does not close while a dialog is open; a message just answered may still be
        # on its way out.
        end = time.time() + 10
        while any(o.getRoleName() in ("alert", "dialog") for o in self.app) and time.time() < end:
            time.sleep(0.2)
        try:
            press(find(self.app, "menu item", "Exit"))
        except Exception:
            pass  # the program may be gone before it answers
        code = self.proc.wait(timeout=30)
        if code != 0:
            raise AssertionError(f"quillbox exited with {code}")

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def new_root():
    root = tempfile.mkdtemp(prefix="quillbox-journey-")
    # Not the first run: the first run opens the help, which these journeys do not need.
    cfg = os.path.join(root, "config", "User collection system")
    os.makedirs(cfg)
    with open(os.path.join(cfg, "Quillbox.conf"), "w") as f:
        f.write("[Property]\ninfoDir=%s/home/\n" % root)
    return root


def cells(table):
    return [clean(c.name) for c in table if c.getRoleName() == "table cell"]


def open_collection(app, name):
    find(app, "dialog", "Open collection")
    click(find(find(app, "list", "Collections"), "list item", name))
    key("Return")


def journey_describe_and_come_back(root):
    docs = os.path.join(root, "docs")
    os.makedirs(docs)
    for n in ("alpha.txt", "beta.txt", "gamma.txt"):
        with open(os.path.join(docs, n), "w") as f:
            f.write(n + "\n")
    p = Program(root)
    try:
        focus_window("^Quillbox$")
        key("alt+n")
        dlg = find(p.app, "dialog", "New Collection")
        set_text(find(dlg, "text", "Select a base directory for new collection"), docs)
        set_text(find(dlg, "text", "Allowed file's extentions (rtf, txt, doc)"), "txt")
        key("Return")
        info = find(p.app, "dialog", "Collection Info")
        set_text(find(info, "text", "Collection name:"), "Journey")
        set_text(find(info, "text", "Collection description:"), "Files of the journey")
        key("Return")
        table = find(p.app, "table", "Collection")
        focus_window("^Collection ")
        c = [x for x in table if x.getRoleName() == "table cell"]
        names = [clean(x.name) for x in c[0::3]]
        rows = {n: i for i, n in enumerate(names)}
        click(c[3 * rows["alpha.txt"] + 1])
        key("Return")
        type_text("The first letter")
        key("Return")
        click(c[3 * rows["gamma.txt"] + 1])
        type_text("The third one")
        key("Return")
        click(c[3 * rows["alpha.txt"] + 2], double=True)
        key("Down Return")  # "Set a new group"
        set_text(find(find(p.app, "dialog", "New group name"), "text", "Insert a new group name:"), "letters")
        key("Return")
        time.sleep(0.5)
        p.quit()
    finally:
        p.kill()

    p = Program(root)
    try:
        focus_window("^Quillbox$")
        key("alt+c")
        open_collection(p.app, "Journey")
        table = find(p.app, "table", "Collection")
        got = cells(table)
        rows = {got[i]: got[i + 1:i + 3] for i in range(0, len(got), 3)}
        expected = {"alpha.txt": ["The first letter", "letters"], "beta.txt": ["", ""],
                    "gamma.txt": ["The third one", ""]}
        if rows != expected:
            raise AssertionError(f"after a restart the collection shows {rows}")
        p.quit()
    finally:
        p.kill()


def journey_keyword_search(root):
    docs = os.path.join(root, "docs")
    os.makedirs(docs)
    with open(os.path.join(docs, "plan.txt"), "wb") as f:
        f.write("Plan\r\nThe needle is here.\r\nNo match.\r\nAnother needle\r\n\u00e4\u00f6 needle at the end\r\n"
                .encode())
    with open(os.path.join(docs, "other.txt"), "w") as f:
        f.write("nothing\n")
    env = dict(os.environ, QUILLBOX_HOME=os.path.join(root, "home"))
    subprocess.run([CLI, "refresh", docs, "--ext", "txt", "--name", "Plans"], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    p = Program(root)
    try:
        focus_window("^Quillbox$")
        key("alt+k")
        open_collection(p.app, "Plans")
        words = find(p.app, "dialog", pred=lambda o: any(x.getRoleName() == "text" for x in o))
        set_text(find(words, "text"), "needle")
        key("Return")
        table = find(p.app, "table", "Collection")
        time.sleep(0.5)
        got = cells(table)
        if got[0::3] != ["plan.txt"]:
            raise AssertionError(f"keyword search found {got[0::3]}")
        focus_window("^Collection ")
        click([x for x in table if x.getRoleName() == "table cell"][0], double=True)
        key("Down Return")  # "Textual editing"
        view = find(p.app, "text", "plan.txt", timeout=15)
        if "needle at the end" not in text_of(view):
            raise AssertionError("the opened view does not show the file")
        focus_window("^Quillbox$")
        for _ in range(3):
            key("F3")
            time.sleep(0.3)
            if selected_text(view) != "needle":
                raise AssertionError(f"F3 selected '{selected_text(view)}'")
        key("F3")
        answer_alert(p.app, "Found nothing more.")
        p.quit()
    finally:
        p.kill()


HEADER = """//{{NO_DEPENDENCIES}}
// Microsoft Visual C++ generated include file.
#define IDD_ABOUTBOX                    100
#define IDS_USED                        101
#define IDS_UNUSED                      102
#define IDC_OLD_BUTTON                  1000
"""

SCRIPT = """#include "resource.h"
STRINGTABLE
BEGIN
    IDS_USED "Used text"
END
IDD_ABOUTBOX DIALOG 0, 0, 100, 50
BEGIN
    DEFPUSHBUTTON "OK", IDOK, 10, 10, 50, 14
END
"""


def journey_resource_header(root):
    proj = os.path.join(root, "proj")
    os.makedirs(proj)
    header = os.path.join(proj, "resource.h")
    with open(header, "w") as f:
        f.write(HEADER)
    with open(os.path.join(proj, "app.rc"), "w") as f:
        f.write(SCRIPT)
    p = Program(root, [header])
    try:
        view = find(p.app, "text", "resource.h", timeout=15)
        focus_window("^Quillbox$")
        click(find(p.app, "push button", "Find existetn identificators in RC-file"))
        options = find(p.app, "dialog", "Options of rc-file checking")
        box = find(options, "check box", pred=lambda o: "all" in clean(o.name).lower())
        if not box.getState().contains(pyatspi.STATE_CHECKED):
            press(box)
        press(find(options, "push button", "OK"))
        time.sleep(1)
        click(find(p.app, "push button", "Exlude a red color identifers from resource.h"))
        time.sleep(1)
        for alert in [o for o in walk(p.app) if o.getRoleName() == "alert"]:
            press(find(alert, "push button", pred=lambda o: clean(o.name) in ("OK", "Yes")))
        focus_window("^Quillbox$")
        key("ctrl+s")
        time.sleep(1)
        with open(header) as f:
            saved = f.read()
        if "IDS_UNUSED" in saved or "IDC_OLD_BUTTON" in saved or "IDS_USED" not in saved:
            raise AssertionError("saved header:\n" + saved)
        p.quit()
    finally:
        p.kill()


def main():
    failed = 0
    journeys = (journey_describe_and_come_back, journey_keyword_search, journey_resource_header)
    only = sys.argv[3:]
    for journey in journeys:
        if only and journey.__name__ not in only:
            continue
        root = new_root()
        start = time.time()
        try:
            journey(root)
            print(f"PASS {journey.__name__} ({time.time() - start:.1f} s)")
        except Exception as e:
            failed += 1
            print(f"FAIL {journey.__name__}: {e}")
            if shutil.which("import"):
                subprocess.run(["import", "-window", "root", os.path.join(tempfile.gettempdir(), journey.__name__ + ".png")])
            for a in pyatspi.Registry.getDesktop(0):
                if a is not None and a.name == "Quillbox":
                    dump(a)
        finally:
            subprocess.run(["pkill", "-f", "-x", QUILLBOX], check=False)
            shutil.rmtree(root, ignore_errors=True)
        sys.stdout.flush()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
