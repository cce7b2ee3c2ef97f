#!/usr/bin/env python3
"""Speed and memory of pdm-export on generated models, measured side by side.

For each model size the script
  - generates a model file (bench_tool generate: ten columns per table, a key
    with its index, one to three references, a symbol for every table and
    reference);
  - times whole `pdm-export` runs alternately with copying the output file
    (cp), so that both see the same machine, and takes the ratio pair by pair,
    of wall time and of processor time (user + system: on a shared machine
    the wall clock also counts waiting for a processor);
  - times the general-purpose yardstick, a fresh process in every round of
    the same alternation, and takes the ratio round by round:
    simdjson parsing the same model file plus pugixml saving the same
    document unindented over an existing file. simdjson is timed twice: its
    first load of the file (a fresh parser reading and parsing it, memory
    touched for the first time, as a whole run meets its input) and warm
    (the best of repeated parses of the text in memory by one parser). The
    ratio to the first load is the like-for-like one; the warm one is
    printed beside it;
  - when every size has had its whole runs, times the phases inside one
    process (load, export, deleting the model), a fresh process for each
    round, the sizes taking turns round by round so that the ratios of time
    per table between sizes compare like with like, and counts their
    allocations with a counting allocator;
  (the last two in processor time of the process)
  - reads the peak memory of the whole run.
It prints a table and the ratios, and can write the figures as JSON for
bench/plot_bench.py. It measures and never judges: no threshold, no failure
on a slow run (only a failing command or differing output fails it).

  python3 bench/run_bench.py --build build-bench --sizes 1000,10000,100000
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run_timed(command):
    """Runs `command`; returns (wall seconds, cpu seconds, peak RSS in bytes)."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    stderr = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit(f"command failed ({process.returncode}): {' '.join(command)}\n{stderr}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024


def read_pairs(text):
    """The 'key value' lines that bench_tool prints, as a dict of floats."""
    values = {}
    for line in text.splitlines():
        key, _, value = line.partition(" ")
        values[key] = float(value)
    return values


def tool(build, *arguments):
    result = subprocess.run([os.path.join(build, "bin", "bench_tool"), *map(str, arguments)],
                            check=True, capture_output=True, text=True)
    return read_pairs(result.stdout)


def files_equal(a, b):
    with open(a, "rb") as first, open(b, "rb") as second:
        while True:
            x, y = first.read(1 << 20), second.read(1 << 20)
            if x != y:
                return False
            if not x:
                return True


def measure(build, tables, runs, work):
    model = os.path.join(work, f"model-{tables}.json")
    output = os.path.join(work, f"out-{tables}.pdm")
    copy = os.path.join(work, f"copy-{tables}.pdm")
    tool(build, "generate", tables, model)
    export = [os.path.join(build, "bin", "pdm-export"), model, "-o", output, "--time", "0", "-q"]
    copy_command = ["cp", output, copy]

    # One untimed run of each to warm the file cache, then A B A B ...
    run_timed(export)
    run_timed(copy_command)
    whole, copies, cpus, copy_cpus, peaks, floors = [], [], [], [], [], []
    for _ in range(runs):
        wall, cpu, peak = run_timed(export)
        whole.append(wall)
        cpus.append(cpu)
        peaks.append(peak)
        wall, cpu, _ = run_timed(copy_command)
        copies.append(wall)
        copy_cpus.append(cpu)
        floors.append(tool(build, "floor", model, output, 2))
    ratios = [a / b for a, b in zip(whole, copies)]
    cpu_ratios = [a / b for a, b in zip(cpus, copy_cpus)]
    library_ratios = [a / (f["simdjson_first_s"] + f["pugixml_save_s"])
                      for a, f in zip(cpus, floors)]
    warm_library_ratios = [a / (f["simdjson_parse_s"] + f["pugixml_save_s"])
                           for a, f in zip(cpus, floors)]
    floor = {key: statistics.median(f[key] for f in floors) for key in floors[0]}

    result = {
        "tables": tables,
        "json_bytes": os.path.getsize(model),
        "pdm_bytes": os.path.getsize(output),
        "whole_s": statistics.median(whole),
        "whole_cpu_s": statistics.median(cpus),
        "copy_s": statistics.median(copies),
        "whole_vs_copy": statistics.median(ratios),
        "copy_cpu_s": statistics.median(copy_cpus),
        "whole_vs_copy_cpu": statistics.median(cpu_ratios),
        "peak_rss_bytes": max(peaks),
        "simdjson_first_s": floor["simdjson_first_s"],
        "simdjson_parse_s": floor["simdjson_parse_s"],
        "pugixml_save_s": floor["pugixml_save_s"],
    }
    result["whole_vs_libraries"] = statistics.median(library_ratios)
    result["whole_vs_libraries_warm"] = statistics.median(warm_library_ratios)
    os.remove(copy)
    return result


