#!/usr/bin/env python3
"""The program on a virtual X server, met as a person meets it: through a screen reader's
AT-SPI tree, the keyboard alone, the pixels on the screen and the frame a window manager draws;
and on a Wayland compositor (weston), where it finds its own way to the screen.

    desktop_check.py atspi|keyboard|colour|frame|shrink|wayland|wayland_keyboard PROGRAM

Screenshots go to $LAB_SHOT_DIR where it is set.
"""
import glob
import shutil
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


class Processes:
    """A display server and what runs on it, ended in the reverse order of their start."""
    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for proc in reversed(self.procs):
            proc.terminate()
            proc.wait()


class Desktop(Processes):
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
    """The nodes of a role, by AT-SPI's role constant: the names it gives roles differ between
    releases ("push button" is "button" in newer ones)."""
    import pyatspi
    wanted = getattr(pyatspi, "ROLE_" + role.upper().replace(" ", "_"))
    return [n for n in nodes if (n.getRole(), n.name) == (wanted, name) and description in (None, n.description)]


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
    pyatspi.Registry.registerEventListener(lambda e: e.source.getRole() == pyatspi.ROLE_POPUP_MENU and menus.append(e.source),
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

        # The controls in their order, then the charts and the figure groups for their menus.
        focused = lambda: next((n.name for n in tree(program) if "focused" in states(n)), None)
        order = ["Стоп", QUANTITIES[0], "RC-цепочка", "13-элементный код Баркера", QUANTITIES[1], QUANTITIES[2],
                 "Копия сигнала (для сложных сигналов)", "Полезный сигнал", "Сигнал + Шум на входе фильтра",
                 "Сигнал + Шум на выходе фильтра", "Вход", "Выход", "Прямоугольные импульсы"]
        visited = []
        for name in order:
            desktop.key("Tab")
            visited.append(wait_for(lambda: (now := focused()) == name and now, 3) or focused())
        check(visited == order, f"Tab from Start visits {visited}")
        desktop.key("shift+Tab")
        items = menu_items(lambda: desktop.key("Menu"))
        check(items == ["Копировать показатели"], f"the menu key opens the output figures' menu: {items}")
        desktop.key("Escape")
        desktop.key("shift+Tab")
        desktop.key("shift+Tab")
        items = menu_items(lambda: desktop.key("shift+F10"))
        check(items == CHART_MENU, f"Shift+F10 opens the output chart's menu: {items}")
        with tempfile.TemporaryDirectory() as shots:
            desktop.x("import", "-window", "root", os.path.join(shots, "x11-keyboard-chart-menu.png"))
            keep_shot(os.path.join(shots, "x11-keyboard-chart-menu.png"), "x11-keyboard-chart-menu.png")
        desktop.key("Escape")


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


def keep_shot(path, name):
    if os.environ.get("LAB_SHOT_DIR"):
        os.makedirs(os.environ["LAB_SHOT_DIR"], exist_ok=True)
        shutil.copy(path, os.path.join(os.environ["LAB_SHOT_DIR"], name))


def magick(*args):
    return subprocess.run(["convert", *args], capture_output=True, text=True, check=True).stdout.strip()


def box(*mask):
    """Where the white of a black and white image made by these arguments lies: left, top, right,
    bottom (exclusive), None where nowhere. A black border keeps it from being taken as background."""
    geometry = magick(*mask, "-alpha", "off", "-bordercolor", "black", "-border", "1", "-format", "%@", "info:")
    w, h, x, y = map(int, re.match(r"(\d+)x(\d+)\+(\d+)\+(\d+)", geometry).groups())
    return None if w <= 1 and h <= 1 else (x - 1, y - 1, x - 1 + w, y - 1 + h)


def extents_outside(nodes, area):
    """The showing controls whose screen extents do not lie wholly inside area (left, top, right, bottom)."""
    import pyatspi
    extents = [(n, n.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)) for n in nodes
               if n.getState().contains(pyatspi.STATE_SHOWING)]
    return [f"{n.getRoleName()} «{n.name}»" for n, e in extents if e.width > 0 and e.height > 0 and not (
        area[0] <= e.x and area[1] <= e.y and e.x + e.width <= area[2] and e.y + e.height <= area[3])]


