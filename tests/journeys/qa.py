# Small AT-SPI helpers for driving Quillbox.
import os, subprocess, sys, time
import pyatspi

def clean(name):
    return (name or "").split("\t")[0].replace("&", "").strip()

def walk(o, depth=0, maxdepth=30):
    yield o
    if depth >= maxdepth: return
    try:
        for c in o:
            if c is not None:
                yield from walk(c, depth + 1, maxdepth)
    except Exception:
        return

def find(root, role=None, name=None, timeout=10.0, pred=None):
    end = time.time() + timeout
    while True:
        for o in walk(root):
            try:
                if role and o.getRoleName() != role: continue
                if name is not None and clean(o.name) != name: continue
                if pred and not pred(o): continue
                return o
            except Exception:
                continue
        if time.time() > end:
            raise TimeoutError(f"no {role} '{name}'")
        time.sleep(0.2)

def dump(o, depth=0, out=sys.stdout):
    try:
        print("  " * depth + f"{o.getRoleName()} '{o.name}' desc='{o.description}'", file=out)
        for c in o: dump(c, depth + 1, out)
    except Exception as e:
        print("  " * depth + f"err {e}", file=out)

def press(o):
    a = o.queryAction()
    for i in range(a.nActions):
        if a.getName(i) in ("press", "click", "Press", "activate", "Toggle", "toggle"):
            a.doAction(i); return
    a.doAction(0)

def set_text(o, text):
    o.queryEditableText().setTextContents(text)

def text_of(o):
    t = o.queryText()
    return t.getText(0, -1)

def start(binary, env_extra):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", ASAN_OPTIONS="detect_leaks=0", **env_extra)
    p = subprocess.Popen([binary], env=env)
    end = time.time() + 30
    while time.time() < end:
        time.sleep(0.3)
        for a in pyatspi.Registry.getDesktop(0):
            try:
                if a is not None and a.name == "Quillbox" and a.get_process_id() == p.pid:
                    return p, a
            except Exception:
                pass
    p.kill()
    raise TimeoutError("Quillbox did not appear on the accessibility bus")

def key(keys):
    subprocess.run(["xdotool", "key", "--delay", "60"] + keys.split(), check=True)

def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)
