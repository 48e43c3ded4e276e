#!/usr/bin/env python3
"""Times whole processes side by side and prints their medians and ratios.

    compare-processes.py [--runs N] [--warmup N] [--one-cpu] [--status-ok 0,1]
                         NAME COUNT ARG... NAME COUNT ARG...

Each side is a name, the number of its command's words, and those words; the first side is
the reference. The sides run alternately; each child's wall time, CPU time (user + system)
and peak memory come from wait4(), so nothing but the child is counted. The warm-up runs
only fill the caches. With --one-cpu every side runs on the same single processor: the
processors of a shared machine can differ in speed by a third, which would otherwise decide
the ratio.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--warmup", type=int, default=1)
    parser.add_argument("--one-cpu", action="store_true")
    parser.add_argument("--status-ok", default="0", help="exit statuses that count as success")
    parser.add_argument("sides", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    ok = {int(s) for s in args.status_ok.split(",")}

    sides, words = [], args.sides
    while words:
        name, count = words[0], int(words[1])
        sides.append((name, words[2:2 + count]))
        words = words[2 + count:]
    if len(sides) < 2:
        sys.exit("compare-processes: give at least two sides")
    if args.one_cpu:
        os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})

    samples = {name: {"wall": [], "cpu": [], "rss": []} for name, _ in sides}
    for run in range(args.warmup + args.runs):
        for name, command in sides:
            begin = time.monotonic()
            child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            _, status, usage = os.wait4(child.pid, 0)
            wall = time.monotonic() - begin
            code = os.waitstatus_to_exitcode(status)
            if code not in ok:
                sys.exit("%s failed with status %d: %s" % (name, code, " ".join(command)))
            if run >= args.warmup:
                samples[name]["wall"].append(wall * 1e3)
                samples[name]["cpu"].append((usage.ru_utime + usage.ru_stime) * 1e3)
                samples[name]["rss"].append(usage.ru_maxrss / 1024)

    median = {n: {k: statistics.median(v) for k, v in s.items()} for n, s in samples.items()}
    width = max(len(name) for name, _ in sides)
    for name, _ in sides:
        m = median[name]
        print("%-*s median of %d: wall %.1f ms, CPU %.1f ms, peak memory %.1f MiB"
              % (width, name, args.runs, m["wall"], m["cpu"], m["rss"]))
    reference = sides[0][0]
    r = median[reference]
    for name, _ in sides[1:]:
        m = median[name]
        print("ratio %s/%s: wall %.2f, CPU %.2f, peak memory %.2f"
              % (name, reference, m["wall"] / r["wall"], m["cpu"] / r["cpu"],
                 m["rss"] / r["rss"]))


if __name__ == "__main__":
    main()
