#!/usr/bin/env bash
# Times `stellane render` end to end (read, filter run through the plug-in
# module, write) on a 12-megapixel 8-bit RGB picture with the default
# parameters, and reports megapixels per second.
#
# Usage: bench/render_cli.sh [BUILD-DIR] [RUNS]
#   BUILD-DIR  folder holding stellane and its module (default build/native)
#   RUNS       timed runs; the best one is reported (default 3)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
runs=${2:-3}
stellane=$build/stellane
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

best=""
for ((i = 1; i <= runs; i++)); do
  start=$(date +%s.%N)
  "$stellane" render "$work/in.png" "$work/out.png" --quiet
  end=$(date +%s.%N)
  seconds=$(python3 -c "print($end - $start)")
  printf 'run %d: %.3f s\n' "$i" "$seconds"
  if [[ -z $best ]] || [[ $(python3 -c "print(int($seconds < $best))") == 1 ]]; then
    best=$seconds
  fi
done
printf 'stellane render, %dx%d 8-bit RGB, defaults: best %.3f s, %.2f megapixels per second\n' \
  "$width" "$height" "$best" "$(python3 -c "print($width * $height / 1e6 / $best)")"
