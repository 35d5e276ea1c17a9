#!/usr/bin/env python3
"""Prints each xamu case beside its baselines from a xamu_bench JSON report.

Cases are named FAMILY/IMPLEMENTATION/ARGS. Ratios are xamu's wall time over the
baseline's, for the median and for the fastest repetition; below 1 means xamu is faster.
"""
import json
import sys

SETTINGS = ("repeats:", "iterations:", "min_time:", "real_time", "manual_time")


def aggregates(report):
    for row in report["benchmarks"]:
        if row.get("run_type") == "aggregate" and row.get("aggregate_name") in ("median", "min"):
            parts = row["run_name"].split("/")
            args = "/".join(p for p in parts[2:] if not p.startswith(SETTINGS))
            yield (parts[0], args), parts[1], row["aggregate_name"], row


def main(path):
    with open(path) as f:
        report = json.load(f)
    cases = {}
    for key, implementation, statistic, row in aggregates(report):
        cases.setdefault(key, {}).setdefault(implementation, {})[statistic] = row
    print(f"{'case':<24} {'baseline':<10} {'xamu median':>14} {'base median':>14} {'ratio':>6}"
          f" {'xamu min':>14} {'base min':>14} {'ratio':>6}  xamu payload/s (median, best)")
    for (family, args), rows in sorted(cases.items()):
        ours = rows.get("xamu")
        if ours is None:
            continue
        for name, other in sorted(rows.items()):
            if name == "xamu":
                continue
            line = f"{family + '/' + args:<24} {name:<10}"
            for statistic in ("median", "min"):
                a, b = ours[statistic], other[statistic]
                line += (f" {a['real_time']:>11.0f} {a['time_unit']:<2} "
                         f"{b['real_time']:>11.0f} {b['time_unit']:<2} "
                         f"{a['real_time'] / b['real_time']:>6.3f}")
            median = ours["median"]
            rate = median.get("bytes_per_second", 0) / 1e6
            best = rate * median["real_time"] / ours["min"]["real_time"]
            print(f"{line}  {rate:.1f}, {best:.1f} MB/s")


if __name__ == "__main__":
    main(sys.argv[1])
