#!/usr/bin/env python3
"""The page's passes per second in headless Chromium, every signal with both filters, counted
over the page's own run: its slices between the browser's tasks, the refresh every 500 ms and the
charts' drawing included. The page needs at least 100 000 in every mode.

bench_page.py PAGE_DIR [SECONDS]"""
import os
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

page = os.path.abspath(sys.argv[1])
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 3
# Chromium keeps everything in a home of the run's own, gone when it ends.
home = tempfile.TemporaryDirectory(prefix="lab-bench-")
for variable, folder in (("HOME", ""), ("XDG_CONFIG_HOME", ".config"), ("XDG_CACHE_HOME", ".cache")):
    os.environ[variable] = os.path.join(home.name, folder)
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--window-size=1366,768",
             f"--user-data-dir={os.path.join(home.name, 'profile')}"):
    options.add_argument(flag)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
signals = [("RadioGroup1", i, name) for i, name in enumerate(["rectangle", "ramp up", "ramp down", "triangle"])]
signals += [("RadioGroup3", 0, "LFM"), ("RadioGroup3", 1, "Barker")]
slowest = None
try:
    for filter_index, filter_name in ((0, "RC"), (1, "matched")):
        for group, item, name in signals:
            driver.get(f"file://{page}/index.html")
            while driver.execute_script("return document.getElementById('Form1').dataset.ready") != "true":
                time.sleep(0.05)
            driver.execute_script(f"""
                document.querySelectorAll('#{group} input')[{item}].click();
                document.querySelectorAll('#RadioGroup2 input')[{filter_index}].click();
                document.getElementById('Button1').click();""")
            time.sleep(0.5)
            start, t0 = driver.execute_script("return [window.labPage.passesMade(), performance.now()]")
            time.sleep(seconds)
            end, t1 = driver.execute_script("return [window.labPage.passesMade(), performance.now()]")
            rate = (end - start) / ((t1 - t0) / 1000)
            slowest = rate if slowest is None else min(slowest, rate)
            print(f"{filter_name:8} {name:10} {rate:12,.0f} passes/s")
finally:
    driver.quit()
    home.cleanup()
print(f"slowest: {slowest:,.0f} passes/s (needed: 100,000)")
