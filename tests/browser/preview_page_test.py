#!/usr/bin/env python3
"""The preview page in headless Chromium, driven as a person would: a click on the screen image flips
the "Enabled" switch and brings the respring alert, "Not Now" on the image answers it, a drag scrolls
the list, the appearance menu turns the device dark, and a row added to the pane's list on disk shows
within two seconds. On the SpringBoard tab, Launch and Unlock bring the follow alert, and its name
cloud brings at least 60 frames in two seconds (--least-cloud-frames; fewer in a sanitizer build).

Exits 77 (counted as skipped) when Chromium, its driver or Selenium is missing."""

import argparse
import json
import os
import plistlib
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
BUNDLE = "Library/PreferenceBundles/CorvaleSettings.bundle"


def missing_tools():
    missing = [name for name in ("chromium", "chromedriver") if not shutil.which(name)]
    try:
        import selenium  # noqa: F401
    except ImportError:
        missing.append("python3-selenium")
    return missing


def wait_for(description, condition, limit=5.0):
    deadline = time.monotonic() + limit
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (limit, description))
        time.sleep(0.05)


class PreviewPage:
    def __init__(self, driver):
        from selenium.webdriver.common.by import By
        self.driver, self.by = driver, By

    def element(self, identifier):
        return self.driver.find_element(self.by.ID, identifier)

    def dump(self):
        try:
            return json.loads(self.element("dump").text)
        except ValueError:
            return None

    def row(self, label):
        dump = self.dump() or {}
        for section in dump.get("sections", []):
            for row in section["rows"]:
                if row["label"] == label:
                    return row
        return None

    def screen_points(self):
        width, height = self.driver.execute_script("return state.device.screen").split("x")
        return float(width), float(height)

    def click_screen(self, x, y):
        """Clicks the screen image at a point in screen points."""
        from selenium.webdriver.common.action_chains import ActionChains
        image = self.element("screen")
        width, height = self.screen_points()
        rect = image.rect
        offset_x = x * rect["width"] / width - rect["width"] / 2
        offset_y = y * rect["height"] / height - rect["height"] / 2
        ActionChains(self.driver).move_to_element_with_offset(image, offset_x, offset_y).click().perform()

    def frames_loaded(self):
        return self.driver.execute_script("return window.framesShown || 0")

    def brightness_at(self, x, y):
        """The mean of red, green and blue of the screen image's pixel at a point, as the browser
        decoded the frame it shows."""
        width, _ = self.screen_points()
        return self.driver.execute_script("""
            const image = document.getElementById("screen");
            const canvas = document.createElement("canvas");
            canvas.width = image.naturalWidth;
            canvas.height = image.naturalHeight;
            const context = canvas.getContext("2d");
            context.drawImage(image, 0, 0);
            const scale = image.naturalWidth / arguments[2];
            const pixel = context.getImageData(Math.floor(arguments[0] * scale),
                                               Math.floor(arguments[1] * scale), 1, 1).data;
            return (pixel[0] + pixel[1] + pixel[2]) / 3;""", x, y, width)


def install_pane(cmake, build_dir, root):
    for component in ("CorvaleSettings", "libmerrow"):
        subprocess.run([cmake, "--install", build_dir, "--component", component, "--prefix", root],
                       check=True, stdout=subprocess.DEVNULL)


def start_preview(executable, root):
    preview = subprocess.Popen([executable, "--device-root", root, "--port", "0", "--scale", "2",
                                "--installed-schemes", "twitter"],
                               stdout=subprocess.PIPE, text=True)
    line = preview.stdout.readline().strip()
    match = re.fullmatch(r"listening on (http://127\.0\.0\.1:\d+/\?token=[0-9a-f]{32})", line)
    if not match:
        preview.kill()
        raise AssertionError("corvale-preview printed %r" % line)
    return preview, match.group(1)


def start_browser():
    from selenium import webdriver
    from selenium.webdriver.chrome.options import Options
    from selenium.webdriver.chrome.service import Service
    options = Options()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--window-size=1400,950"):
        options.add_argument(argument)
    options.binary_location = shutil.which("chromium")
    return webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)