def check_shrink(program):
    """A window made smaller than its layout by the window manager, down to below its least size,
    shows its whole content, and grown back it is pixel for pixel the window it started as."""
    with Desktop("1366x768", 30) as desktop, tempfile.TemporaryDirectory() as shots:
        desktop.start(program)
        x, y, w, h = desktop.client()

        def shoot(name, area):
            desktop.x("import", "-window", "root", "-crop", "{2}x{3}+{0}+{1}".format(*area), "+repage",
                      os.path.join(shots, name))
            keep_shot(os.path.join(shots, name), name)
            return os.path.join(shots, name)
        started = shoot("x11-started.png", (x, y, w, h))
        for size in ((820, 600), (560, 420), (w, h)):
            desktop.x("xdotool", "windowsize", desktop.window, *map(str, size))
            time.sleep(2)  # the window system's resizes, then one refresh of the charts
            if size == (w, h):
                break
            cx, cy, cw, ch = desktop.client()
            controls = [n for n in tree(program) if n.getRoleName() not in ("application", "frame", "filler")]
            outside = extents_outside(controls, (cx, cy, cx + cw, cy + ch))
            check(not outside, f"shrunk to {size[0]}x{size[1]}, inside {cw}x{ch}: {len(controls) - len(outside)} of "
                  f"{len(controls)} controls inside" + (f"; outside: {outside}" if outside else ""))
            shoot(f"x11-shrunk-{size[0]}x{size[1]}.png", desktop.outer())
        differ = subprocess.run(["compare", "-metric", "AE", started, shoot("x11-grown.png", (x, y, w, h)), "null:"],
                                capture_output=True, text=True).stderr.strip()
        check(differ == "0", f"grown back to {w}x{h}, it shows the pixels it started with: {differ} differ")


