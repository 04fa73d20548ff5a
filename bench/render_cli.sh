#!/usr/bin/env bash
# Times `stellane render` as a user waits for it (read, filter run through
# the plug-in module, write) on a 12-megapixel 8-bit RGB picture with the
# default parameters, next to the render alone (the DefaultsTwelveMegapixels
# benchmark), and reports each command's whole-process time, its ratio to
# the render alone and its peak memory against the picture's own size.
#
# Usage: bench/render_cli.sh [BUILD-DIR] [RUNS]
#   BUILD-DIR  folder holding stellane, its module and bench/stellane_bench
#              (default build/native)
#   RUNS       timed runs of each command; the best one is reported (default 3)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
runs=${2:-3}
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

render_alone=""
if [[ -x $bench ]]; then
  render_alone=$("$bench" --benchmark_filter='^DefaultsTwelveMegapixels' --benchmark_format=json |
    python3 -c 'import json, sys; print(json.load(sys.stdin)["benchmarks"][0]["real_time"])')
  printf 'render alone (DefaultsTwelveMegapixels): %.3f s\n' "$render_alone"
else
  echo "render_cli: no $bench (configure with STELLANE_BENCH=ON); whole-process figures only" >&2
fi

# Best wall time and its peak resident memory over RUNS runs of a command.
python3 - "$runs" "$width" "$height" "$render_alone" "$work" "$stellane" "${nothing[@]}" <<'PY'
import os, subprocess, sys, time
runs, width, height = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
alone = float(sys.argv[4]) if sys.argv[4] else None
work, stellane, nothing = sys.argv[5], sys.argv[6], sys.argv[7:]
image_mb = width * height * 3 / 2**20
cases = [
    ("JPEG in, JPEG out, defaults", "in.jpg", "out.jpg", []),
    ("JPEG in, PNG out, defaults", "in.jpg", "out.png", []),
    ("JPEG in, JPEG out, nothing to render", "in.jpg", "out.jpg", nothing),
    ("PNG in, PNG out, defaults", "in.png", "out.png", []),
]
for name, source, target, extra in cases:
    command = [stellane, "render", f"{work}/{source}", f"{work}/{target}", "--quiet"] + extra
    best = None
    for _ in range(runs):
        start = time.monotonic()
        child = subprocess.Popen(command)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.monotonic() - start
        if status != 0:
            sys.exit(f"render_cli: {name}: stellane failed")
        peak_mb = usage.ru_maxrss / 1024
        if best is None or seconds < best[0]:
            best = (seconds, peak_mb)
    ratio = f", {best[0] / alone:.2f} x the render alone" if alone else ""
    print(f"{name}: best {best[0]:.3f} s{ratio}; peak memory {best[1]:.0f} MB "
          f"({best[1] / image_mb:.2f} x the picture's {image_mb:.0f} MB)")
PY
