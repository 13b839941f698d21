#!/usr/bin/env python3
"""Timing driver for the Twinfold benchmarks; bench/run.sh builds everything and calls it.

Times twinfold-cli against `cp -ru --preserve=timestamps` and `rsync -rt --update`
(plus the shared statfloor/copyfloor programs as floors) on the shared generated
inputs, warm cache, medians of --runs timed rounds after one warm-up round. The
tools take turns within a round (the order rotates from round to round) so that
slow drift on a shared machine hits all of them alike. Every run, whatever the
tool, is checked afterwards: a fast but wrong result is a failure, never a pass.

Writes OUT/results.md (tables, raw times, machine notes) and OUT/results.json.
"""
import argparse
import filecmp
import json
import math
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import time
from datetime import datetime, timezone

TOOLS = ("twinfold", "cp", "rsync")
MIB = 1 << 20

# Inputs per scale: the full scale is the shared reference set.
SCALES = {
    "full": {
        "mixed": {"dirs": 400, "depth": 4, "files_per_dir": 50, "large": 4,
                  "large_min": 8 * MIB, "large_max": 32 * MIB},
        "wide": {"subdirs": 5000, "files_per_dir": 2},
        "big": 1 << 30,
        "settle": 30.0,
    },
    "small": {
        "mixed": {"dirs": 20, "depth": 3, "files_per_dir": 10, "large": 1,
                  "large_min": 2 * MIB, "large_max": 4 * MIB},
        "wide": {"subdirs": 200, "files_per_dir": 2},
        "big": 64 * MIB,
        "settle": 1.0,
    },
}
SMALL_MIN, SMALL_MAX = 1024, 65536  # gen_tree.py defaults for the small files

# (scenario key, title, the peer twinfold is held against, highest allowed ratio of medians)
SCENARIOS = (
    ("mixed-initial", "mixed, initial mirror", "cp", 1.15),
    ("mixed-noop", "mixed, no-op re-sync", "cp", 1.0),
    ("mixed-incremental", "mixed, 5% newer", "rsync", 1.0),
    ("wide-initial", "wide, initial mirror", None, None),
    ("wide-noop", "wide, no-op re-sync", "cp", 1.2),
    ("big", "big file", "cp", 1.1),
)
SUMMARY_RE = re.compile(r"Copied:\s*(\d+)\s+Not copied:\s*(\d+)\s+Failed:\s*(\d+)")


class HarnessError(RuntimeError):
    """A peer, a floor or the set-up misbehaved: the figures would mean nothing."""


START = time.monotonic()


def log(msg):
    print("[%4.0f s] %s" % (time.monotonic() - START, msg), file=sys.stderr, flush=True)


def run_checked(argv, **kw):
    p = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **kw)
    if p.returncode != 0:
        raise HarnessError("%s failed (exit %d): %s" % (" ".join(argv), p.returncode,
                                                         p.stderr.strip()[-500:]))
    return p.stdout


def remove_tree(path):
    if os.path.lexists(path):
        subprocess.run(["rm", "-rf", "--", path], check=True)


def settle(seconds):
    """Flush and wait after deleting many files: creating files right after a large
    delete is several times slower on this file system."""
    os.sync()
    if seconds > 0:
        log("  settling %.0f s after deletions" % seconds)
        time.sleep(seconds)


# ---------------------------------------------------------------- snapshots and checks

def snapshot(root):
    """rel path -> (size, mtime_ns, inode, ctime_ns) of every regular file, plus the dirs.

    A no-op run must leave all four alone: rewriting a file in place with its old
    time set back still moves its ctime."""
    files, dirs = {}, set()
    stack = [""]
    while stack:
        rel = stack.pop()
        with os.scandir(os.path.join(root, rel) if rel else root) as it:
            for e in it:
                r = os.path.join(rel, e.name) if rel else e.name
                st = e.stat(follow_symlinks=False)
                if e.is_dir(follow_symlinks=False):
                    dirs.add(r)
                    stack.append(r)
                elif e.is_file(follow_symlinks=False):
                    files[r] = (st.st_size, st.st_mtime_ns, st.st_ino, st.st_ctime_ns)
    return files, dirs


