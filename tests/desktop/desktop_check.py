#!/usr/bin/env python3
"""The program on a virtual X server, met as a person meets it: through a screen reader's
AT-SPI tree, the keyboard alone, the pixels on the screen and the frame a window manager draws.

    desktop_check.py atspi|keyboard|colour|frame PROGRAM
"""
import os
import re
import subprocess
import sys
import tempfile
import time

CAPTION = "Оптимальная фильтрация сигналов"
FAILURES = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    FAILURES.extend([] if ok else [what])


def wait_for(probe, seconds):
    end = time.monotonic() + seconds
    while not (value := probe()) and time.monotonic() < end:
        time.sleep(0.2)
    return value


class Desktop:
    """Xvfb of the given size; with a panel height, openbox too, keeping that strip free."""

    def __init__(self, size="1920x1080", panel=None):
        read, write = os.pipe()
        self.procs = [subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", size + "x24", "-nolisten", "tcp"],
                                       pass_fds=[write], stderr=subprocess.DEVNULL)]
        os.close(write)
        with os.fdopen(read) as f:
            self.env = dict(os.environ, DISPLAY=":" + f.readline().strip(), QT_QPA_PLATFORM="xcb",
                            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        if panel is not None:
            self.rc = tempfile.NamedTemporaryFile("w", suffix=".xml")
            self.rc.write('<openbox_config xmlns="http://openbox.org/3.4/rc"><margins><top>0</top><left>0</left>'
                          f'<right>0</right><bottom>{panel}</bottom></margins></openbox_config>')
            self.rc.flush()
            self.procs.append(subprocess.Popen(["openbox", "--config-file", self.rc.name], env=self.env,
                                               stderr=subprocess.DEVNULL))
            wait_for(lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 10)

    def x(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True).stdout

    def start(self, program, **env):
        self.procs.append(subprocess.Popen([program], env=dict(self.env, **env), stderr=subprocess.DEVNULL))
        window = wait_for(lambda: self.x("xdotool", "search", "--onlyvisible", "--name", CAPTION).split(), 60)
        if not window:
            raise SystemExit("the window did not appear")
        self.window, last = window[0], None
        while (now := self.outer()) != last:  # decorated, then fitted by the window itself: let it settle
            last = now
            time.sleep(0.5)
        return self.procs[-1]

    def client(self):
        info = self.x("xwininfo", "-id", self.window)
        return [int(re.search(f + r":\s+(-?\d+)", info).group(1)) for f in ("upper-left X", "upper-left Y", "Width", "Height")]

    def outer(self):
        x, y, w, h = self.client()
        l, r, t, b = (list(map(int, re.findall(r"\d+", self.x("xprop", "-id", self.window, "_NET_FRAME_EXTENTS").partition("=")[2])))
                      + [0] * 4)[:4]
        return x - l, y - t, w + l + r, h + t + b

    def key(self, key):
        self.x("xdotool", "key", "--clearmodifiers", key)
        time.sleep(0.3)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for proc in reversed(self.procs):
            proc.terminate()
            proc.wait()


def tree(program):
    import pyatspi
    name = os.path.basename(program)
    nodes = [wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == name), None), 20)]
    for node in nodes:
        nodes.extend(node)
    return nodes


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def actions_of(node):
    try:
        return [node.queryAction().getName(i) for i in range(node.queryAction().nActions)]
    except NotImplementedError:
        return []


def find(nodes, role, name, description=None):
    return [n for n in nodes if (n.getRoleName(), n.name) == (role, name) and description in (None, n.description)]


def states(node):
    import pyatspi
    return {s for s, v in (("focused", pyatspi.STATE_FOCUSED), ("checked", pyatspi.STATE_CHECKED)) if node.getState().contains(v)}


def press(node):
    node.queryAction().doAction(actions_of(node).index("Press"))


def listen(seconds):
    """Runs the AT-SPI event loop for a while: the (name, description, text) of each text insertion."""
    import pyatspi
    from gi.repository import GLib
    heard = []
    pyatspi.Registry.registerEventListener(lambda e: heard.append((e.source.name, e.source.description, e.any_data)),
                                           "object:text-changed:insert")
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    pyatspi.Registry.start()
    return heard