def run_scenario(page, root):
    wait_for("the live stream", lambda: page.element("connection").text == "live")
    enabled = wait_for("the Enabled row in the panel's JSON", lambda: page.row("Enabled"))
    assert enabled["control"]["value"] is True, enabled
    frames_before = wait_for("a first frame", page.frames_loaded)

    # The alert dims the screen around its card: a point of the list near the bottom darkens.
    _, screen_height = page.screen_points()
    outside_card = (20, screen_height - 60)
    undimmed = page.brightness_at(*outside_card)
    x, y, width, height = enabled["control"]["frame"]
    page.click_screen(x + width / 2, y + height / 2)
    alert = wait_for("the respring alert in the JSON", lambda: (page.dump() or {}).get("alert"))
    assert alert["title"] == "Respring Required", alert
    assert page.row("Enabled")["control"]["value"] is False
    wait_for("the frame after the tap", lambda: page.frames_loaded() > frames_before)
    wait_for("the alert's dimming in the frame (%.0f before)" % undimmed,
             lambda: page.brightness_at(*outside_card) < undimmed - 40, limit=2.0)

    # On a 390x844 screen the alert's two buttons share the row whose middle is at y 477.
    page.click_screen(262, 477)
    wait_for("the alert to go", lambda: (page.dump() or {}).get("alert", 1) is None)

    # A drag up on the list scrolls it, as a finger would.
    from selenium.webdriver.common.action_chains import ActionChains
    image = page.element("screen")
    offset_before = page.dump()["page"]["contentOffset"]
    ActionChains(page.driver).move_to_element(image).click_and_hold().move_by_offset(0, -40) \
        .move_by_offset(0, -40).release().perform()
    wait_for("the list to scroll", lambda: page.dump()["page"]["contentOffset"] > offset_before + 40)

    from selenium.webdriver.support.ui import Select
    Select(page.element("appearance")).select_by_visible_text("dark")
    wait_for("the dark device", lambda: page.driver.execute_script("return state.device.appearance") == "dark")
    light_header = [0.2, 0.45, 0.9, 1.0]
    wait_for("dark theme colours in the JSON",
             lambda: (page.dump() or {}).get("theme", {}).get("headerColour") not in (None, light_header))

    list_path = os.path.join(root, BUNDLE, "Corvale.plist")
    with open(list_path, "rb") as file:
        pane_list = plistlib.load(file)
    pane_list["items"].insert(1, {"cell": "PSSwitchCell", "label": "Freshly Added", "key": "freshlyAdded",
                                  "defaults": "dev.orlan.ios.tweak.corvale"})
    with open(list_path + ".new", "wb") as file:
        plistlib.dump(pane_list, file)
    os.replace(list_path + ".new", list_path)
    wait_for("the new row on the page", lambda: page.row("Freshly Added"), limit=2.0)


def run_springboard_scenario(page, least_cloud_frames):
    page.element("tabSpringBoard").click()
    wait_for("the SpringBoard tab", lambda: page.element("sbLaunch").is_displayed()
             and page.driver.execute_script("return state.tab") == "springboard")
    wait_for("SpringBoard's dump", lambda: "libmerrow.so" in ((page.dump() or {}).get("libraries") or []))
    page.element("sbLaunch").click()
    wait_for("the manifest", lambda: (page.dump() or {}).get("manifestHeld") is True)
    page.element("sbUnlock").click()
    alert = wait_for("the follow alert in the JSON", lambda: (page.dump() or {}).get("alert"))
    assert alert["class"] == "ZRMerrowAlertController", alert
    start = page.frames_loaded()
    time.sleep(2)
    frames = page.frames_loaded() - start
    print("frames received in 2 s of the name cloud: %d" % frames)
    assert frames >= least_cloud_frames, "only %d frames in 2 s while the name cloud moves" % frames
    page.element("tabSettings").click()
    wait_for("the Settings tab again", lambda: page.row("Enabled"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--preview", required=True)
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--least-cloud-frames", type=int, default=60,
                        help="frames the page must receive in two seconds of the name cloud")
    arguments = parser.parse_args()
    missing = missing_tools()
    if missing:
        print("SKIPPED: the preview's browser test needs %s (scripts/install-deps installs them)"
              % ", ".join(missing))
        return SKIPPED
    root = tempfile.mkdtemp(prefix="corvale-preview-browser-")
    preview = driver = None
    try:
        install_pane(arguments.cmake, arguments.build_dir, root)
        preview, url = start_preview(arguments.preview, root)
        driver = start_browser()
        driver.get(url)
        page = PreviewPage(driver)
        run_scenario(page, root)
        run_springboard_scenario(page, arguments.least_cloud_frames)
        print("2 passed, 0 failed")
        return 0
    except AssertionError as failure:
        print("FAILED: %s" % failure)
        print("0 passed, 1 failed")
        return 1
    finally:
        if driver:
            driver.quit()
        if preview:
            preview.terminate()
            preview.wait(timeout=10)
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
