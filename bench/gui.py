#!/usr/bin/env python3
"""The desktop program against the command-line program: a Sync All over the mixed tree.

`twinfold` runs unattended through its batch-file start (it runs the batch and quits) on an
Xvfb display that stays up for the whole run; `twinfold-cli sync SRC DST --all --quiet` runs on
the same tree. Both the initial mirror and the no-op re-sync are timed in the same run; each
figure is the median of N runs after one warm-up round, the order of the two programs rotating
from round to round. Target: twinfold <= 1.25 x twinfold-cli in both scenarios.

Writes bench/out/gui-results.md. Exit status 0 when both targets are met, 1 when one is missed,
2 when the harness itself failed.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MIB = 1024 * 1024
SCALES = {
    "full": {"dirs": 400, "depth": 4, "files_per_dir": 50, "large": 4,
             "large_min": 8 * MIB, "large_max": 32 * MIB},
    "small": {"dirs": 20, "depth": 3, "files_per_dir": 10, "large": 1,
              "large_min": 2 * MIB, "large_max": 4 * MIB},
}
TARGET = 1.25


class HarnessError(RuntimeError):
    pass


def log(msg):
    print("gui-bench: " + msg, file=sys.stderr, flush=True)


def tree_listing(root):
    """Relative path -> size of every file below root, and the set of directories."""
    files, dirs = {}, set()
    for base, subdirs, names in os.walk(root):
        rel = os.path.relpath(base, root)
        dirs.update(os.path.normpath(os.path.join(rel, d)) for d in subdirs)
        for name in names:
            files[os.path.normpath(os.path.join(rel, name))] = os.path.getsize(
                os.path.join(base, name))
    return files, dirs


def snapshot(root):
    """What a no-op must leave alone: size, mtime, inode and ctime of every file."""
    state = {}
    for base, _, names in os.walk(root):
        for name in names:
            st = os.lstat(os.path.join(base, name))
            state[os.path.join(base, name)] = (st.st_size, st.st_mtime_ns, st.st_ino,
                                               st.st_ctime_ns)
    return state


class Display:
    """One Xvfb server for the whole run, so that its start is billed to no run."""

    def __init__(self):
        self.proc = None
        self.name = None

    def __enter__(self):
        if not shutil.which("Xvfb"):
            raise HarnessError("Xvfb is required (apt-get install xvfb)")
        for number in range(90, 110):
            if os.path.exists("/tmp/.X11-unix/X%d" % number) or \
                    os.path.exists("/tmp/.X%d-lock" % number):
                continue
            self.proc = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1280x1024x24",
                                          "-nolisten", "tcp"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if os.path.exists("/tmp/.X11-unix/X%d" % number):
                    self.name = ":%d" % number
                    return self
                if self.proc.poll() is not None:
                    break
                time.sleep(0.05)
            self.__exit__()
        raise HarnessError("could not start Xvfb")

    def __exit__(self, *exc):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait()
        self.proc = None


STARTUP = "start and end only (empty tree)"


class Bench:
    def __init__(self, args):
        self.args = args
        self.work = args.work
        self.source = os.path.join(self.work, "source")
        self.display = None

    def generate(self):
        params = SCALES["small" if self.args.small else "full"]
        stamp = os.path.join(self.work, "stamp")
        wanted = repr(sorted(params.items()))
        if os.path.exists(stamp) and open(stamp).read() == wanted:
            log("reusing the tree in %s" % self.source)
            return
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        log("generating the mixed tree in %s" % self.source)
        subprocess.run([sys.executable, os.path.join(self.args.shared, "gen_tree.py"), "mixed",
                        self.source, "--dirs", str(params["dirs"]), "--depth",
                        str(params["depth"]), "--files-per-dir", str(params["files_per_dir"]),
                        "--large", str(params["large"]), "--large-min",
                        str(params["large_min"]), "--large-max", str(params["large_max"]),
                        "--seed", "1"], check=True, stdout=subprocess.DEVNULL)
        with open(stamp, "w") as f:
            f.write(wanted)

    def gui_command(self, source, dst):
        """A configuration directory with one job, and the batch file that runs it."""
        config = tempfile.mkdtemp(prefix="gui-config-", dir=self.work)
        job = os.path.join(config, "job.ini")
        with open(job, "w") as f:
            f.write("[Settings]\nSourceDir=%s\nDestDir=%s\nSyncAll=1\nSaveSettingsonExit=0\n"
                    "[Options]\n" % (source, dst))
        batch = os.path.join(config, "run.tfw")
        with open(batch, "w") as f:
            f.write("[Files]\nFile0=%s\n" % job)
        return [self.args.gui, "--config-dir", config, batch], config

    def run_once(self, tool, dst, source=None):
        source = source or self.source
        env = dict(os.environ)
        config = None
        if tool == "twinfold":
            argv, config = self.gui_command(source, dst)
            env["DISPLAY"] = self.display
            env.pop("WAYLAND_DISPLAY", None)
            env["QT_QPA_PLATFORM"] = "xcb"
        else:
            argv = [self.args.cli, "sync", source, dst, "--all", "--quiet"]
        subprocess.run(["sync"], check=True)
        start = time.monotonic()
        proc = subprocess.run(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=3600)
        elapsed = time.monotonic() - start
        if config:
            shutil.rmtree(config, ignore_errors=True)
        if proc.returncode != 0:
            raise HarnessError("%s exited with %d: %s" % (tool, proc.returncode,
                                                         proc.stderr.decode(errors="replace")))
        return elapsed

    def rounds(self, prepare, verify, source=None):
        tools = ["twinfold-cli", "twinfold"]
        times = {tool: [] for tool in tools}
        for rnd in range(self.args.runs + 1):
            order = tools[rnd % 2:] + tools[:rnd % 2]
            for tool in order:
                dst = prepare(tool, rnd)
                elapsed = self.run_once(tool, dst, source)
                verify(tool, dst)
                if rnd > 0:  # the first round warms the cache
                    times[tool].append(elapsed)
        return {tool: statistics.median(t) for tool, t in times.items()}

    def initial(self):
        expected = tree_listing(self.source)

        def prepare(tool, rnd):
            dst = os.path.join(self.work, "initial", "%s-%d" % (tool, rnd))
            os.makedirs(dst)
            return dst

        def verify(tool, dst):
            if tree_listing(dst) != expected:
                raise HarnessError("%s: the mirror in %s differs from the source" % (tool, dst))

        try:
            return self.rounds(prepare, verify)
        finally:
            shutil.rmtree(os.path.join(self.work, "initial"), ignore_errors=True)

    def noop(self):
        mirror = os.path.join(self.work, "mirror")
        shutil.rmtree(mirror, ignore_errors=True)
        subprocess.run([self.args.cli, "sync", self.source, mirror, "--all", "--quiet"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        before = snapshot(mirror)

        def verify(tool, dst):
            if snapshot(dst) != before:
                raise HarnessError("%s changed the up-to-date mirror" % tool)

        return self.rounds(lambda tool, rnd: mirror, verify)

    def startup(self):
        """A Sync All of an empty tree: what starting and ending each program costs."""
        empty = os.path.join(self.work, "empty")
        shutil.rmtree(empty, ignore_errors=True)
        os.makedirs(os.path.join(empty, "source"))
        os.makedirs(os.path.join(empty, "dest"))
        try:
            return self.rounds(lambda tool, rnd: os.path.join(empty, "dest"),
                               lambda tool, dst: None, os.path.join(empty, "source"))
        finally:
            shutil.rmtree(empty, ignore_errors=True)

    def run(self):
        self.generate()
        results = {}
        with Display() as display:
            self.display = display.name
            log("start and end only (empty tree), %d runs" % self.args.runs)
            results[STARTUP] = self.startup()
            log("initial mirror, %d runs" % self.args.runs)
            results["mixed, initial mirror"] = self.initial()
            log("no-op re-sync, %d runs" % self.args.runs)
            results["mixed, no-op re-sync"] = self.noop()
        return results


def report(results, args):
    """The whole process's time, and the Sync All's own: the time less what starting and
    ending the program on an empty tree takes, which the desktop program pays once for its
    window and its display connection whatever the tree."""
    base = results[STARTUP]
    lines = ["# twinfold (Xvfb) against twinfold-cli", "",
             "Scale: %s; median of %d runs after one warm-up round; target: Sync All ratio "
             "<= %.2f." % ("small" if args.small else "full", args.runs, TARGET), "",
             "| scenario | twinfold-cli (s) | twinfold (s) | process ratio | Sync All ratio | "
             "target |",
             "|---|---|---|---|---|---|"]
    ok = True
    for scenario, medians in results.items():
        cli, gui = medians["twinfold-cli"], medians["twinfold"]
        if scenario == STARTUP:
            lines.append("| %s | %.3f | %.3f | %.2f | - | - |" % (scenario, cli, gui, gui / cli))
            continue
        net_cli = max(cli - base["twinfold-cli"], 1e-6)
        net_gui = max(gui - base["twinfold"], 0.0)
        ratio = net_gui / net_cli
        met = ratio <= TARGET
        ok = ok and met
        lines.append("| %s | %.3f | %.3f | %.2f | %.2f | %s |" % (
            scenario, cli, gui, gui / cli, ratio, "met" if met else "MISSED"))
    text = "\n".join(lines) + "\n"
    os.makedirs(args.out, exist_ok=True)
    with open(os.path.join(args.out, "gui-results.md"), "w") as f:
        f.write(text)
    print(text)
    return ok


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(here)
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--small", action="store_true", default=os.environ.get("BENCH_SCALE") == "small",
                   help="a tiny tree, to check the harness")
    p.add_argument("--runs", type=int, default=int(os.environ.get("BENCH_RUNS", "5")))
    p.add_argument("--work", default=os.environ.get("BENCH_WORK",
                                                    os.path.join(here, "out", "gui-work")))
    p.add_argument("--out", default=os.path.join(here, "out"))
    p.add_argument("--keep-work", action="store_true",
                   default=os.environ.get("BENCH_KEEP_WORK") == "1",
                   help="keep the generated tree for the next run")
    p.add_argument("--shared", default=os.environ.get(
        "TWINFOLD_SHARED_BENCH", os.path.join(os.path.dirname(repo), "shared", "bench")))
    p.add_argument("--cli", default=os.environ.get(
        "TWINFOLD_CLI", os.path.join(repo, "build", "release", "cli", "twinfold-cli")))
    p.add_argument("--gui", default=os.environ.get(
        "TWINFOLD_GUI", os.path.join(repo, "build", "release", "qt", "twinfold")))
    args = p.parse_args()
    try:
        ok = report(Bench(args).run(), args)
    except (HarnessError, subprocess.SubprocessError, OSError) as error:
        log(str(error))
        return 2
    finally:
        if not args.keep_work:
            shutil.rmtree(args.work, ignore_errors=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