class Weston(Processes):
    """weston with its desktop shell and panel: headless, or on an X server that brings it keys."""

    def __init__(self, size, backend="headless"):
        self.runtime = tempfile.mkdtemp()
        os.chmod(self.runtime, 0o700)
        self.width, self.height = map(int, size.split("x"))
        self.desktop = Desktop(size) if backend == "x11" else None
        # Newer weston names the renderer; the screenshooter needs --debug.
        renderer = "--renderer=pixman" if "--renderer" in self.run("weston", "--help") else "--use-pixman"
        self.procs = [subprocess.Popen(["weston", f"--backend={backend}-backend.so", renderer, f"--width={self.width}",
                                        f"--height={self.height}", "--debug", "--idle-time=0", "--no-config",
                                        "--socket=lab-wayland"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       env=dict(self.desktop.env if self.desktop else os.environ, XDG_RUNTIME_DIR=self.runtime))]
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
        self.env.update(XDG_RUNTIME_DIR=self.runtime, WAYLAND_DISPLAY="lab-wayland", XDG_SESSION_TYPE="wayland",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.empty = self.panel = None
        # Empty once its dark panel lies over a background that is drawn (not black) and stays as it is.
        if not wait_for(lambda: self.settled(lambda now: "#000000" not in magick(
                now, "-crop", f"1x1+0+{self.height - 1}", "-depth", "8", "txt:-")), 30):
            raise SystemExit("weston did not come up")

    def run(self, *command, **options):
        return subprocess.run(command, capture_output=True, text=True, **options).stdout

    def shot(self, name=None):
        where = tempfile.mkdtemp(dir=self.runtime)
        self.run("weston-screenshooter", cwd=where, env=self.env)
        taken = glob.glob(os.path.join(where, "*.png"))
        if taken and name:
            keep_shot(taken[0], name)
        return taken[0] if taken else None

    def below_panel(self, *image):
        return [*image, "-crop", f"{self.width}x{self.height - self.panel}+0+{self.panel}", "+repage"]

    def settled(self, ready):
        """Shoots the screen; true where the shot is ready and below the panel as the one before."""
        last, now = getattr(self, "last", None), self.shot()
        self.last = now
        if self.panel is None and now:
            column = magick(now, "-crop", f"1x100+{self.width // 2}+0", "-depth", "8", "txt:-")
            rows = re.findall(r"#([0-9A-F]{2})([0-9A-F]{2})([0-9A-F]{2})", column)
            self.panel = next((i for i, rgb in enumerate(rows) if max(int(c, 16) for c in rgb) >= 0x50), 0) or None
        if not (last and now and self.panel and ready(now)):
            return False
        signature = lambda image: magick(*self.below_panel(image), "-format", "%#", "info:")
        if signature(last) != signature(now):
            return False
        self.empty = self.empty or now
        return now

    def start(self, program, log):
        """Starts the program; the shot once its window is shown (the screen differs from the empty one)
        and settled."""
        self.procs.append(subprocess.Popen([program], env=dict(self.env, WAYLAND_DEBUG="client"), stderr=log))
        shown = wait_for(lambda: self.settled(lambda now: box(*self.below_panel(self.empty, now), "-compose",
                                                              "difference", "-composite", "-threshold", "0")), 60)
        if not shown:
            raise SystemExit("the window did not appear")
        return shown

    def __exit__(self, *exc):
        super().__exit__(*exc)
        if self.desktop:
            self.desktop.__exit__()
        shutil.rmtree(self.runtime, ignore_errors=True)


def check_window_on_weston(weston, shot, what):
    """The window (what differs from the empty desktop below the panel) lies on the screen with its
    title bar and borders around the sky-blue inside."""
    window = box(*weston.below_panel(weston.empty, shot), "-compose", "difference", "-composite", "-threshold", "0")
    inside = box(*weston.below_panel(shot), "-fill", "black", "+opaque", "#A6CAF0", "-fill", "white", "-opaque", "#A6CAF0")
    if not window or not inside:
        check(False, f"{what}: no window on the screen")
        return
    top = weston.panel
    window, inside = [(b[0], b[1] + top, b[2], b[3] + top) for b in (window, inside)]
    check(inside[1] - window[1] >= 20 and inside[0] > window[0] and inside[2] < window[2] and inside[3] < window[3],
          f"{what}: the window {window} with its title bar and borders lies on the screen below the {top}-pixel "
          f"panel, {weston.height - window[3]} pixels to spare at the bottom; its inside {inside}")


def check_wayland(program):
    desktop_file = os.path.basename(glob.glob(os.path.join(os.path.dirname(__file__), "..", "..", "src", "ui", "*.desktop"))[0])
    for size in ("1366x768", "1920x1080"):
        with Weston(size) as weston, tempfile.TemporaryFile("w+") as log:
            shot = weston.start(program, log)
            keep_shot(shot, f"wayland-{size}.png")
            check_window_on_weston(weston, shot, f"weston {size}")
            log.seek(0)
            ids = set(re.findall(r'set_app_id\("([^"]*)"\)', log.read()))
            check(ids == {desktop_file.removesuffix(".desktop")}, f"weston {size}: app id {ids}, desktop entry {desktop_file}")


def check_wayland_keyboard(program):
    with Weston("1366x768", "x11") as weston, tempfile.TemporaryFile("w+") as log:
        weston.start(program, log)
        screen = weston.desktop.x("xdotool", "search", "--class", "Weston").split()[0]
        weston.desktop.x("xdotool", "windowfocus", "--sync", screen)
        weston.desktop.window = screen

        def tab_to(target):
            return wait_for(lambda: any(n.name == target and "focused" in states(n) for n in tree(program))
                            or weston.desktop.key("Tab"), 10)
        check(tab_to("Старт"), "weston: Tab reaches Start")
        weston.desktop.key("Return")
        peak = lambda: text_of(find(tree(program), "label", "Пиковое значение сигнала", "Вход")[0])
        check(wait_for(lambda: peak() not in ("0", None), 5), f"weston: Enter starts a run: the input peak reads «{peak()}»")
        time.sleep(1)
        shot = weston.shot("wayland-keyboard-run.png")
        check_window_on_weston(weston, shot, "weston 1366x768 during the run")


if __name__ == "__main__":
    what, program = sys.argv[1], os.path.abspath(sys.argv[2])
    if not os.environ.get("LAB_CHECK_HOME"):
        # The check, its desktop and the program keep what they write in a home of the check's
        # own, gone when it ends.
        with tempfile.TemporaryDirectory(prefix="lab-desktop-") as home:
            env = dict(os.environ, LAB_CHECK_HOME=home, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                       XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_DATA_HOME=os.path.join(home, ".local/share"))
            sys.exit(subprocess.run([sys.executable, *sys.argv], env=env).returncode)
    if what in ("atspi", "keyboard", "shrink", "wayland_keyboard") and not os.environ.get("LAB_ON_SESSION_BUS"):
        os.environ["LAB_ON_SESSION_BUS"] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    {"atspi": check_atspi, "keyboard": check_keyboard, "colour": check_colour, "frame": check_frame,
     "shrink": check_shrink, "wayland": check_wayland, "wayland_keyboard": check_wayland_keyboard}[what](program)
    sys.exit(1 if FAILURES else 0)
