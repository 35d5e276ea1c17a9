#!/usr/bin/env python3
"""Prints each xamu case beside its baselines from a xamu_bench JSON report.

Cases are named FAMILY/IMPLEMENTATION/ARGS. Ratios are xamu's wall time over the
baseline's, for the median and for the fastest repetition; below 1 means xamu is faster.
"""
import json
import sys

MICROSECONDS = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
SETTINGS = ("repeats:", "iterations:", "min_time:", "real_time", "manual_time")


def aggregates(report):
    for row in report["benchmarks"]:
        if row.get("run_type") == "aggregate" and row.get("aggregate_name") in ("median", "min"):
            parts = row["run_name"].split("/")
            args = "/".join(p for p in parts[2:] if not p.startswith(SETTINGS))
            yield (parts[0], args), parts[1], row["aggregate_name"], row


def number(value):
    """Whole units from 1000 on, two decimals below."""
    return f"{value:>11.0f}" if value >= 1000 else f"{value:>11.2f}"


def rate(ours):
    """Payload MB/s of the median and of the fastest repetition."""
    median = ours["median"]
    mb = median.get("bytes_per_second", 0) / 1e6
    return mb, mb * median["real_time"] / ours["min"]["real_time"]


def main(path):
    with open(path) as f:
        report = json.load(f)
    cases = {}
    for key, implementation, statistic, row in aggregates(report):
        cases.setdefault(key, {}).setdefault(implementation, {})[statistic] = row
    print(f"{'case':<34} {'baseline':<18} {'xamu median':>14} {'base median':>14} {'ratio':>6}"
          f" {'xamu min':>14} {'base min':>14} {'ratio':>6}  xamu payload/s (median, best)")
    alone = []
    for (family, args), rows in sorted(cases.items(), key=lambda c: order((*c[0], ""))):
        if len(rows) == 1:
            alone.append((family, args, *next(iter(rows.items()))))
        ours = rows.get("xamu")
        if ours is None:
            continue
        for name, other in sorted(rows.items()):
            if name == "xamu":
                continue
            line = f"{family + '/' + args:<34} {name:<18}"
            for statistic in ("median", "min"):
                a, b = ours[statistic], other[statistic]
                line += (f" {number(a['real_time'])} {a['time_unit']:<2} "
                         f"{number(b['real_time'])} {b['time_unit']:<2} "
                         f"{a['real_time'] / b['real_time']:>6.3f}")
            print(f"{line}  {rate(ours)[0]:.1f}, {rate(ours)[1]:.1f} MB/s")
    if alone:
        # Cases without a baseline: their rate.
        print()
        print(f"{'case':<36} {'median':>14} {'min':>14}  payload/s (median, best)")
        for family, args, name, ours in sorted(alone, key=order):
            median, best = ours["median"], ours["min"]
            print(f"{family + '/' + name + '/' + args:<36}"
                  f" {number(median['real_time'])} {median['time_unit']:<2}"
                  f" {number(best['real_time'])} {best['time_unit']:<2}"
                  f"  {'%.1f, %.1f MB/s' % rate(ours)}")
    # Cases that count packets: the time per packet, which stays flat when time grows
    # linearly with the number of packets.
    counted = [(family, args, name, row) for (family, args), rows in cases.items()
               for name, row in rows.items() if row["median"].get("packets")]
    if counted:
        print()
        print(f"{'case':<40} per packet, median and best")
        for family, args, name, row in sorted(counted, key=order):
            median, best = row["median"], row["min"]
            us = MICROSECONDS[median["time_unit"]] / median["packets"]
            print(f"{family + '/' + name + '/' + args:<40}"
                  f" {median['real_time'] * us:>8.3f} {best['real_time'] * us:>8.3f} us")


def order(case):
    family, args, name = case[0], case[1], case[2]
    return family, name, int(args) if args.isdigit() else 0, args


if __name__ == "__main__":
    main(sys.argv[1])
