#!/usr/bin/env python3
"""Runs benchmark programs and prints, for every group, the time of each
implementation divided by the time of the "kyn" implementation of the same
group and arguments (measured in the same run).

Benchmark names: GROUP/IMPL or GROUP/IMPL/ARGS...  Usage: ratios.py PROGRAM...
"""
import json
import subprocess
import sys


def main(programs):
    for prog in programs:
        out = subprocess.run([prog, "--benchmark_format=json"], check=True,
                             capture_output=True, text=True).stdout
        data = json.loads(out)
        groups = {}
        for b in data["benchmarks"]:
            if b.get("run_type") == "aggregate":
                continue
            parts = b["name"].split("/")
            if len(parts) < 2:
                continue
            key = (parts[0], "/".join(parts[2:]))
            groups.setdefault(key, {})[parts[1]] = b["real_time"]
        print(f"== {prog}")
        for (group, args), impls in groups.items():
            base = impls.get("kyn")
            label = group + (f"/{args}" if args else "")
            for impl, t in impls.items():
                if impl == "kyn" or base is None:
                    continue
                print(f"{label:40s} kyn time / {impl} time = {base / t:6.2f}")


if __name__ == "__main__":
    main(sys.argv[1:])
