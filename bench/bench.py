"""Measures homeclick under Wine against baselines built alongside it, and
writes bench/results/results.md and bench/results/cadence.png.

Run by bench/run.sh, which builds everything first.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import desktop  # noqa: E402

PERIODS_MS = (10, 20, 50, 100)


def cpu_seconds(pid):
    """User plus system time of a process and its threads, from /proc."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def context_switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/status") as f:
            for line in f:
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
    return total


def peak_resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


class Bench:
    def __init__(self, args):
        self.args = args
        self.env = desktop.session_environment(args.session)
        self.counter = desktop.Counter(self.env, args.counter)

    def xdotool(self, *arguments, check=True):
        return desktop.xdotool(self.env, *arguments, check=check)

    def start(self, exe, *arguments):
        return subprocess.Popen([self.env["WINE"], exe, *arguments], env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def wait_mapped(self, name, known=()):
        while True:
            ids = [i for i in self.xdotool("search", "--onlyvisible", "--name", name, check=False).split()
                   if i not in known]
            if ids:
                return ids[-1]
            time.sleep(0.005)

    def homeclick_pid(self):
        pids = self.counter.ask("list").split()[1:]
        return int(pids[-1]) if pids else None

    def pointer_to_counter(self):
        self.xdotool("mousemove", *map(str, self.counter.centre))
        time.sleep(0.1)

    # --- cadence --------------------------------------------------------------
    def summarise(self, clicks, downs_without_up):
        intervals = [(b - a) * 1000 for a, b in zip(clicks, clicks[1:])]
        return {
            "clicks": len(clicks),
            "per_second": (len(clicks) - 1) / (clicks[-1] - clicks[0]) if len(clicks) > 1 else 0.0,
            "mean": statistics.fmean(intervals) if intervals else float("nan"),
            "median": statistics.median(intervals) if intervals else float("nan"),
            "p99": percentile(intervals, 0.99) if intervals else float("nan"),
            "unpaired": downs_without_up,
            "intervals": intervals,
        }

    def unpaired(self, start, end):
        with self.counter.lock:
            events = [(k, t) for k, t in self.counter.events if start <= t <= end + 0.05]
        open_downs = 0
        unpaired = 0
        for kind, _ in events:
            if kind == "down":
                unpaired += open_downs
                open_downs = 1
            elif open_downs:
                open_downs = 0
        return unpaired + open_downs

    def cadence_program(self, period):
        program = self.start(self.args.homeclick)
        window = self.wait_mapped("home键")
        pid = None
        while pid is None:
            pid = self.homeclick_pid()
        assert self.counter.ask(f"set_box {pid} {period}") == "set_box ok"
        self.pointer_to_counter()
        start = time.monotonic()
        self.xdotool("key", "Home")
        time.sleep(self.args.seconds)
        self.xdotool("key", "Home")
        end = time.monotonic()
        time.sleep(0.3)
        program.kill()
        program.wait()
        del window
        clicks = [t for t in self.counter.downs(start) if t <= end]
        return self.summarise(clicks, self.unpaired(start, end))

    def cadence_baseline(self, period):
        self.pointer_to_counter()
        start = time.monotonic()
        baseline = self.start(self.args.baseline_clicker, str(period), str(self.args.seconds))
        baseline.wait()
        end = time.monotonic()
        clicks = [t for t in self.counter.downs(start) if t <= end]
        return self.summarise(clicks, self.unpaired(start, end))

    # --- idle, start-up, footprint ----------------------------------------------
    def idle(self, exe, name):
        process = self.start(exe)
        self.wait_mapped(name)
        time.sleep(2)
        cpu, switches = cpu_seconds(process.pid), context_switches(process.pid)
        time.sleep(self.args.idle_seconds)
        cpu, switches = cpu_seconds(process.pid) - cpu, context_switches(process.pid) - switches
        peak = peak_resident_kib(process.pid)
        process.kill()
        process.wait()
        return cpu, switches, peak

    def caret_blink(self, on):
        """The system's caret blink, which wakes any program whose edit box has the focus."""
        key = "HKCU\\Control Panel\\Desktop"
        command = (["reg", "delete", key, "/v", "CursorBlinkRate", "/f"] if on
                   else ["reg", "add", key, "/v", "CursorBlinkRate", "/d", "-1", "/f"])
        subprocess.run([self.env["WINE"], *command], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def start_up(self, exe, name, runs=5):
        times = []
        for _ in range(runs):
            known = set(self.xdotool("search", "--name", name, check=False).split())
            began = time.monotonic()
            process = self.start(exe)
            self.wait_mapped(name, known)
            times.append(time.monotonic() - began)
            process.kill()
            process.wait()
            time.sleep(0.3)
        return statistics.median(times)


def ratio(a, b):
    return a / b if b else float("inf") if a else 1.0


def main():
    parser = argparse.ArgumentParser()
    for name in ("session", "homeclick", "shipped", "counter", "baseline-clicker", "baseline-window",
                 "baseline-styled-window", "results"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--seconds", type=float, default=5.0)
    parser.add_argument("--idle-seconds", type=float, default=30.0)
    args = parser.parse_args()
    os.makedirs(args.results, exist_ok=True)
    bench = Bench(args)

    lines = ["# homeclick benchmark", "",
             "Measured under Wine on a virtual X display, each figure beside a baseline program built the same way "
             "and measured in the same run. Windows' own timer resolution cannot be measured here.", ""]
    lines += ["## Cadence", "",
              f"{args.seconds:g} s of clicking per period. Intervals in ms.", "",
              "| period | program clicks/s | baseline clicks/s | program mean | baseline mean | mean vs baseline "
              "| program median | program p99 | baseline p99 | p99 difference | downs without up |",
              "|---|---|---|---|---|---|---|---|---|---|---|"]
    plot_rows = []
    for period in PERIODS_MS:
        program = bench.cadence_program(period)
        baseline = bench.cadence_baseline(period)
        lines.append(
            f"| {period} | {program['per_second']:.2f} | {baseline['per_second']:.2f} | {program['mean']:.3f} "
            f"| {baseline['mean']:.3f} | {ratio(program['mean'], baseline['mean']):.4f} | {program['median']:.3f} "
            f"| {program['p99']:.3f} | {baseline['p99']:.3f} | {program['p99'] - baseline['p99']:+.3f} "
            f"| {program['unpaired']} / {baseline['unpaired']} |")
        plot_rows.append((period, program, baseline))
        print(lines[-1], flush=True)

    idle_program = bench.idle(args.homeclick, "home键")
    idle_baseline = bench.idle(args.baseline_window, "baseline window")
    bench.caret_blink(False)
    quiet_program = bench.idle(args.homeclick, "home键")
    bench.caret_blink(True)
    lines += ["", "## Idle", "",
              f"{args.idle_seconds:g} s stopped, after 2 s of warm-up. The program's box has the focus, and the "
              "system blinks its caret; the last row is the program with the caret blink switched off "
              "(CursorBlinkRate -1), which leaves the program's own wake-ups.", "",
              "| | CPU time (s) | context switches (wake-ups) |", "|---|---|---|",
              f"| program | {idle_program[0]:.3f} | {idle_program[1]} |",
              f"| baseline (empty window) | {idle_baseline[0]:.3f} | {idle_baseline[1]} |",
              f"| program, caret blink off | {quiet_program[0]:.3f} | {quiet_program[1]} |"]

    start_program = bench.start_up(args.homeclick, "home键")
    start_baseline = bench.start_up(args.baseline_window, "baseline window")
    start_styled = bench.start_up(args.baseline_styled_window, "baseline window")
    styled_peak = bench.idle(args.baseline_styled_window, "baseline window")[2]
    lines += ["", "## Start-up", "",
              "Process start to the window being mapped, median of 5. The styled baseline is the same empty "
              "window with the program's manifest (common controls 6, visual styles).", "",
              "| program (s) | baseline (s) | ratio | styled baseline (s) | ratio to styled |",
              "|---|---|---|---|---|",
              f"| {start_program:.3f} | {start_baseline:.3f} | {ratio(start_program, start_baseline):.2f} "
              f"| {start_styled:.3f} | {ratio(start_program, start_styled):.2f} |"]

    size = os.path.getsize(args.shipped)
    lines += ["", "## Footprint", "",
              "| | program | baseline | ratio |", "|---|---|---|---|",
              f"| shipped 32-bit exe (bytes) | {size} | | {size / 65536:.2f} of 64 KiB |",
              f"| peak resident set under Wine (KiB) | {idle_program[2]} | {idle_baseline[2]} "
              f"| {ratio(idle_program[2], idle_baseline[2]):.2f} |",
              f"| peak resident set against the styled baseline (KiB) | {idle_program[2]} | {styled_peak} "
              f"| {ratio(idle_program[2], styled_peak):.2f} |"]
    bench.counter.close()

    report = "\n".join(lines) + "\n"
    with open(os.path.join(args.results, "results.md"), "w") as f:
        f.write(report)
    print(report)

    data = os.path.join(args.results, "cadence.dat")
    with open(data, "w") as f:
        f.write("period program_mean baseline_mean program_p99 baseline_p99\n")
        for period, program, baseline in plot_rows:
            f.write(f"{period} {program['mean']:.4f} {baseline['mean']:.4f} {program['p99']:.4f} "
                    f"{baseline['p99']:.4f}\n")
    if shutil.which("gnuplot"):
        script = f"""
set terminal pngcairo size 800,480
set output '{os.path.join(args.results, "cadence.png")}'
set title 'Click intervals under Wine: homeclick against the bare SetTimer clicker'
set style data histograms
set style histogram clustered gap 1
set style fill solid 0.8 border -1
set ylabel 'interval (ms)'
set xlabel 'period asked for (ms)'
set key top left
plot '{data}' using 2:xtic(1) title 'homeclick mean', '' using 3 title 'baseline mean', \\
     '' using 4 title 'homeclick p99', '' using 5 title 'baseline p99'
"""
        subprocess.run(["gnuplot"], input=script, text=True, check=True)


if __name__ == "__main__":
    main()