def same_time(src_ns, dst_ns):
    # Twinfold keeps last-write times to the 2-second step (rounded down); the
    # generated times are even seconds, so every tool should match exactly.
    return 0 <= src_ns - dst_ns < 2_000_000_000


def compare_tree(src, dst_root, sample_from=None):
    """None if dst_root mirrors the source (root, snapshot), else what is wrong."""
    src_root, (sfiles, sdirs) = src
    dfiles, ddirs = snapshot(dst_root)
    missing = sorted(set(sfiles) - set(dfiles))
    extra = sorted(set(dfiles) - set(sfiles))
    if missing or extra:
        return "%d files missing (%s), %d extra (%s)" % (
            len(missing), missing[:3], len(extra), extra[:3])
    if sdirs != ddirs:
        return "directory sets differ: %s" % sorted(sdirs ^ ddirs)[:3]
    for rel, (size, mtime, *_) in sfiles.items():
        dsize, dmtime, *_ = dfiles[rel]
        if dsize != size:
            return "%s: size %d, expected %d" % (rel, dsize, size)
        if not same_time(mtime, dmtime):
            return "%s: mtime %d ns, expected %d ns" % (rel, dmtime, mtime)
    pool = sorted(sample_from if sample_from is not None else sfiles)
    if pool:
        step = max(1, len(pool) // 8)
        sample = set(pool[::step])
        sample.add(max(pool, key=lambda r: sfiles[r][0]))
        for rel in sorted(sample):
            if not same_content(os.path.join(src_root, rel),
                                os.path.join(dst_root, rel)):
                return "%s: contents differ" % rel
    return None


def source_snapshot(root):
    return root, snapshot(root)


def same_content(a, b):
    if os.path.getsize(a) <= 64 * MIB:
        return filecmp.cmp(a, b, shallow=False)
    # Large files: compare a handful of 1 MiB blocks spread over the file.
    size = os.path.getsize(a)
    with open(a, "rb") as fa, open(b, "rb") as fb:
        for off in sorted({0, size // 3, size // 2, 2 * size // 3, max(0, size - MIB)}):
            fa.seek(off)
            fb.seek(off)
            if fa.read(MIB) != fb.read(MIB):
                return False
    return True


def check_summary(stdout, copied, not_copied):
    """The summary line, when twinfold-cli prints one, must agree with the files."""
    lines = [ln for ln in stdout.splitlines() if ln.strip()]
    m = SUMMARY_RE.search(lines[-1]) if lines else None
    if not m:
        return None
    got = tuple(int(x) for x in m.groups())
    if got != (copied, not_copied, 0):
        return "summary %r, expected Copied: %d  Not copied: %d  Failed: 0" % (
            lines[-1].strip(), copied, not_copied)
    return None


# ---------------------------------------------------------------- the timing loop

class Bench:
    def __init__(self, args):
        self.args = args
        self.scale = SCALES[args.scale]
        self.settle_s = args.settle if args.settle is not None else self.scale["settle"]
        self.work = os.path.abspath(args.work)
        self.inputs = os.path.join(self.work, "inputs")
        self.runs_dir = os.path.join(self.work, "runs")
        self.results = {}   # scenario key -> {"times": {tool: [s]}, "errors": [...], ...}
        self.floors = []    # (scenario title, floor label, times)
        self.info = {}
        self.needs_settle = False
        self.gen_tree = [sys.executable, os.path.join(args.shared, "gen_tree.py")]
        big = self.scale["big"]
        self.titles = {k: t for k, t, _, _ in SCENARIOS}
        self.titles["big"] = "one %d %s file" % ((big >> 30, "GiB") if big >= 1 << 30
                                                else (big >> 20, "MiB"))

    # -- commands
    def command(self, tool, src, dst, extra=()):
        if tool == "twinfold":
            return [self.args.twinfold, "sync", src, dst, "--all", "--quiet", *extra]
        if tool == "cp":
            return ["cp", "-ru", "--preserve=timestamps", src + "/.", dst]
        if tool == "rsync":
            return ["rsync", "-rt", "--update", src + "/", dst + "/"]
        raise ValueError(tool)

    def floor(self, name):
        return os.path.join(self.args.floor_dir, name)

    def measure(self, key, entries, prepare, verify):
        """entries: [(label, argv_fn(dst))]. prepare(label, round) -> dst, outside the
        timing. verify(label, dst, stdout) -> None or what is wrong."""
        runs, warmup = self.args.runs, 1
        times = {label: [] for label, _ in entries}
        errors = []
        for rnd in range(warmup + runs):
            shift = rnd % len(entries)
            for label, argv_fn in entries[shift:] + entries[:shift]:
                dst = prepare(label, rnd)
                argv = argv_fn(dst)
                os.sync()
                t0 = time.perf_counter()
                p = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   text=True)
                elapsed = time.perf_counter() - t0
                if p.returncode != 0:
                    err = "exit %d: %s" % (p.returncode, p.stderr.strip()[-300:])
                else:
                    err = verify(label, dst, p.stdout)
                if err:
                    if label != "twinfold":
                        raise HarnessError("%s / %s: %s" % (key, label, err))
                    errors.append("round %d: %s" % (rnd, err))
                if rnd >= warmup:
                    times[label].append(elapsed)
            log("  %s round %d/%d done" % (key, rnd + 1 - warmup, runs) if rnd >= warmup
                else "  %s warm-up done" % key)
        return times, errors

    def record(self, key, times, errors, floor_labels):
        self.results[key] = {"times": {t: times[t] for t in TOOLS}, "errors": errors,
                             "floor": floor_labels[0] if floor_labels else None,
                             "floor_times": times[floor_labels[0]] if floor_labels else None}
        title = self.titles[key]
        for label in floor_labels:
            self.floors.append((title, label, times[label]))

    def remove_bulk(self, path):
        if os.path.lexists(path):
            remove_tree(path)
            self.needs_settle = True

    def settle_if_needed(self):
        """Before timing file creation: wait out a preceding bulk delete."""
        if self.needs_settle:
            settle(self.settle_s)
            self.needs_settle = False

    def selected(self, key):
        return not self.args.only or key in self.args.only

    def fresh_dir(self, *parts):
        path = os.path.join(self.runs_dir, *parts)
        os.makedirs(path)
        return path

    def mirror(self, src, *parts):
        dst = self.fresh_dir(*parts)
        run_checked(["cp", "-r", "--preserve=timestamps", src + "/.", dst])
        return dst

    # -- inputs
    def generate_inputs(self):
        gen = self.gen_tree
        m, w = self.scale["mixed"], self.scale["wide"]
        params = {"scale": self.args.scale, "mixed": m, "wide": w, "big": self.scale["big"]}
        stamp = os.path.join(self.inputs, "stamp.json")
        if self.args.keep_work and os.path.exists(stamp):
            with open(stamp) as f:
                old = json.load(f)
            if old.get("params") == params:
                log("reusing inputs in %s" % self.inputs)
                self.info = old["info"]
                return
        self.remove_bulk(self.work)
        self.settle_if_needed()
        os.makedirs(self.inputs)
        log("generating inputs in %s" % self.inputs)
        mixed = json.loads(run_checked(gen + [
            "mixed", os.path.join(self.inputs, "mixed"), "--dirs", str(m["dirs"]),
            "--depth", str(m["depth"]), "--files-per-dir", str(m["files_per_dir"]),
            "--large", str(m["large"]), "--large-min", str(m["large_min"]),
            "--large-max", str(m["large_max"]), "--seed", "1"]))
        wide = json.loads(run_checked(gen + [
            "wide", os.path.join(self.inputs, "wide"), "--subdirs", str(w["subdirs"]),
            "--files-per-dir", str(w["files_per_dir"])]))
        os.makedirs(os.path.join(self.inputs, "big"))
        big = json.loads(run_checked(gen + [
            "big", os.path.join(self.inputs, "big", "big.bin"), "--size", str(self.scale["big"])]))
        self.info = {"mixed": mixed, "wide": wide, "big": big}
        with open(stamp, "w") as f:
            json.dump({"params": params, "info": self.info}, f)

    def check_disk(self):
        """Refuse to start when the destinations would not fit."""
        def tree_bytes(files, lo=SMALL_MIN, hi=SMALL_MAX):
            avg = (hi - lo) / math.log(hi / lo) + 2048  # log-uniform mean + block slack
            return files * avg
        m, w = self.scale["mixed"], self.scale["wide"]
        mixed = tree_bytes(m["dirs"] * m["files_per_dir"]) + \
            m["large"] * (m["large_min"] + m["large_max"]) / 2
        wide = tree_bytes(w["subdirs"] * w["files_per_dir"])
        big = self.scale["big"]
        copies = 4 * (self.args.runs + 1)  # three tools and a floor, warm-up included
        need = (mixed + wide + big) + max(copies * mixed + 5 * mixed, copies * wide + wide,
                                          2 * big) + (1 << 30)
        os.makedirs(self.work, exist_ok=True)
        free = shutil.disk_usage(self.work).free
        log("disk: about %.1f GB needed, %.1f GB free under %s" % (need / 1e9, free / 1e9,
                                                                   self.work))
        if free < need:
            raise HarnessError("not enough free space under %s: need about %.1f GB, have %.1f GB"
                               % (self.work, need / 1e9, free / 1e9))

    # -- scenarios
    def run_initial(self, key, src_snap, block):
        """Mirror into a brand-new directory each run; all are kept until the block
        ends, so that no deletion comes between two timed runs."""
        log(self.titles[key])
        self.settle_if_needed()
        src, nfiles = src_snap[0], len(src_snap[1][0])
        cf = self.floor("copyfloor")
        entries = [(t, (lambda t: lambda d: self.command(t, src, d))(t)) for t in TOOLS]
        entries.append(("copyfloor -r", lambda d: [cf, "-r", src, d]))

        def prepare(label, rnd):
            return self.fresh_dir(block, "initial", "%s-%d" % (label.split()[0], rnd))

        def verify(label, dst, out):
            return compare_tree(src_snap, dst) or (
                check_summary(out, nfiles, 0) if label == "twinfold" else None)
        times, errors = self.measure(key, entries, prepare, verify)
        self.record(key, times, errors, ["copyfloor -r"])

    def run_noop(self, key, src_snap, block):
        """Re-sync into an up-to-date mirror, which must come out untouched."""
        log(self.titles[key])
        src, nfiles = src_snap[0], len(src_snap[1][0])
        sf = self.floor("statfloor")
        state = {"dst": self.mirror(src, block, "noop-0"), "mirrors": 1}
        entries = [(t, (lambda t: lambda d: self.command(t, src, d))(t)) for t in TOOLS]
        entries.append(("statfloor", lambda d: [sf, src, d]))

        def prepare(label, rnd):
            state["before"] = snapshot(state["dst"])
            return state["dst"]

        def verify(label, d, out):
            err = None
            if snapshot(d) != state["before"]:
                err = "the destination changed during a no-op run"
            elif label == "twinfold":
                err = check_summary(out, 0, nfiles)
            if err and label == "twinfold":
                # Let the peers go on against an intact mirror.
                state["dst"] = self.mirror(src, block, "noop-%d" % state["mirrors"])
                state["mirrors"] += 1
            return err
        times, errors = self.measure(key, entries, prepare, verify)
        self.record(key, times, errors, ["statfloor"])

    def run_incremental(self, key, src_snap, block):
        """Re-sync after 5% of the source files were made newer. Each tool keeps its
        own mirror; before every run the touched files there are set back to their
        old time, which restores the state a mirror of the untouched source had."""
        log(self.titles[key])
        src = src_snap[0]
        nfiles = len(src_snap[1][0])
        cf = self.floor("copyfloor")
        labels = list(TOOLS) + ["copyfloor -r -u"]
        dsts = {lab: self.mirror(src, block, "incr-" + lab.split()[0]) for lab in labels}
        listing = os.path.join(self.work, "touched.txt")
        stamp = os.path.join(self.inputs, "stamp.json")
        os.rename(stamp, stamp + ".touched")  # the source is not pristine until restored
        touched_info = json.loads(run_checked(self.gen_tree + [
            "touch", src, "--fraction", "0.05", "--seed", "2", "--list", listing]))
        with open(listing) as f:
            touched = [ln.rstrip("\n") for ln in f if ln.strip()]
        old = self.base_mtime()

        def set_back(root):
            for rel in touched:
                os.utime(os.path.join(root, rel), (old, old))
        try:
            touched_snap = source_snapshot(src)
            entries = [(t, (lambda t: lambda d: self.command(t, src, d))(t)) for t in TOOLS]
            entries.append(("copyfloor -r -u", lambda d: [cf, "-r", "-u", src, d]))
            rebuilt = [0]

            def prepare(label, rnd):
                set_back(dsts[label])
                return dsts[label]

            def verify(label, d, out):
                err = compare_tree(touched_snap, d, sample_from=touched) or (
                    check_summary(out, len(touched), nfiles - len(touched))
                    if label == "twinfold" else None)
                if err and label == "twinfold":
                    rebuilt[0] += 1
                    dsts[label] = self.mirror(src, block, "incr-twinfold-%d" % rebuilt[0])
                return err
            times, errors = self.measure(key, entries, prepare, verify)
            self.record(key, times, errors, ["copyfloor -r -u"])
            self.results[key]["touched"] = touched_info
        finally:
            set_back(src)
            os.rename(stamp + ".touched", stamp)

    def run_tree(self, name, scenarios):
        keys = [k for k in scenarios if self.selected(k)]
        if not keys:
            return
        src_snap = source_snapshot(os.path.join(self.inputs, name))
        for key in keys:
            if key.endswith("-initial"):
                self.run_initial(key, src_snap, name)
            elif key.endswith("-noop"):
                self.run_noop(key, src_snap, name)
            else:
                self.run_incremental(key, src_snap, name)
        self.remove_bulk(os.path.join(self.runs_dir, name))

    def base_mtime(self):
        sys.dont_write_bytecode = True
        sys.path.insert(0, self.args.shared)
        import gen_tree  # noqa: E402  (the shared generator, for its time constants)
        return gen_tree.BASE_MTIME

    def run_big(self):
        if not self.selected("big"):
            return
        log(self.titles["big"])
        src = os.path.join(self.inputs, "big")
        src_file = os.path.join(src, "big.bin")
        src_snap = source_snapshot(src)
        self.settle_if_needed()
        cf = self.floor("copyfloor")
        entries = [(t, (lambda t: lambda d: self.command(
            t, src, d, ("--buffer", "1M") if t == "twinfold" else ()))(t)) for t in TOOLS]
        for label, opts in (("copyfloor rw 1M", ["-m", "rw", "-b", "1M"]),
                            ("copyfloor rw 32K", ["-m", "rw", "-b", "32K"]),
                            ("copyfloor cfr", ["-m", "cfr"])):
            entries.append((label, (lambda o: lambda d: [cf, *o, src_file,
                                                         os.path.join(d, "big.bin")])(opts)))
        previous = []

        def prepare(label, rnd):
            # Delete the copy just made before the sync that precedes each timed run: its
            # pages are still dirty, so they are dropped instead of written back (this
            # saves tens of GB of disk writes), and one inode needs no settling.
            while previous:
                remove_tree(previous.pop())
            previous.append(self.fresh_dir("big", "%s-%d" % (label.replace(" ", "_"), rnd)))
            return previous[0]

        def verify(label, dst, out):
            return compare_tree(src_snap, dst) or (
                check_summary(out, 1, 0) if label == "twinfold" else None)
        times, errors = self.measure("big", entries, prepare, verify)
        self.record("big", times, errors, [e[0] for e in entries[len(TOOLS):]])
        remove_tree(os.path.join(self.runs_dir, "big"))

    # -- report
    def rows(self):
        out = []
        for key, _, peer, limit in SCENARIOS:
            title = self.titles[key]
            r = self.results.get(key)
            if not r:
                continue
            med = {t: statistics.median(r["times"][t]) for t in TOOLS}
            floor = statistics.median(r["floor_times"]) if r["floor_times"] else None
            vs_cp = med["twinfold"] / med["cp"]
            vs_rsync = med["twinfold"] / med["rsync"]
            if r["errors"]:
                status = "FAIL (wrong result)"
            elif peer is None:
                status = "-"
            else:
                status = "PASS" if (vs_cp if peer == "cp" else vs_rsync) <= limit else "FAIL"
            target = "<= %.2fx %s" % (limit, peer) if peer else "(none)"
            out.append({"key": key, "title": title, "median": med, "floor": floor,
                        "floor_label": r["floor"], "vs_cp": vs_cp, "vs_rsync": vs_rsync,
                        "target": target, "status": status, "errors": r["errors"]})
        return out

    def table(self, rows):
        head = ("| scenario | twinfold | cp -ru | rsync -rt | floor | twinfold/cp "
                "| twinfold/rsync | target | result |\n"
                "|---|---:|---:|---:|---:|---:|---:|---|---|\n")
        body = "".join(
            "| %s | %.3f | %.3f | %.3f | %s | %.3fx | %.3fx | %s | %s |\n" % (
                r["title"], r["median"]["twinfold"], r["median"]["cp"], r["median"]["rsync"],
                "%.3f" % r["floor"] if r["floor"] is not None else "-",
                r["vs_cp"], r["vs_rsync"], r["target"], r["status"])
            for r in rows)
        return head + body

    def machine_notes(self):
        def version(argv):
            try:
                return subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                      text=True).stdout.splitlines()[0]
            except (OSError, IndexError):
                return "?"
        fs = "?"
        for argv in (["findmnt", "-n", "-o", "FSTYPE,OPTIONS", "-T", self.work],
                     ["stat", "-f", "-c", "%T", self.work]):
            try:
                fs = " ".join(run_checked(argv).split())
                break
            except (HarnessError, OSError):
                pass
        mem = "?"
        try:
            with open("/proc/meminfo") as f:
                mem = "%.1f GiB" % (int(f.readline().split()[1]) / (1 << 20))
        except OSError:
            pass
        commit = subprocess.run(["git", "-C", self.args.repo, "rev-parse", "--short", "HEAD"],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                text=True).stdout.strip() or "?"
        return [
            ("date", datetime.now(timezone.utc).strftime("%Y-%m-%d %H:%M UTC")),
            ("scale", "%s, %d timed runs after 1 warm-up, warm cache" % (self.args.scale,
                                                                        self.args.runs)),
            ("twinfold-cli", "%s (commit %s)" % (self.args.twinfold, commit)),
            ("machine", "%s, %d CPUs, %s RAM, kernel %s" % (
                platform.machine(), os.cpu_count() or 0, mem, platform.release())),
            ("file system", "%s (%s)" % (fs, self.work)),
            ("cp", version(["cp", "--version"])),
            ("rsync", version(["rsync", "--version"])),
        ]

    def write_report(self, elapsed):
        rows = self.rows()
        table = self.table(rows)
        print("\n" + table, flush=True)
        for r in rows:
            for e in r["errors"]:
                print("%s: twinfold-cli %s" % (r["title"], e), flush=True)
        os.makedirs(self.args.out, exist_ok=True)
        md = ["# Twinfold benchmark results\n\n",
              "Medians in seconds; ratios are of medians measured in the same run.\n\n",
              table]
        wrong = [(r["title"], e) for r in rows for e in r["errors"]]
        if wrong:
            md.append("\n## Wrong results\n\n" + "".join(
                "- %s: %s\n" % (t, e) for t, e in wrong))
        md.append("\n## Floors (reference)\n\n| scenario | floor | median |\n|---|---|---:|\n")
        md.extend("| %s | %s | %.3f |\n" % (t, lab, statistics.median(ts))
                  for t, lab, ts in self.floors)
        md.append("\n## Inputs\n\n")
        for k, v in self.info.items():
            md.append("- %s: %d files, %.1f MB\n" % (k, v["files"], v["bytes"] / 1e6))
        inc = self.results.get("mixed-incremental", {}).get("touched")
        if inc:
            md.append("- 5%% newer: %d files touched, %.1f MB\n" % (inc["touched"],
                                                                  inc["bytes"] / 1e6))
        md.append("\n## Machine\n\n")
        md.extend("- %s: %s\n" % kv for kv in self.notes)
        md.append("- wall time of the whole run: %.0f s\n" % elapsed)
        md.append("\n## Raw times (s, timed runs in order)\n\n| scenario | tool | times |\n"
                  "|---|---|---|\n")
        titles = self.titles
        for key, r in self.results.items():
            for tool in TOOLS:
                md.append("| %s | %s | %s |\n" % (titles[key], tool, " ".join(
                    "%.3f" % x for x in r["times"][tool])))
        for t, lab, ts in self.floors:
            md.append("| %s | %s | %s |\n" % (t, lab, " ".join("%.3f" % x for x in ts)))
        path = os.path.join(self.args.out, "results.md")
        with open(path, "w") as f:
            f.write("".join(md))
        with open(os.path.join(self.args.out, "results.json"), "w") as f:
            json.dump({"rows": rows, "floors": self.floors, "inputs": self.info,
                       "raw": self.results, "machine": dict(self.notes)}, f,
                      indent=1)
        log("results written to %s" % path)
        return rows

    def run(self):
        t0 = time.perf_counter()
        self.check_disk()
        self.notes = self.machine_notes()
        self.generate_inputs()
        self.remove_bulk(self.runs_dir)
        try:
            self.run_tree("mixed", ("mixed-initial", "mixed-noop", "mixed-incremental"))
            self.run_tree("wide", ("wide-initial", "wide-noop"))
            self.run_big()
        finally:
            remove_tree(self.runs_dir)
            if not self.args.keep_work:
                remove_tree(self.work)
        rows = self.write_report(time.perf_counter() - t0)
        return 0 if all(not r["status"].startswith("FAIL") for r in rows) else 1


def run_harness(parser, harness, script, programs, tools):
    """Runs a harness once its programs and tools are there; 2 when the harness itself failed."""
    for exe in programs:
        if not os.access(exe, os.X_OK):
            parser.error("not found or not executable: %s (run %s)" % (exe, script))
    for tool in tools:
        if not shutil.which(tool):
            parser.error("%s is not installed" % tool)
    try:
        return harness.run()
    except HarnessError as e:
        log("bench: %s" % e)
        return 2

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(here)
    env = os.environ.get
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--small", action="store_true", help="tiny inputs, to check the harness")
    p.add_argument("--runs", type=int, default=int(env("BENCH_RUNS", "5")))
    p.add_argument("--work", default=env("BENCH_WORK", os.path.join(here, "out", "work")))
    p.add_argument("--out", default=os.path.join(here, "out"))
    p.add_argument("--keep-work", action="store_true",
                   default=env("BENCH_KEEP_WORK", "") not in ("", "0"),
                   help="keep the generated inputs (reused by the next run)")
    p.add_argument("--settle", type=float, default=None,
                   help="seconds to wait after bulk deletions (default 30, small 1)")
    p.add_argument("--only", nargs="+", choices=[k for k, _, _, _ in SCENARIOS])
    p.add_argument("--twinfold", default=env("TWINFOLD_CLI", os.path.join(
        repo, "build", "release", "cli", "twinfold-cli")))
    p.add_argument("--shared", default=env("TWINFOLD_SHARED_BENCH", os.path.join(
        os.path.dirname(repo), "shared", "bench")))
    p.add_argument("--floor-dir", default=os.path.join(here, "out", "floor"))
    args = p.parse_args()
    args.repo = repo
    args.scale = "small" if args.small or env("BENCH_SCALE") == "small" else "full"
    if env("BENCH_SETTLE") and args.settle is None:
        args.settle = float(env("BENCH_SETTLE"))
    if args.runs < 1:
        p.error("--runs must be at least 1")
    args.out = os.path.abspath(args.out)
    return run_harness(p, Bench(args), "bench/run.sh",
                       (args.twinfold, os.path.join(args.floor_dir, "statfloor"),
                        os.path.join(args.floor_dir, "copyfloor")), ("cp", "rsync"))


if __name__ == "__main__":
    sys.exit(main())
