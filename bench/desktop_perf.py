#!/usr/bin/env python3
"""Hexatint91's desktop measurements, each against a baseline of the same run, in a
private X server (Xvfb) driven by xdotool; prints one table with the paint figures of
bench_mainform.

  start-up   process start (fork) to the first frame on the screen, the tool against an
             empty toolkit window of the same size (bench/baseline/EmptyWindow.cpp),
             alternating runs; median of the per-pair ratios. Peak resident memory (VmHWM)
             of both once the first frame is shown.
  idle       after one hover that fades fully in and a leave that fades fully out: CPU
             time of the whole process over 10 s (/proc/<pid>/task/*/schedstat, in ns) and
             the running-timer count the tool reports on SIGUSR1.
  sweep      the pointer sweeping across all 91 swatches for 5 s: CPU share of one core
             (median of --sweeps runs, alternating with the empty window in "hover" mode,
             which answers the same moves by repainting the cell under the pointer: the
             toolkit's floor); then, with the pointer away, the running-timer count once
             the fades are over.

  breakdown  where the start goes, as a second table: the wall time between the start-up
             marks both programs print with their first frame (medians over the start-up
             runs), and the instructions of each part from one run of each under callgrind
             (valgrind), stopped at the first frame.

Both programs report their first frame (and their start-up marks) when
HEXATINT_FIRST_FRAME_REPORT is set; the tool reports its running timers on SIGUSR1 when
HEXATINT_TIMER_REPORT is set.
"""
import argparse
import json
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


# --- Processes -------------------------------------------------------------------------

class Program:
    """A started program; its standard error is collected line by line."""

    def __init__(self, argv, env, cwd):
        self.lines = []
        self.cond = threading.Condition()
        self.started_ns = time.monotonic_ns()
        self.proc = subprocess.Popen(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stderr:
            with self.cond:
                self.lines.append(line.rstrip("\n"))
                self.cond.notify_all()

    def wait_line(self, pattern, timeout=20.0, after=0):
        """The first line from index `after` on that matches; its match object."""
        deadline = time.monotonic() + timeout
        regex = re.compile(pattern)
        with self.cond:
            while True:
                for line in self.lines[after:]:
                    m = regex.search(line)
                    if m:
                        return m
                left = deadline - time.monotonic()
                if left <= 0 or self.proc.poll() is not None:
                    raise RuntimeError(f"no line matching {pattern!r}; stderr:\n" + "\n".join(self.lines))
                self.cond.wait(left)

    @property
    def pid(self):
        return self.proc.pid

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def cpu_ns(pid):
    """CPU time of every thread of the process so far, in nanoseconds."""
    total = 0
    task_dir = f"/proc/{pid}/task"
    for tid in os.listdir(task_dir):
        try:
            with open(f"{task_dir}/{tid}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended meanwhile
    return total


def peak_rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True, text=True).stdout


def lock_owner(n):
    try:
        with open(f"/tmp/.X{n}-lock") as lock:
            return lock.read().strip()
    except OSError:
        return ""


def start_x():
    for n in range(90, 141):
        if os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
            continue
        xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.environ["DISPLAY"] = f":{n}"
        # Another program may take the same number at the same moment: the server whose
        # process id is in the display's lock file owns it; when that is not ours, go on.
        for _ in range(50):
            if xvfb.poll() is not None or lock_owner(n) not in ("", str(xvfb.pid)):
                break
            if lock_owner(n) == str(xvfb.pid) and \
                    subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0:
                return xvfb
            time.sleep(0.1)
        xvfb.kill()
    raise RuntimeError("no X server could be started")


# --- The tool's window ------------------------------------------------------------------

def swatch_rects():
    """(left, top, width, height) of the 91 swatches, from the main form's description."""
    text = open(os.path.join(ROOT, "app", "Mainwindow1.form"), encoding="utf-8").read()
    rects = []
    for block in re.finditer(r"object GlowFadeButton\d+: TGlowFadeButton(.*?)\n  end", text, re.S):
        body = block.group(1)
        get = lambda key: int(re.search(rf"\n\s+{key} = (-?\d+)", body).group(1))
        rects.append((get("Left"), get("Top"), get("Width"), get("Height")))
    return rects


def client_origin(pid, name):
    for _ in range(100):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                             capture_output=True, text=True).stdout.split()
        if out:
            geo = dict(l.split("=") for l in xdotool("getwindowgeometry", "--shell", out[0]).split())
            return int(geo["X"]), int(geo["Y"])
        time.sleep(0.05)
    raise RuntimeError(f"no window named {name}")


def running_timers(prog):
    after = len(prog.lines)
    os.kill(prog.pid, signal.SIGUSR1)
    return int(prog.wait_line(r"running timers: (\d+)", 5, after).group(1))