def menu_items(open_menu):
    """Opens a menu; the names of its items, as a screen reader learns of them when it shows."""
    import pyatspi
    from gi.repository import GLib
    menus = []
    pyatspi.Registry.registerEventListener(lambda e: e.source.getRoleName() == "popup menu" and menus.append(e.source),
                                           "object:state-changed:showing")
    GLib.timeout_add(100, lambda: open_menu() and False)
    GLib.timeout_add(2000, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    return [item.name for item in menus[-1]] if menus else []


QUANTITIES = ("Постоянная времени RC-цепочки (мкс)", "СКО шума (В)", "Временной сдвиг копии сигнала (мкс)")
FIGURES = [("Вход", c) for c in ("Пиковое значение сигнала", "СКО шума", "С/Ш")] + \
          [("Выход", c) for c in ("Пиковое значение сигнала", "СКО шума", "С/Ш", "Выигрыш в С/Ш")]
CHART_MENU = ["Копировать рисунок", "Сохранить рисунок…", "Сохранить данные…", "Копировать данные"]
# role, name, description (None: any but none or the name), actions (None: any), text before and
# after a run (None: no text; "#": a new figure)
CONTROLS = (
    [("frame", CAPTION, "", [], None, None), ("push button", "Старт", "", ["Press", "SetFocus"], None, None),
     ("push button", "Стоп", "", ["Press", "SetFocus"], None, None),
     ("check box", "Копия сигнала (для сложных сигналов)", "", None, None, None),
     ("radio button", "13-элементный код Баркера", "", None, None, None),
     ("text", QUANTITIES[0], "", None, "5", "5"), ("text", QUANTITIES[2], "", None, "0", "0")]
    + [("progress bar", name, None, [], None, None) for name in ("Вход: С/Ш", "Выход: С/Ш", "Выход: Выигрыш в С/Ш")]
    + [("chart", title, None, ["ShowMenu"], None, None)
       for title in ("Полезный сигнал", "Сигнал + Шум на входе фильтра", "Сигнал + Шум на выходе фильтра")]
    + [("push button", arrow + ": " + q, "", ["Press"], None, None) for q in QUANTITIES for arrow in ("больше", "меньше")]
    + [("label", caption, group, [], "0", "#") for group, caption in FIGURES])


def check_atspi(program):
    with Desktop() as desktop:
        desktop.start(program)
        nodes = tree(program)
        before = {n: text_of(n) for n in nodes}
        listen(0.1)  # the listener is in place before the run
        press(find(nodes, "push button", "Старт")[0])
        heard = listen(2.5)
        chart = find(nodes, "chart", "Сигнал + Шум на выходе фильтра")[0]
        items = menu_items(lambda: chart.queryAction().doAction(actions_of(chart).index("ShowMenu")))
        check(items == CHART_MENU, f"the output chart's menu, opened during the run: {items}")
        desktop.key("Escape")
        press(find(nodes, "push button", "Стоп")[0])
        for role, name, description, actions, text0, text1 in CONTROLS:
            found = [n for n in find(nodes, role, name) if n.description == description or
                     description is None and n.description not in ("", name)]
            what = f"{role} «{name}»" + (f" in «{description}»" if description else "")
            if len(found) != 1:
                check(False, f"{what}{'' if description is not None else ', described'}: {len(found)} found")
                continue
            node, faults = found[0], []
            if actions is not None and actions_of(node) != actions:
                faults.append(f"actions {actions_of(node)}")
            t0, t1 = before[node], text_of(node)
            if (t0, t1) != (text0, text1) and not (text1 == "#" and t0 == text0 and re.match(r"^(INF|[\d.,E-]+)$", t1 or "") and t1 != t0):
                faults.append(f"reads «{t0}» before the run, «{t1}» after it")
            if text1 == "#" and (name, description, t1) not in heard:
                faults.append("its new figure is not announced")
            check(not faults, what + (": " + "; ".join(faults) if faults else f" reads «{t1}»" if t1 else ""))


def check_keyboard(program):
    with Desktop(panel=0) as desktop:
        desktop.start(program)
        desktop.x("xdotool", "windowactivate", "--sync", desktop.window)

        def tab_to(target):
            return wait_for(lambda: any(n.name == target and "focused" in states(n) for n in tree(program)) or desktop.key("Tab"), 10)
        check(tab_to("ЛЧМ-импульсы"), "Tab reaches the complex signals at their first item")
        check("checked" not in states(find(tree(program), "radio button", "ЛЧМ-импульсы")[0]), "without selecting it")
        desktop.key("Down")
        nodes = tree(program)
        check(states(find(nodes, "radio button", "13-элементный код Баркера")[0]) == {"focused", "checked"},
              "Down selects the Barker code")
        check("checked" not in states(find(nodes, "radio button", "Прямоугольные импульсы")[0]), "the simple signal is off")
        check(tab_to("Старт"), "Tab reaches Start")
        desktop.key("Return")
        peak = lambda: text_of(find(tree(program), "label", "Пиковое значение сигнала", "Вход")[0])
        check(wait_for(lambda: peak() not in ("0", None), 5), f"Enter starts a run: the input peak reads «{peak()}»")


def check_colour(program):
    with Desktop(panel=0) as desktop:
        desktop.start(program)
        left, top, _, _ = desktop.client()
        # The right end of the check box, past its text, where it lies across the charts' edge.
        column = desktop.x("import", "-window", "root", "-crop", f"1x18+{left + 383}+{top + 246}", "-depth", "8", "txt:-")
        colours = set(re.findall(r"#[0-9A-F]{6}", column))
        check(colours == {"#A6CAF0"}, f"the check box's background is the window's sky blue: {sorted(colours)}")


def check_frame(program):
    for size, panel, factors in (("1920x1080", 0, "1 1.25 1.5 2"), ("1920x1080", 30, "1 1.25 1.5 2"), ("1366x768", 30, "1")):
        with Desktop(size, panel) as desktop:
            width, height = map(int, size.split("x"))
            for factor in factors.split():
                proc = desktop.start(program, QT_SCALE_FACTOR=factor)
                l, t, w, h = desktop.outer()
                check(l >= 0 and t >= 0 and l + w <= width and t + h <= height - panel,
                      f"{size}, panel {panel}, scale {factor}: frame {w}x{h}+{l}+{t}")
                proc.terminate()
                proc.wait()


if __name__ == "__main__":
    what, program = sys.argv[1], os.path.abspath(sys.argv[2])
    if what in ("atspi", "keyboard") and not os.environ.get("LAB_ON_SESSION_BUS"):
        os.environ["LAB_ON_SESSION_BUS"] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    {"atspi": check_atspi, "keyboard": check_keyboard, "colour": check_colour, "frame": check_frame}[what](program)
    sys.exit(1 if FAILURES else 0)
