#!/usr/bin/env python3
"""Draws the figures of bench/run_bench.py --json as an SVG picture.

Two panels against model size (tables, logarithmic): time per table of the
load and the export, and memory per table (the loaded model, the export's
own extra memory at its peak, and the whole run's peak RSS). Uses the
standard library only.

  python3 bench/plot_bench.py results.json docs/performance.svg
"""

import json
import math
import sys

WIDTH, HEIGHT = 900, 380
PANEL_W, PANEL_H = 340, 260
COLORS = ["#1f77b4", "#d62728", "#2ca02c", "#9467bd"]


def nice_max(value):
    if value <= 0:
        return 1.0
    power = 10 ** math.floor(math.log10(value))
    for step in (1, 2, 2.5, 5, 10):
        if value <= step * power:
            return step * power
    return 10 * power


def panel(x0, y0, title, unit, sizes, series):
    """One chart: `series` is a list of (label, values), one value per size."""
    out = []
    top = nice_max(max(v for _, values in series for v in values) * 1.1)
    lo, hi = math.log10(min(sizes)), math.log10(max(sizes))
    if hi == lo:
        lo, hi = lo - 0.5, hi + 0.5

    def px(size):
        return x0 + (math.log10(size) - lo) / (hi - lo) * PANEL_W

    def py(value):
        return y0 + PANEL_H - value / top * PANEL_H

    out.append(f'<text x="{x0 + PANEL_W / 2}" y="{y0 - 14}" text-anchor="middle" '
               f'font-size="14" font-weight="bold">{title}</text>')
    out.append(f'<rect x="{x0}" y="{y0}" width="{PANEL_W}" height="{PANEL_H}" '
               f'fill="none" stroke="#444"/>')
    for i in range(5):
        value = top * i / 4
        y = py(value)
        out.append(f'<line x1="{x0}" y1="{y:.1f}" x2="{x0 + PANEL_W}" y2="{y:.1f}" '
                   f'stroke="#ddd"/>')
        out.append(f'<text x="{x0 - 6}" y="{y + 4:.1f}" text-anchor="end" '
                   f'font-size="11">{value:g}</text>')
    for size in sizes:
        x = px(size)
        out.append(f'<text x="{x:.1f}" y="{y0 + PANEL_H + 16}" text-anchor="middle" '
                   f'font-size="11">{size:,}</text>')
    out.append(f'<text x="{x0 + PANEL_W / 2}" y="{y0 + PANEL_H + 34}" text-anchor="middle" '
               f'font-size="12">tables (log scale)</text>')
    out.append(f'<text x="{x0 - 44}" y="{y0 + PANEL_H / 2}" text-anchor="middle" font-size="12" '
               f'transform="rotate(-90 {x0 - 44} {y0 + PANEL_H / 2})">{unit}</text>')
    for index, (label, values) in enumerate(series):
        color = COLORS[index % len(COLORS)]
        points = " ".join(f"{px(s):.1f},{py(v):.1f}" for s, v in zip(sizes, values))
        out.append(f'<polyline points="{points}" fill="none" stroke="{color}" stroke-width="2"/>')
        for s, v in zip(sizes, values):
            out.append(f'<circle cx="{px(s):.1f}" cy="{py(v):.1f}" r="3.5" fill="{color}"/>')
        ly = y0 + 16 + 16 * index
        out.append(f'<line x1="{x0 + 10}" y1="{ly - 4}" x2="{x0 + 30}" y2="{ly - 4}" '
                   f'stroke="{color}" stroke-width="2"/>')
        out.append(f'<text x="{x0 + 36}" y="{ly}" font-size="11">{label}</text>')
    return out


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: plot_bench.py RESULTS.json OUTPUT.svg")
    with open(sys.argv[1]) as source:
        results = json.load(source)
    sizes = [r["tables"] for r in results]
    times = [
        ("load", [1e6 * r["load_s"] / r["tables"] for r in results]),
        ("export", [1e6 * r["export_s"] / r["tables"] for r in results]),
    ]
    memory = [
        ("loaded model", [r["model_bytes"] / r["tables"] / 1024 for r in results]),
        ("export's extra", [r["export_extra_bytes"] / r["tables"] / 1024 for r in results]),
        ("whole run, peak RSS", [r["peak_rss_bytes"] / r["tables"] / 1024 for r in results]),
    ]
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
             f'font-family="sans-serif">',
             f'<rect width="{WIDTH}" height="{HEIGHT}" fill="white"/>']
    parts += panel(80, 50, "Time per table", "µs per table", sizes, times)
    parts += panel(530, 50, "Memory per table", "KiB per table", sizes, memory)
    parts.append("</svg>")
    with open(sys.argv[2], "w") as out:
        out.write("\n".join(parts) + "\n")


if __name__ == "__main__":
    main()