# --- Measurements -----------------------------------------------------------------------

def start_program(exe, workdir):
    """exe: a path, or an argument list."""
    env = dict(os.environ, HEXATINT_FIRST_FRAME_REPORT="1", HEXATINT_TIMER_REPORT="1")
    env.pop("QT_QPA_PLATFORM", None)
    return Program([exe] if isinstance(exe, str) else list(exe), env, workdir)


def startup_marks(prog, started_ns):
    """The start-up marks the program printed, in ms from its start (fork)."""
    marks = {}
    for line in prog.lines:
        m = re.match(r"startup: (.+) (\d+)$", line)
        if m:
            marks[m.group(1)] = (int(m.group(2)) - started_ns) / 1e6
    return marks


def measure_startup(programs, workdir, runs):
    """programs: key -> path or argument list, the tool under "app". Ratios of the tool to each
    other program, run by run."""
    times = {key: [] for key in programs}
    peaks = {key: [] for key in programs}
    marks = {key: [] for key in programs}
    keys = list(programs)
    for i in range(runs):
        # Rotate which goes first, so a drift in machine load hits all alike.
        for key in keys[i % len(keys):] + keys[:i % len(keys)]:
            prog = start_program(programs[key], workdir)
            try:
                stamp = int(prog.wait_line(r"first frame: (\d+)").group(1))
                times[key].append((stamp - prog.started_ns) / 1e6)
                marks[key].append(dict(startup_marks(prog, prog.started_ns), frame=times[key][-1]))
                time.sleep(0.3)
                peaks[key].append(peak_rss_kb(prog.pid))
            finally:
                prog.stop()
    ratios = {k: [a / b for a, b in zip(times["app"], times[k])] for k in keys if k != "app"}
    mem_ratios = {k: [a / b for a, b in zip(peaks["app"], peaks[k])] for k in keys if k != "app"}
    return times, peaks, ratios, mem_ratios, marks


