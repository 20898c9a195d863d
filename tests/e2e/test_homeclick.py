"""End to end: the real homeclick.exe under Wine, driven with the real X keyboard
and mouse (xdotool), its clicks counted by tests/e2e/click_counter.cpp.

Run by CTest with --session (a wine-session folder), --homeclick and --counter.
"""
import argparse
import subprocess
import sys
import time
import unittest

import desktop

ARGS = None
HOME_PRESS_SETTLE = 0.3  # time for a key to travel X -> Wine -> WM_HOTKEY


class Homeclick:
    def __init__(self, env, arguments=()):
        self.process = subprocess.Popen([env["WINE"], ARGS.homeclick, *arguments], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = None
        deadline = time.monotonic() + 300
        while time.monotonic() < deadline and not self.window:
            ids = xdotool("search", "--onlyvisible", "--pid", str(self.process.pid), "--name", "home键",
                          check=False).split()
            if not ids:
                # Wine's X windows do not carry the Unix pid: take the newest one.
                ids = [i for i in xdotool("search", "--onlyvisible", "--name", "home键", check=False).split()
                       if i not in Homeclick.known_windows]
            if ids:
                self.window = ids[-1]
                Homeclick.known_windows.add(self.window)
            else:
                time.sleep(0.2)
        assert self.window, "homeclick's window did not appear"
        geometry = dict(line.split("=") for line in
                        xdotool("getwindowgeometry", "--shell", self.window).split())
        self.x, self.y = int(geometry["X"]), int(geometry["Y"])
        self.width, self.height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
        self.windows_pid = None

    known_windows = set()

    def wait(self, timeout=60):
        return self.process.wait(timeout=timeout)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


ENV = None


def xdotool(*arguments, check=True):
    return desktop.xdotool(ENV, *arguments, check=check)


class DesktopTestCase(unittest.TestCase):
    """What a user does and what is observed; the tests are in subclasses."""
    counter = None

    @classmethod
    def setUpClass(cls):
        cls.counter = desktop.Counter(ENV, ARGS.counter)

    @classmethod
    def tearDownClass(cls):
        cls.counter.close()

    def setUp(self):
        self.started = []

    def tearDown(self):
        for program in self.started:
            program.kill()
        self.counter.ask("uncover")
        self.pointer_to_counter()
        time.sleep(0.2)

    # --- what a user does -------------------------------------------------
    def homeclick_pids(self):
        return set(map(int, self.counter.ask("list").split()[1:]))

    def start(self, *arguments):
        before = self.homeclick_pids()
        program = Homeclick(ENV, arguments)
        self.started.append(program)
        deadline = time.monotonic() + 60
        while program.windows_pid is None and time.monotonic() < deadline:
            new = self.homeclick_pids() - before
            if new:
                program.windows_pid = new.pop()
            else:
                time.sleep(0.1)
        self.assertIsNotNone(program.windows_pid, "no new homeclick window")
        time.sleep(0.5)
        return program

    def pointer_to(self, x, y):
        # Not --sync: it waits for a motion that never comes when the pointer
        # is already there.
        xdotool("mousemove", str(x), str(y))
        time.sleep(0.05)

    def pointer_to_counter(self):
        self.pointer_to(*self.counter.centre)

    def press_home(self):
        """Presses Home with the pointer over the counter; returns when it was sent."""
        self.pointer_to_counter()
        sent = time.monotonic()
        xdotool("key", "Home")
        return sent

    def box_point(self, program, dx=60):
        """A point on the interval box's text line, dx pixels into it."""
        x, y, _, h = map(int, self.counter.ask(f"box_client {program.windows_pid}").split()[1:])
        return x + dx, y + h // 2

    def type_interval(self, program, text):
        """Clicks into the box, clears it and types text, as a user would."""
        self.pointer_to(*self.box_point(program))
        xdotool("click", "1")
        xdotool("key", "End")
        for _ in range(12):
            xdotool("key", "BackSpace")
        if text:
            xdotool("type", "--", text)
        time.sleep(0.2)
        self.pointer_to_counter()

    # --- what is observed -------------------------------------------------
    def clicks_between(self, start, end):
        return self.counter.downs(start, end)

    def assert_no_clicks_for(self, seconds, message=""):
        start = time.monotonic()
        time.sleep(seconds)
        self.assertEqual(self.clicks_between(start, time.monotonic()), [], message)

    def wait_for_clicks(self, count, since, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if len(self.counter.downs(since)) >= count:
                return self.counter.downs(since)
            time.sleep(0.05)
        self.fail(f"expected {count} clicks, got {len(self.counter.downs(since))}")

    def box_text(self, program):
        return self.counter.ask(f"box_text {self.windows_pid(program)}").partition(" ")[2]

    def windows_pid(self, program):
        return program.windows_pid

    def stop_clicking_and_check_it_stops(self):
        stopped = self.press_home()
        time.sleep(HOME_PRESS_SETTLE)
        self.assert_no_clicks_for(1.0, "clicks went on after Home switched them off")
        return stopped


class EndToEnd(DesktopTestCase):
    def test_home_starts_clicking_one_period_after_the_press_and_home_stops_it(self):
        program = self.start()
        self.type_interval(program, "300")
        pressed = self.press_home()
        clicks = self.wait_for_clicks(4, pressed)
        self.assertGreater(clicks[0] - pressed, 0.2, "the first click came at the press, not a period later")
        self.assertLess(clicks[0] - pressed, 1.0)
        intervals = [b - a for a, b in zip(clicks, clicks[1:])]
        for interval in intervals:
            self.assertAlmostEqual(interval, 0.3, delta=0.1)
        self.stop_clicking_and_check_it_stops()
        # Every down came with its up.
        self.assertEqual(len(self.counter.downs(pressed)), len(self.counter.ups(pressed)))

    def test_the_box_is_read_only_when_switching_on(self):
        program = self.start()
        self.type_interval(program, "300")
        pressed = self.press_home()
        self.wait_for_clicks(2, pressed)
        # Clicks land in the box while the pointer is there; the typing still works.
        self.type_interval(program, "50")
        self.assertEqual(self.box_text(program), "50")
        since = time.monotonic()
        clicks = self.wait_for_clicks(3, since)
        self.assertGreater(min(b - a for a, b in zip(clicks, clicks[1:])), 0.2, "the new value took effect at once")
        self.press_home()
        time.sleep(HOME_PRESS_SETTLE)
        pressed = self.press_home()
        clicks = self.wait_for_clicks(6, pressed)
        self.assertLess(max(b - a for a, b in zip(clicks[1:], clicks[2:])), 0.15, "the new value was not read")
        self.stop_clicking_and_check_it_stops()

    def test_an_interval_that_is_not_positive_switches_on_without_clicking(self):
        program = self.start()
        for case, enter in [("empty", lambda: self.type_interval(program, "")),
                            ("zero", lambda: self.type_interval(program, "0")),
                            ("negative", lambda: self.type_interval(program, "-5")),
                            ("pasted letters", lambda: self.paste_into_box(program, "abc"))]:
            with self.subTest(case):
                enter()
                self.press_home()
                self.assert_no_clicks_for(0.8, "the first press clicked")
                self.press_home()
                self.assert_no_clicks_for(0.5, "the second press clicked")
                self.type_interval(program, "100")
                pressed = self.press_home()
                self.wait_for_clicks(3, pressed)
                self.stop_clicking_and_check_it_stops()

    def paste_into_box(self, program, text):
        self.assertEqual(self.counter.ask(f"clipboard {text}"), "clipboard ok")
        self.type_interval(program, "")
        self.pointer_to(*self.box_point(program))
        xdotool("key", "ctrl+v")
        time.sleep(0.2)
        # The pasted text stays while the box has the focus.
        self.assertEqual(self.box_text(program), text)
        self.pointer_to_counter()

    def test_with_the_pointer_over_the_box_the_clicks_land_in_the_box(self):
        program = self.start()
        # Slower than the double-click time, so that each click is a plain one.
        self.type_interval(program, "700")
        self.assertEqual(self.box_selection(program), (3, 3))
        pressed = self.press_home()
        self.wait_for_clicks(1, pressed)
        # Over the box's first character: a click there puts the caret before it.
        self.pointer_to(*self.box_point(program, dx=1))
        since = time.monotonic()
        time.sleep(1.6)
        self.assertEqual(self.clicks_between(since + 0.15, time.monotonic()), [])
        self.assertEqual(self.box_selection(program), (0, 0))
        self.stop_clicking_and_check_it_stops()

    def box_selection(self, program):
        parts = self.counter.ask(f"box_selection {self.windows_pid(program)}").split()
        return int(parts[1]), int(parts[2])

    def test_a_second_copy_comes_up_but_never_clicks(self):
        first = self.start()
        self.type_interval(first, "300")
        second = self.start()
        self.assertEqual(self.box_text(second), "10")
        pressed = self.press_home()
        clicks = self.wait_for_clicks(5, pressed)
        # Had the second copy switched on too, its 10 ms clicks would be among these.
        self.assertGreater(min(b - a for a, b in zip(clicks, clicks[1:])), 0.2)
        self.stop_clicking_and_check_it_stops()
        self.assertEqual(self.counter.ask(f"close {self.windows_pid(second)}"), "close ok")
        self.assertEqual(second.wait(), 0)
        pressed = self.press_home()
        self.wait_for_clicks(2, pressed)
        self.stop_clicking_and_check_it_stops()
        self.assertEqual(self.counter.ask("register_home"), "register_home refused")
        self.assertEqual(self.counter.ask(f"close {self.windows_pid(first)}"), "close ok")
        self.assertEqual(first.wait(), 0)
        self.assertEqual(self.counter.ask("register_home"), "register_home ok")

    def close_while_clicking(self, close):
        program = self.start()
        self.type_interval(program, "100")
        pressed = self.press_home()
        self.wait_for_clicks(2, pressed)
        close(program)
        self.assertEqual(program.wait(), 0)
        self.pointer_to_counter()
        self.assert_no_clicks_for(1.0, "clicks after the window was gone")
        self.assertEqual(self.counter.ask("register_home"), "register_home ok")

    def over_the_label(self, program):
        # Left of the label's text: clicks land there harmlessly while keys reach the window.
        x, y = self.box_point(program, dx=0)
        self.pointer_to(x - 150, y)
        time.sleep(0.2)

    def test_closing_while_clicking_with_escape(self):
        def close(program):
            self.over_the_label(program)
            xdotool("key", "Escape")
        self.close_while_clicking(close)

    def test_closing_while_clicking_with_alt_f4(self):
        def close(program):
            self.over_the_label(program)
            xdotool("key", "alt+F4")
        self.close_while_clicking(close)

    def test_closing_while_clicking_with_the_close_button(self):
        def close(program):
            # The close button is the rightmost in the caption bar Wine draws.
            self.pointer_to(program.x + program.width - 12, program.y + 12)
            xdotool("click", "1")
        self.close_while_clicking(close)

    def test_closing_while_clicking_from_another_program(self):
        self.close_while_clicking(
            lambda program: self.assertEqual(self.counter.ask(f"close {self.windows_pid(program)}"), "close ok"))

    def test_arguments_on_the_command_line_change_nothing(self):
        program = self.start("--interval", "500", "/s", "x y")
        self.assertEqual(self.box_text(program), "10")
        pressed = self.press_home()
        clicks = self.wait_for_clicks(20, pressed)
        self.assertLess(clicks[-1] - clicks[0], 19 * 0.05)
        self.stop_clicking_and_check_it_stops()

    def test_home_works_while_minimised_or_behind_another_window(self):
        program = self.start()
        self.type_interval(program, "100")
        pid = self.windows_pid(program)
        for hide, show in [("minimise", "restore"), ("cover", "uncover")]:
            with self.subTest(hide):
                self.assertTrue(self.counter.ask(f"{hide} {pid}").endswith("ok"))
                pressed = self.press_home()
                self.wait_for_clicks(3, pressed)
                self.stop_clicking_and_check_it_stops()
                self.counter.ask(f"{show} {pid}" if show == "restore" else show)


def configure():
    """Reads the command line into this module's settings; returns what is left for unittest."""
    global ARGS, ENV
    parser = argparse.ArgumentParser()
    parser.add_argument("--session", required=True)
    parser.add_argument("--homeclick", required=True)
    parser.add_argument("--counter", required=True)
    ARGS, rest = parser.parse_known_args()
    ENV = desktop.session_environment(ARGS.session)
    return rest


def main():
    unittest.main(argv=[sys.argv[0], "-v", *configure()])


if __name__ == "__main__":
    main()
