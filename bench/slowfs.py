#!/usr/bin/env python3
"""twinfold-cli against cp, rsync and a parallel floor with the destination on a slow share.

bench/slowfs.sh builds everything and calls this. The share is the shared `slowfs`, a FUSE
pass-through that makes every metadata request one round trip (--meta-us) and moves data at
--data-mbps; its kernel caches are off, like a share whose client caches nothing. The source
stays on the local disk. Every timed run gets its own mount with `-o stats=FILE`, so each run
also says how many requests of each kind it sent; the mount and the unmount are outside the
timing, and so is the check of the result, which reads the backing directory directly.

Scenarios: the initial mirror (a brand-new destination every run) and the no-op re-sync (an
up-to-date mirror made by cp, which must come out untouched). Medians of --runs rounds; in
each round every tool runs once and the order rotates from round to round.

Writes OUT/slowfs-results.md and OUT/slowfs-results.json.
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import time

from bench import (HarnessError, check_summary, run_harness, compare_tree, log, remove_tree, run_checked,
                   snapshot, source_snapshot)

TOOLS = ("twinfold", "cp", "rsync", "parfloor")
MIB = 1 << 20
# What slowfs counts besides the metadata round trips (its metadata_total leaves them out).
NOT_ROUND_TRIPS = ("metadata_total", "getattr_in_reply", "read", "write")

# The shared reference input on the share: 5,004 files in 100 directories, about 162 MB.
SCALES = {
    "full": {"dirs": 100, "depth": 3, "files_per_dir": 50, "large": 4,
             "large_min": 8 * MIB, "large_max": 32 * MIB},
    "small": {"dirs": 10, "depth": 2, "files_per_dir": 20, "large": 1,
              "large_min": 2 * MIB, "large_max": 4 * MIB},
}

# (key, title, parfloor's options, targets as (peer, highest ratio of medians))
SCENARIOS = (
    ("initial", "initial mirror", ["-c", "-s", "-j", "8"], (("cp", 0.25), ("parfloor", 2.5))),
    ("noop", "no-op re-sync", ["-j", "16"], (("cp", 0.1), ("rsync", 0.1), ("parfloor", 2.0))),
)


class Share:
    """One slowfs mount of BACKING on MOUNT; counts its requests into a stats file."""

    def __init__(self, args, backing, mount, stats):
        self.argv = [args.slowfs, backing, mount, "-f", "-o", "meta_us=%d" % args.meta_us,
                     "-o", "data_mbps=%g" % args.data_mbps, "-o", "stats=" + stats]
        self.mount, self.stats, self.proc = os.path.realpath(mount), stats, None

    def mounted(self):
        # Read the mount table, not the mount point: a stat of it would be a counted request.
        with open("/proc/self/mountinfo") as f:
            return any(line.split()[4] == self.mount for line in f)

    def __enter__(self):
        if os.path.exists(self.stats):
            os.remove(self.stats)
        self.proc = subprocess.Popen(self.argv, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE, text=True)
        deadline = time.monotonic() + 10
        while not self.mounted():
            if self.proc.poll() is not None or time.monotonic() > deadline:
                self.proc.kill()
                raise HarnessError("slowfs did not mount: %s" % self.proc.stderr.read().strip())
            time.sleep(0.02)
        return self

    def __exit__(self, *exc):
        subprocess.run(["fusermount3", "-u", self.mount], stderr=subprocess.DEVNULL)
        try:
            self.proc.wait(timeout=30)
        except subprocess.TimeoutExpired:
            subprocess.run(["fusermount3", "-u", "-z", self.mount], stderr=subprocess.DEVNULL)
            self.proc.kill()
            self.proc.wait()
            raise HarnessError("slowfs did not end after the unmount")
        return False

    def counts(self):
        """Requests of each kind, read after the unmount."""
        out = {}
        with open(self.stats) as f:
            for line in f:
                kind, value = line.split()
                out[kind] = int(value)
        return out


class SlowBench:
    def __init__(self, args):
        self.args = args
        self.work = os.path.abspath(args.work)
        self.src = os.path.join(self.work, "src")
        self.backing = os.path.join(self.work, "share")
        self.mount = os.path.join(self.work, "mnt")
        self.stats = os.path.join(self.work, "stats.txt")
        self.results = {}

    def command(self, tool, dst, scenario):
        src = self.src
        if tool == "twinfold":
            return [self.args.twinfold, "sync", src, dst, "--all", "--quiet",
                    *self.args.twinfold_arg]
        if tool == "cp":
            return ["cp", "-ru", "--preserve=timestamps", src + "/.", dst]
        if tool == "rsync":
            return ["rsync", "-rt", "--update", src + "/", dst + "/"]
        options = next(s[2] for s in SCENARIOS if s[0] == scenario)
        return [self.args.parfloor, *options, src, dst]

    def generate(self):
        remove_tree(self.work)
        os.makedirs(self.backing)
        os.makedirs(self.mount)
        s = SCALES[self.args.scale]
        info = json.loads(run_checked([
            sys.executable, os.path.join(self.args.shared, "gen_tree.py"), "mixed", self.src,
            "--dirs", str(s["dirs"]), "--depth", str(s["depth"]),
            "--files-per-dir", str(s["files_per_dir"]), "--large", str(s["large"]),
            "--large-min", str(s["large_min"]), "--large-max", str(s["large_max"]),
            "--seed", "1"]))
        log("source: %d files, %.1f MB in %s" % (info["files"], info["bytes"] / 1e6, self.src))
        return info

    def timed_run(self, scenario, tool, dst_rel):
        """Mount, run one tool into MOUNT/dst_rel, unmount. (seconds, stdout, counts)."""
        os.sync()
        with Share(self.args, self.backing, self.mount, self.stats) as share:
            argv = self.command(tool, os.path.join(self.mount, dst_rel), scenario)
            t0 = time.perf_counter()
            p = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            elapsed = time.perf_counter() - t0
        if p.returncode != 0:
            raise HarnessError("%s / %s: exit %d: %s" % (scenario, tool, p.returncode,
                                                        p.stderr.strip()[-300:]))
        return elapsed, p.stdout, share.counts()

    def measure(self, scenario, src_snap):
        nfiles = len(src_snap[1][0])
        times = {t: [] for t in TOOLS}
        counts = {t: [] for t in TOOLS}
        errors = []
        noop_rel = "noop"
        if scenario == "noop":
            noop_dst = os.path.join(self.backing, noop_rel)
            os.makedirs(noop_dst)
            run_checked(["cp", "-r", "--preserve=timestamps", self.src + "/.", noop_dst])
        for rnd in range(self.args.runs):
            shift = rnd % len(TOOLS)
            for tool in TOOLS[shift:] + TOOLS[:shift]:
                if scenario == "initial":
                    rel = "initial-%s-%d" % (tool, rnd)
                    os.makedirs(os.path.join(self.backing, rel))
                    before = None
                else:
                    rel = noop_rel
                    before = snapshot(os.path.join(self.backing, rel))
                elapsed, out, got = self.timed_run(scenario, tool, rel)
                dst = os.path.join(self.backing, rel)
                if before is None:
                    err = compare_tree(src_snap, dst)
                    expect = (nfiles, 0)
                else:
                    err = None if snapshot(dst) == before else "the destination changed"
                    expect = (0, nfiles)
                if not err and tool == "twinfold":
                    err = check_summary(out, *expect)
                if err:
                    if tool != "twinfold":
                        raise HarnessError("%s / %s: %s" % (scenario, tool, err))
                    errors.append("round %d: %s" % (rnd, err))
                times[tool].append(elapsed)
                counts[tool].append(got)
                log("  %s round %d/%d: %-8s %7.2f s, %d requests" % (
                    scenario, rnd + 1, self.args.runs, tool, elapsed, got["metadata_total"]))
        self.results[scenario] = {"times": times, "counts": counts, "errors": errors,
                                  "files": nfiles}

    # -- report
    def per_file(self, scenario, tool):
        """The run with the median request count: {kind: requests per file}."""
        r = self.results[scenario]
        runs = sorted(r["counts"][tool], key=lambda c: c["metadata_total"])
        median_run = runs[len(runs) // 2]
        return {k: v / r["files"] for k, v in median_run.items()
                if not k.startswith("bytes_")}

    def report(self, info, elapsed):
        lines = ["| scenario | twinfold | cp -ru | rsync -rt | parfloor | twinfold/cp "
                 "| twinfold/rsync | twinfold/parfloor | targets | result |",
                 "|---|---:|---:|---:|---:|---:|---:|---:|---|---|"]
        failed = False
        for key, title, options, targets in SCENARIOS:
            r = self.results.get(key)
            if not r:
                continue
            med = {t: statistics.median(r["times"][t]) for t in TOOLS}
            ratio = {t: med["twinfold"] / med[t] for t in TOOLS}
            met = all(ratio[peer] <= limit for peer, limit in targets)
            status = "FAIL (wrong result)" if r["errors"] else ("PASS" if met else "FAIL")
            failed |= status != "PASS"
            lines.append("| %s | %.2f | %.2f | %.2f | %.2f (`%s`) | %.3fx | %.3fx | %.2fx "
                         "| %s | %s |" % (
                             title, med["twinfold"], med["cp"], med["rsync"], med["parfloor"],
                             " ".join(options), ratio["cp"], ratio["rsync"],
                             ratio["parfloor"],
                             ", ".join("<= %gx %s" % (lim, p) for p, lim in targets), status))
        lines += ["", "Requests to the share per file (the run with the median count):", "",
                  "| scenario | tool | round trips | by kind | data writes |",
                  "|---|---|---:|---|---:|"]
        for key, title, _, _ in SCENARIOS:
            if key not in self.results:
                continue
            for tool in TOOLS:
                pf = self.per_file(key, tool)
                kinds = ", ".join("%s %.2f" % (k, v) for k, v in sorted(
                    pf.items(), key=lambda kv: -kv[1]) if k not in NOT_ROUND_TRIPS)
                lines.append("| %s | %s | %.2f | %s | %.2f |" % (
                    title, tool, pf["metadata_total"], kinds, pf.get("write", 0)))
        raw = ["", "Raw times (s, in the order run):", ""]
        for key in self.results:
            for tool in TOOLS:
                raw.append("- %s, %s: %s" % (key, tool, " ".join(
                    "%.2f" % x for x in self.results[key]["times"][tool])))
        errors = ["- %s: twinfold-cli %s" % (k, e) for k, r in self.results.items()
                  for e in r["errors"]]
        text = "\n".join(lines) + "\n"
        print("\n" + text, flush=True)
        for e in errors:
            print(e, flush=True)
        os.makedirs(self.args.out, exist_ok=True)
        head = ("# Twinfold on a slow share\n\nslowfs with meta_us=%d, data_mbps=%g; source "
                "on the local disk: %d files, %.1f MB (%s scale); %d rounds; %s; whole run "
                "%.0f s.\n\n" % (self.args.meta_us, self.args.data_mbps, info["files"],
                                 info["bytes"] / 1e6, self.args.scale, self.args.runs,
                                 " ".join([self.args.twinfold, *self.args.twinfold_arg]),
                                 elapsed))
        with open(os.path.join(self.args.out, "slowfs-results.md"), "w") as f:
            f.write(head + text + "\n".join(raw + [""] + errors) + "\n")
        with open(os.path.join(self.args.out, "slowfs-results.json"), "w") as f:
            json.dump({"inputs": info, "results": self.results}, f, indent=1)
        return 1 if failed else 0

    def run(self):
        t0 = time.perf_counter()
        info = self.generate()
        src_snap = source_snapshot(self.src)
        # Warm the source's pages: the source is local and cached in every timed run.
        with open(os.devnull, "w") as sink:
            subprocess.run(["find", self.src, "-type", "f", "-exec", "cat", "{}", "+"],
                           stdout=sink, check=True)
        try:
            for key, title, _, _ in SCENARIOS:
                if not self.args.only or key in self.args.only:
                    log(title)
                    self.measure(key, src_snap)
        finally:
            if not self.args.keep_work:
                remove_tree(self.work)
        return self.report(info, time.perf_counter() - t0)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(here)
    env = os.environ.get
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--small", action="store_true", help="a tree of about 200 files")
    p.add_argument("--runs", type=int, default=int(env("BENCH_RUNS", "3")))
    p.add_argument("--only", nargs="+", choices=[s[0] for s in SCENARIOS])
    p.add_argument("--meta-us", type=int, default=1000, help="microseconds per metadata call")
    p.add_argument("--data-mbps", type=float, default=100, help="MB/s of the share's data link")
    p.add_argument("--work", default=env("BENCH_WORK", os.path.join(here, "out", "slowfs-work")))
    p.add_argument("--out", default=os.path.join(here, "out"))
    p.add_argument("--keep-work", action="store_true")
    p.add_argument("--twinfold-arg", action="append", default=[], metavar="ARG",
                   help="one more argument for twinfold-cli sync (repeatable)")
    p.add_argument("--twinfold", default=env("TWINFOLD_CLI", os.path.join(
        repo, "build", "release", "cli", "twinfold-cli")))
    p.add_argument("--shared", default=env("TWINFOLD_SHARED_BENCH", os.path.join(
        os.path.dirname(repo), "shared", "bench")))
    p.add_argument("--floor-dir", default=os.path.join(here, "out", "floor"))
    args = p.parse_args()
    args.scale = "small" if args.small else "full"
    args.out = os.path.abspath(args.out)
    args.slowfs = os.path.join(args.floor_dir, "slowfs")
    args.parfloor = os.path.join(args.floor_dir, "parfloor")
    if args.runs < 1:
        p.error("--runs must be at least 1")
    return run_harness(p, SlowBench(args), "bench/slowfs.sh",
                       (args.twinfold, args.slowfs, args.parfloor), ("cp", "rsync", "fusermount3"))


if __name__ == "__main__":
    sys.exit(main())