def measure_idle(app, workdir, fade_s):
    prog = start_program(app, workdir)
    try:
        prog.wait_line(r"first frame: (\d+)")
        ox, oy = client_origin(prog.pid, "Hexatint91")
        left, top, w, h = swatch_rects()[0]  # #0000ff: a full 128-step fade
        xdotool("mousemove", ox + left + w // 2, oy + top + h // 2)
        time.sleep(fade_s)  # fully faded in
        xdotool("mousemove", 1000, 750)
        time.sleep(fade_s)  # fully faded out
        before = cpu_ns(prog.pid)
        time.sleep(10.0)
        used_ms = (cpu_ns(prog.pid) - before) / 1e6
        return used_ms, running_timers(prog)
    finally:
        prog.stop()


def sweep_path(rects, ox, oy, step=4):
    """Swatch centres row by row, alternating direction, joined by points `step` apart."""
    rows = {}
    for r in rects:
        rows.setdefault(r[1], []).append(r)
    centres = []
    for i, top in enumerate(sorted(rows)):
        row = sorted(rows[top], reverse=bool(i % 2))
        centres += [(ox + l + w // 2, oy + t + h // 2) for l, t, w, h in row]
    points = [centres[0]]
    for (x0, y0), (x1, y1) in zip(centres, centres[1:]):
        n = max(1, int(max(abs(x1 - x0), abs(y1 - y0)) / step))
        points += [(x0 + (x1 - x0) * k // n, y0 + (y1 - y0) * k // n) for k in range(1, n + 1)]
    return points


def measure_sweep(program, name, workdir, seconds, fade_s, reports_timers=True):
    """CPU share while the pointer crosses the 91 swatches; the timers left running after it
    (None for a program that does not report them)."""
    prog = start_program(program, workdir)
    try:
        prog.wait_line(r"first frame: (\d+)")
        ox, oy = client_origin(prog.pid, name)
        points = sweep_path(swatch_rects(), ox, oy)
        pause = seconds / len(points)
        args = []
        for x, y in points:
            args += ["mousemove", str(x), str(y), "sleep", f"{pause:.4f}"]
        before, t0 = cpu_ns(prog.pid), time.monotonic()
        subprocess.run(["xdotool", *args], check=True)
        wall = time.monotonic() - t0
        share = (cpu_ns(prog.pid) - before) / 1e9 / wall
        if not reports_timers:
            return share, wall, None
        xdotool("mousemove", 1000, 750)
        time.sleep(fade_s)
        return share, wall, running_timers(prog)
    finally:
        prog.stop()


def measure_sweeps(app, baseline, workdir, seconds, fade_s, runs):
    """Medians of alternating sweeps over the tool and over the baseline window answering
    the same moves."""
    tool, base, walls, timers = [], [], [], 0
    for _ in range(runs):
        share, wall, left = measure_sweep(app, "Hexatint91", workdir, seconds, fade_s)
        tool.append(share)
        walls.append(wall)
        timers = max(timers, left)
        base.append(measure_sweep([baseline, "hover"], "Hexatint91 baseline", workdir, seconds, fade_s,
                                  reports_timers=False)[0])
    return tool, base, statistics.median(walls), timers


def callgrind_start(exe, workdir):
    """Inclusive instruction counts of one start under callgrind, up to the first frame."""
    out = os.path.join(workdir, "callgrind.%p")
    env = dict(os.environ, HEXATINT_FIRST_FRAME_REPORT="1")
    env.pop("QT_QPA_PLATFORM", None)
    prog = Program(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}", exe], env, workdir)
    try:
        prog.wait_line(r"first frame: (\d+)", timeout=300)
    finally:
        prog.stop()
    path = out.replace("%p", str(prog.pid))
    text = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", path],
                          check=True, capture_output=True, text=True).stdout
    os.remove(path)
    costs = {}
    for line in text.splitlines():
        m = re.match(r"\s*([\d,]+) \([^)]*\)\s+(.*)$", line)
        if m:
            costs[m.group(2)] = int(m.group(1).replace(",", ""))
    def cost(*names):
        """The largest inclusive count of a function whose entry contains one of names."""
        return max([c for entry, c in costs.items() for n in names if n in entry] or [0])
    return cost


def startup_breakdown(app, baseline, workdir, marks):
    """Rows of (part, tool ms, baseline ms, tool Minstr, baseline Minstr)."""
    med = statistics.median
    def span(key, start, end):
        values = [m[end] - (m[start] if start else 0) for m in marks[key] if end in m and (not start or start in m)]
        return f"{med(values):.1f}" if values else "-"
    a, b = callgrind_start(app, workdir), callgrind_start(baseline, workdir)
    mi = lambda n: f"{n / 1e6:.1f}"
    def split(cost, toolkit):
        total, main, threads = cost("PROGRAM TOTALS"), cost("???:main ["), cost("start_thread")
        return total, main, threads, total - main - threads, cost(toolkit)
    at, am, athreads, apre, atk = split(a, "hx::EnsureGuiSession(")
    bt, bm, bthreads, bpre, btk = split(b, "QApplication::QApplication(")
    read, paint, fonts = a("hx::ReadComponent("), a("hx::TForm::PaintPass()"), a("QFontDatabasePrivate::ensureFontDatabase()")
    fontconfig = a("FcInitLoadConfigAndFonts")
    return [
        ("process start to main (exec, dynamic linking)", span("app", None, "main"), span("base", None, "main"),
         mi(apre), mi(bpre)),
        ("Qt and platform init (X connection)", span("app", "main", "toolkit"), span("base", "main", "toolkit"),
         mi(atk), mi(btk)),
        ("main form read: description, 91 controls", span("app", "toolkit", "description read"), "-", mi(read), "-"),
        ("window made and shown, rest of main thread", span("app", "description read", "fonts asked"),
         span("base", "toolkit", "frame"), mi(am - atk - read - paint), mi(bm - btk)),
        ("fonts: filling the font database", span("app", "fonts asked", "fonts ready"), "-",
         mi(fonts), "-"),
        ("fontconfig's configuration, on its own thread", "-", "-", mi(fontconfig), "-"),
        ("first paint pass (91 captions, 2 panels)", span("app", "fonts ready", "first paint"), "-", mi(paint), "-"),
        ("first paint to first frame (map, copy, flush)", span("app", "first paint", "frame"), "-", "-", "-"),
        ("other threads (X events)", "-", "-", mi(athreads - fontconfig), mi(bthreads)),
        ("total to first frame", span("app", None, "frame"), span("base", None, "frame"), mi(at), mi(bt)),
    ]


def paint_figures(bench, repetitions):
    out = subprocess.run([bench, "--benchmark_filter=VsFill|FadeDuration", f"--benchmark_repetitions={repetitions}",
                          "--benchmark_format=json"], check=True, capture_output=True, text=True,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    def series(name, key):
        return [b[key] for b in runs if b["run_name"] == name]
    return {
        "pass_us": series("BM_FullPaintPassVsFill", "pass_us"),
        "pass_ratio": series("BM_FullPaintPassVsFill", "ratio"),
        "pass_cpu_us": series("BM_FullPaintPassVsFill", "pass_cpu_us"),
        "tick_us": series("BM_FadeTickVsFill", "tick_us"),
        "tick_ratio": series("BM_FadeTickVsFill", "ratio"),
        "fade_ratio": [b["ratio"] for b in runs if b["run_name"].startswith("BM_FadeDuration")],
        "fade_ms": [b["real_time"] for b in runs if b["run_name"].startswith("BM_FadeDuration")],
    }


# --- Report -----------------------------------------------------------------------------

def spread(values, fmt):
    if not values:
        return "n/a"
    return f"{fmt.format(min(values))}..{fmt.format(max(values))}"


def print_table(header, rows):
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(len(header))]
    line = lambda r: "| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |"
    print(line(header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build-perf"))
    ap.add_argument("--runs", type=int, default=10, help="start-up runs of each program")
    ap.add_argument("--repetitions", type=int, default=10, help="repetitions of each paint benchmark")
    ap.add_argument("--sweeps", type=int, default=10, help="pointer sweeps over each program")
    ap.add_argument("--no-breakdown", dest="breakdown", action="store_false",
                    help="leave out the start-up breakdown (its callgrind runs)")
    args = ap.parse_args()
    bindir = os.path.join(os.path.abspath(args.build), "bin")
    fade_s = 128 * 16 / 1000 + 0.7  # one full fade at Speed 16, and a margin

    rows = []
    def row(name, value, target, ok, note=""):
        rows.append((name, value, target, "ok" if ok else "MISSED", note))

    p = paint_figures(os.path.join(bindir, "bench_mainform"), args.repetitions)
    med = statistics.median
    row("full paint pass", f"{med(p['pass_us']) / 1000:.2f} ms", "<= 0.3 ms", med(p["pass_us"]) <= 300,
        f"{med(p['pass_ratio']):.0f}x fill; spread {spread(p['pass_us'], '{:.0f}')} us; "
        f"CPU {med(p['pass_cpu_us']) / 1000:.2f} ms")
    row("fade tick (step, paint, copy)", f"{med(p['tick_us']):.1f} us", "<= 3 us", med(p["tick_us"]) <= 3,
        f"{med(p['tick_ratio']):.0f}x fill; spread {spread(p['tick_us'], '{:.1f}')} us")
    fade = med(p["fade_ratio"]) if p["fade_ratio"] else float("nan")
    row("128-tick fade at Speed 16", f"{fade:.3f}x 2048 ms", "within 5 %", abs(fade - 1) <= 0.05,
        f"spread {spread(p['fade_ms'], '{:.0f}')} ms")

    workdir = tempfile.mkdtemp(prefix="hexatint-perf-")
    app = os.path.join(workdir, "Hexatint91")  # its settings file stays in this folder
    shutil.copy(os.path.join(bindir, "Hexatint91"), app)
    xvfb = start_x()
    breakdown = []
    try:
        baseline = os.path.join(bindir, "empty_window")
        times, peaks, ratios, mem_ratios, marks = measure_startup(
            {"app": app, "base": baseline, "text": [baseline, "captions"]}, workdir, args.runs)
        r = med(ratios["base"])
        row("start-up to first frame", f"{r:.2f}x empty window", "<= 1.10x", r <= 1.10,
            f"{med(times['app']):.0f} vs {med(times['base']):.0f} ms; ratio spread {spread(ratios['base'], '{:.2f}')}; "
            f"{med(ratios['text']):.2f}x the empty window with the 91 captions ({med(times['text']):.0f} ms)")
        m = med(mem_ratios["base"])
        row("peak resident memory", f"{m:.2f}x empty window", "<= 1.15x", m <= 1.15,
            f"{med(peaks['app']) / 1024:.1f} vs {med(peaks['base']) / 1024:.1f} MiB; "
            f"{med(mem_ratios['text']):.2f}x the empty window with the 91 captions ({med(peaks['text']) / 1024:.1f} MiB)")
        used, timers = measure_idle(app, workdir, fade_s)
        row("idle 10 s after hover+leave", f"{used:.2f} ms CPU, {timers} timers", "0 CPU, 0 timers",
            used < 0.005 and timers == 0)
        tool, base, wall, timers = measure_sweeps(app, baseline, workdir, 5.0, fade_s, args.sweeps)
        share = med(tool)
        row("sweep over 91 swatches", f"{share * 100:.1f} % of a core", "< 3 %, 0 timers after",
            share < 0.03 and timers == 0,
            f"{wall:.1f} s sweep; spread {spread([t * 100 for t in tool], '{:.1f}')} %; {timers} timers running after; "
            f"the empty window answering the same moves {med(base) * 100:.1f} %")
        breakdown = startup_breakdown(app, baseline, workdir, marks) if args.breakdown else []
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(workdir, ignore_errors=True)

    print_table(("measure", "result", "target", "", "baseline and spread"), rows)
    if breakdown:
        print()
        print_table(("start-up part", "tool ms", "empty ms", "tool Minstr", "empty Minstr"), breakdown)
    return 0 if all(r[3] == "ok" for r in rows) else 1


if __name__ == "__main__":
    sys.exit(main())
