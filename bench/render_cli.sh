#!/usr/bin/env bash
# Times `stellane render` as a user waits for it (read, filter run through
# the plug-in module, write) on a 12-megapixel 8-bit RGB picture with the
# default parameters, next to the render alone (the DefaultsTwelveMegapixels
# benchmark), and reports each command's whole-process time, its ratio to
# the render alone and its peak memory against the picture's own size.
#
# Every figure is the median of RUNS runs. The machine may be shared: the
# processor time (user + system) beside the wall time says how much of the
# wall time was spent waiting for a core, and its ratio is the steadier one.
#
# Usage: bench/render_cli.sh [BUILD-DIR] [RUNS]
#   BUILD-DIR  folder holding stellane, its module and bench/stellane_bench
#              (default build/native)
#   RUNS       timed runs of each command (default 5)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
runs=${2:-5}
stellane=$build/stellane
bench=$build/bench/stellane_bench
[[ -x $stellane ]] || { echo "render_cli: no $stellane (build the stellane target)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
width=4000
height=3000

# The input: an uncompressed RGB PNG with a little structure in it.
python3 - "$work/in.png" "$width" "$height" <<'PY'
import struct, sys, zlib
path, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
row = bytes(v for x in range(w) for v in ((x * 7) & 255, (x * 3) & 255, 90))
raw = b"".join(b"\0" + row[y % 3:] + row[:y % 3] for y in range(h))
with open(path, "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n")
    f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)))
    f.write(chunk(b"IDAT", zlib.compress(raw, 1)))
    f.write(chunk(b"IEND", b""))
PY
# The same picture as JPEG: stellane with nothing to render converts it.
nothing=(--set density=0 --set paramA=0 --set paramB=0)
"$stellane" render "$work/in.png" "$work/in.jpg" "${nothing[@]}" --quiet

alone_wall=""
alone_cpu=""
if [[ -x $bench ]]; then
  read -r alone_wall alone_cpu < <("$bench" --benchmark_filter='^DefaultsTwelveMegapixels' \
    --benchmark_repetitions="$runs" --benchmark_format=json |
    python3 -c 'import json, statistics, sys
runs = [b for b in json.load(sys.stdin)["benchmarks"] if b.get("run_type") == "iteration"]
print(statistics.median(b["real_time"] for b in runs), statistics.median(b["cpu_time"] for b in runs))')
  printf 'render alone (DefaultsTwelveMegapixels): median %.3f s, processor %.3f s\n' \
    "$alone_wall" "$alone_cpu"
else
  echo "render_cli: no $bench (configure with STELLANE_BENCH=ON); whole-process figures only" >&2
fi

# Median wall time, processor time and peak resident memory over RUNS runs.
python3 - "$runs" "$width" "$height" "$alone_wall" "$alone_cpu" "$work" "$stellane" \
  "${nothing[@]}" <<'PY'
import os, statistics, subprocess, sys, time
runs, width, height = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
alone_wall = float(sys.argv[4]) if sys.argv[4] else None
alone_cpu = float(sys.argv[5]) if sys.argv[5] else None
work, stellane, nothing = sys.argv[6], sys.argv[7], sys.argv[8:]
image_mb = width * height * 3 / 2**20
cases = [
    ("JPEG in, JPEG out, defaults", "in.jpg", "out.jpg", []),
    ("JPEG in, PNG out, defaults", "in.jpg", "out.png", []),
    ("JPEG in, JPEG out, nothing to render", "in.jpg", "out.jpg", nothing),
    ("PNG in, PNG out, defaults", "in.png", "out.png", []),
]
for name, source, target, extra in cases:
    command = [stellane, "render", f"{work}/{source}", f"{work}/{target}", "--quiet"] + extra
    walls, cpus, peaks = [], [], []
    for _ in range(runs):
        start = time.monotonic()
        child = subprocess.Popen(command)
        _, status, usage = os.wait4(child.pid, 0)
        walls.append(time.monotonic() - start)
        if status != 0:
            sys.exit(f"render_cli: {name}: stellane failed")
        cpus.append(usage.ru_utime + usage.ru_stime)
        peaks.append(usage.ru_maxrss / 1024)
    wall, cpu, peak = (statistics.median(v) for v in (walls, cpus, peaks))
    ratio = (f", {wall / alone_wall:.2f} x the render alone (processor {cpu / alone_cpu:.2f} x)"
             if alone_wall else "")
    print(f"{name}: median {wall:.3f} s, processor {cpu:.3f} s{ratio}; peak memory {peak:.0f} MB "
          f"({peak / image_mb:.2f} x the picture's {image_mb:.0f} MB)")
PY
