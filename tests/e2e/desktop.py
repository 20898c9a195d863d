"""The desktop as the end-to-end tests and the benchmark drive it: the Wine
session's environment, xdotool, and the click-counting window."""
import os
import queue
import subprocess
import threading
import time


def session_environment(folder):
    env = dict(os.environ)
    with open(os.path.join(folder, "env")) as f:
        for line in f:
            line = line.strip()
            if line.startswith("export "):
                name, _, value = line[len("export "):].partition("=")
                env[name] = value.strip('"')
    return env


class Counter:
    """The click-counting window, and the commands it answers."""

    def __init__(self, env, counter_exe):
        self.process = subprocess.Popen([env["WINE"], counter_exe], env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.events = []  # (kind, seconds)
        self.answers = queue.Queue()
        self.lock = threading.Lock()
        threading.Thread(target=self._read, daemon=True).start()
        assert self.answers.get(timeout=120) == "ready"
        x, y, w, h = map(int, self.ask("where").split()[1:])
        self.centre = (x + w // 2, y + h // 2)
        self.clock_offset = self._clock_offset()

    def _clock_offset(self):
        """Counter clock minus this process's monotonic clock, from the tightest of a few readings."""
        best = None
        for _ in range(5):
            before = time.monotonic()
            theirs = float(self.ask("now").split()[1])
            after = time.monotonic()
            if best is None or after - before < best[0]:
                best = (after - before, theirs - (before + after) / 2)
        return best[1]

    def _read(self):
        for line in self.process.stdout:
            line = line.rstrip("\n")
            kind, _, rest = line.partition(" ")
            if kind in ("down", "up"):
                with self.lock:
                    self.events.append((kind, float(rest) - getattr(self, "clock_offset", 0.0)))
            else:
                self.answers.put(line)

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        return self.answers.get(timeout=30)

    def downs(self, since=0.0, until=float("inf")):
        with self.lock:
            return [t for kind, t in self.events if kind == "down" and since <= t <= until]

    def ups(self, since=0.0):
        with self.lock:
            return [t for kind, t in self.events if kind == "up" and t >= since]

    def close(self):
        self.process.stdin.close()  # the counter quits at the end of its input
        self.process.wait(timeout=30)



def xdotool(env, *arguments, check=True):
    result = subprocess.run(["xdotool", *arguments], env=env, capture_output=True, text=True)
    if check and result.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(arguments)}: {result.stderr}")
    return result.stdout
