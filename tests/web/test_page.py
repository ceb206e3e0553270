#!/usr/bin/env python3
"""The page in a real headless Chromium, driven as a screen reader would find its controls: by
their accessible names. The Barker code through the matched filter must give the desktop's
figures, and a bad noise text during a run its message in a modal box while the page goes on.

test_page.py PAGE_DIR LAB_FIGURES SHOT.png"""
import functools
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

PASSES = 5000
page_dir, lab_figures, shot = sys.argv[1:4]
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)


def wait_for(condition, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    return condition()


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=page_dir))
threading.Thread(target=server.serve_forever, daemon=True).start()
# Chromium and its driver keep everything in a home of this check's own, gone when it ends.
home = tempfile.TemporaryDirectory(prefix="lab-chromium-")
for variable, folder in (("HOME", ""), ("XDG_CONFIG_HOME", ".config"), ("XDG_CACHE_HOME", ".cache")):
    os.environ[variable] = os.path.join(home.name, folder)
profile = os.path.join(home.name, "profile")
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync", "--lang=en-US",
             "--window-size=1366,768", f"--user-data-dir={profile}"):
    options.add_argument(flag)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    def named(name, role=None):
        """The one element whose accessible name is name (and role, where given)."""
        found = [e for e in driver.find_elements(By.CSS_SELECTOR, "input, button, output, canvas, [role]")
                 if e.accessible_name == name and (role is None or e.aria_role == role)]
        if len(found) != 1:
            raise AssertionError(f"{len(found)} elements named «{name}»" + (f" ({role})" if role else ""))
        return found[0]

    driver.get(f"http://127.0.0.1:{server.server_address[1]}/index.html?passes={PASSES}")
    check(wait_for(lambda: driver.execute_script("return document.getElementById('Form1').dataset.ready")),
          "the page starts")
    check(driver.title == "Оптимальная фильтрация сигналов", "the page's title is the window's caption")

    names = ["Прямоугольные импульсы", "13-элементный код Баркера", "Согласованный фильтр", "RC-цепочка",
             "Старт", "Стоп", "Постоянная времени RC-цепочки (мкс)", "СКО шума (В)",
             "Временной сдвиг копии сигнала (мкс)", "Копия сигнала (для сложных сигналов)",
             "Полезный сигнал", "Сигнал + Шум на входе фильтра", "Сигнал + Шум на выходе фильтра",
             "Вход: С/Ш", "Выход: С/Ш", "Выход: Выигрыш в С/Ш", "Выигрыш в С/Ш"]
    for n in names:
        try:
            named(n)
            check(True, f"found by its name: «{n}»")
        except AssertionError as e:
            check(False, str(e))
    boxes = driver.find_elements(By.CSS_SELECTOR, "output")
    check([b.accessible_name for b in boxes] == ["Пиковое значение сигнала", "СКО шума", "С/Ш"] * 2 + ["Выигрыш в С/Ш"],
          "every figure box is named by its caption")
    check(all(g.get_attribute("aria-live") == "polite" for g in driver.find_elements(By.CSS_SELECTOR, "section")),
          "the figure groups are live regions")

    # Tab visits the controls in the window's order; only a group's selected item, or its first
    # while it has none, takes the focus.
    named("Прямоугольные импульсы").click()
    visited = []
    for _ in range(13):
        driver.switch_to.active_element.send_keys("\ue004")
        visited.append(driver.switch_to.active_element.accessible_name)
    check(visited == ["Старт", "Стоп", "Постоянная времени RC-цепочки (мкс)", "RC-цепочка", "ЛЧМ-импульсы",
                      "СКО шума (В)", "Временной сдвиг копии сигнала (мкс)", "Копия сигнала (для сложных сигналов)",
                      "Полезный сигнал", "Сигнал + Шум на входе фильтра", "Сигнал + Шум на выходе фильтра",
                      "Вход", "Выход"],
          f"Tab visits the controls in the window's order, then the charts and the figure groups: {visited}")

    named("13-элементный код Баркера").click()
    named("Согласованный фильтр").click()
    named("Старт").click()
    expected = subprocess.run([lab_figures, str(PASSES)], capture_output=True, text=True, check=True).stdout.split()
    texts = lambda: [b.text for b in boxes]
    wait_for(lambda: texts() == expected, 30)
    check(texts() == expected, f"the Barker code through the matched filter shows the desktop's figures {expected}: {texts()}")
    check(not named("Прямоугольные импульсы").is_selected(), "the simple signals lost their selection")

    # Each chart's menu, by the mouse's right button, offers the desktop's four actions.
    ActionChains(driver).context_click(named("Сигнал + Шум на выходе фильтра")).perform()
    items = [e.accessible_name for e in driver.find_elements(By.CSS_SELECTOR, "#ChartMenu [role=menuitem]") if e.is_displayed()]
    check(items == ["Копировать рисунок", "Сохранить рисунок…", "Сохранить данные…", "Копировать данные"],
          f"the chart's menu offers its four actions: {items}")
    driver.switch_to.active_element.send_keys("\ue00c")  # Escape
    # From the keyboard alone: Shift+F10 on a figure group opens its menu.
    driver.find_element(By.ID, "GroupBox2").send_keys(Keys.SHIFT, Keys.F10)
    items = [e.accessible_name for e in driver.find_elements(By.CSS_SELECTOR, "#FiguresMenu [role=menuitem]") if e.is_displayed()]
    check(items == ["Копировать показатели"] and driver.switch_to.active_element.accessible_name == items[0],
          f"Shift+F10 on a figure group opens its menu, its item focused: {items}")
    driver.switch_to.active_element.send_keys("\ue00c")
    check(driver.switch_to.active_element.get_attribute("id") == "GroupBox2", "Escape gives the focus back to the group")

    # A bad noise text during a run: its message in a modal box, then the pass's own, then the
    # run holds until the text is mended and Start pressed again.
    driver.execute_script("window.labPage.setPassLimit(1e15)")
    noise = named("СКО шума (В)")
    driver.execute_script("arguments[0].select()", noise)
    noise.send_keys("x")
    box = driver.find_element(By.ID, "ErrorBox")
    shown = lambda n: box.get_attribute("data-shown") == str(n) and box.get_attribute("open") is not None
    check(wait_for(lambda: shown(1), 5), "a modal box opens")
    check(box.find_element(By.ID, "ErrorBoxText").text == "'x' is not a valid floating point value.",
          "it shows the conversion message")
    driver.save_screenshot(shot)
    named("OK").click()
    check(wait_for(lambda: shown(2), 5), "the next pass reports the same text")
    check(box.find_element(By.ID, "ErrorBoxText").text == "'x' is not a valid floating point value.",
          "with the same message")
    named("OK").click()
    noise = named("СКО шума (В)")
    driver.execute_script("arguments[0].select()", noise)
    noise.send_keys("1")
    before = driver.execute_script("return window.labPage.passesMade()")
    named("Старт").click()
    check(wait_for(lambda: driver.execute_script("return window.labPage.passesMade()") > before + 1000, 10),
          "Start after the mended text runs on")
    check(box.get_attribute("open") is None, "no box is left open")

    # The same page from its file, as a double click opens it.
    driver.get("file://" + os.path.abspath(os.path.join(page_dir, "index.html")))
    check(wait_for(lambda: driver.execute_script("return document.getElementById('Form1').dataset.ready")),
          "the page starts from its file")
finally:
    driver.quit()
    server.shutdown()
    home.cleanup()

print(f"{len(failures) == 0 and 'passed' or 'FAILED'}: {len(failures)} failure(s)")
sys.exit(1 if failures else 0)