PHASE_KEYS = ("load_s", "export_s", "teardown_s", "load_system_s", "export_system_s",
              "load_allocations", "export_allocations", "model_bytes", "export_extra_bytes")


def measure_phases(build, results, runs, work):
    """Times the phases of every size in rounds that take the sizes in turn.

    Each round of phases runs in a fresh process, so that every size is
    measured as the program meets it (memory touched for the first time), not
    with the blocks that an earlier round left in the model's pool. The sizes
    alternate round by round, so that a slow spell of a shared machine falls
    on all of them alike and the ratios between sizes hold; medians.
    """
    rounds = {r["tables"]: [] for r in results}
    for _ in range(runs):
        for r in results:
            tables = r["tables"]
            model = os.path.join(work, f"model-{tables}.json")
            phase_output = os.path.join(work, f"phases-{tables}.pdm")
            rounds[tables].append(tool(build, "phases", model, phase_output, 1))
    for r in results:
        tables = r["tables"]
        output = os.path.join(work, f"out-{tables}.pdm")
        phase_output = os.path.join(work, f"phases-{tables}.pdm")
        if not files_equal(output, phase_output):
            sys.exit(f"the in-process export of {tables} tables differs from the program's")
        for key in PHASE_KEYS:
            r[key] = statistics.median(p[key] for p in rounds[tables])
        for name in (os.path.join(work, f"model-{tables}.json"), output, phase_output):
            os.remove(name)


def mib(n):
    return f"{n / (1 << 20):.0f} MB" if n >= 10 << 20 else f"{n / (1 << 20):.1f} MB"


def report(results):
    print("| tables | JSON in | PDM out | load | export | teardown | whole run (cpu) "
          "| whole run (wall) | peak RSS |")
    print("|---|---|---|---|---|---|---|---|---|")
    for r in results:
        print(f"| {r['tables']:,} | {mib(r['json_bytes'])} | {mib(r['pdm_bytes'])} "
              f"| {r['load_s']:.3f} s | {r['export_s']:.3f} s | {r['teardown_s']:.3f} s "
              f"| {r['whole_cpu_s']:.3f} s | {r['whole_s']:.3f} s | {mib(r['peak_rss_bytes'])} |")
    print()
    print("| tables | whole / copy (wall) | whole / copy (cpu) "
          "| whole (cpu) / (simdjson first load + pugixml) "
          "| whole (cpu) / (simdjson warm + pugixml) | peak RSS / input "
          "| load µs/table | export µs/table | allocations/table load | allocations/table export "
          "| model KiB/table | export extra B/table |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|")
    for r in results:
        n = r["tables"]
        print(f"| {n:,} | {r['whole_vs_copy']:.1f} | {r['whole_vs_copy_cpu']:.1f} "
              f"| {r['whole_vs_libraries']:.1f} | {r['whole_vs_libraries_warm']:.1f} "
              f"| {r['peak_rss_bytes'] / r['json_bytes']:.1f} "
              f"| {1e6 * r['load_s'] / n:.1f} | {1e6 * r['export_s'] / n:.1f} "
              f"| {r['load_allocations'] / n:.0f} | {r['export_allocations'] / n:.0f} "
              f"| {r['model_bytes'] / n / 1024:.1f} | {r['export_extra_bytes'] / n:.0f} |")
    if len(results) > 1:
        small, large = results[0], results[-1]
        print()
        for phase in ("load", "export"):
            ratio = (large[f"{phase}_s"] / large["tables"]) / (small[f"{phase}_s"] / small["tables"])
            print(f"time per table, {phase}: {large['tables']:,} tables / {small['tables']:,} "
                  f"tables = {ratio:.2f}x")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="build directory (with bin/)")
    parser.add_argument("--sizes", default="1000,10000,100000",
                        help="comma-separated table counts (default 1000,10000,100000)")
    parser.add_argument("--runs", type=int, default=5, help="timed runs per size (default 5)")
    parser.add_argument("--json", help="also write the figures to this JSON file")
    parser.add_argument("--work", help="directory for the model files (default: a temporary one)")
    arguments = parser.parse_args()

    sizes = [int(size) for size in arguments.sizes.split(",") if size]
    work = arguments.work or tempfile.mkdtemp(prefix="pdm-bench-")
    os.makedirs(work, exist_ok=True)
    try:
        results = []
        for tables in sizes:
            print(f"== {tables:,} tables", file=sys.stderr, flush=True)
            results.append(measure(arguments.build, tables, max(arguments.runs, 1), work))
        print("== phases", file=sys.stderr, flush=True)
        measure_phases(arguments.build, results, max(arguments.runs, 1), work)
    finally:
        if not arguments.work:
            shutil.rmtree(work, ignore_errors=True)
    report(results)
    if arguments.json:
        with open(arguments.json, "w") as out:
            json.dump(results, out, indent=1)
            out.write("\n")


if __name__ == "__main__":
    main()
