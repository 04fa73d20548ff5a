#!/usr/bin/env bash
# Makes every picture of docs/guide.md (docs/guide/*.jpg) and the preset
# library's page (docs/presets.html with docs/guide/presets/*.jpg) from a
# native build, so that anyone can make them again: each picture is the
# built-in demo picture rendered by `stellane render --demo` with a fixed star
# seed, then cut and laid out with ImageMagick. Run it after changing a
# renderer, a glue mode or a preset.
# Usage: scripts/make-guide-pictures.sh [BUILD-DIR]   (default: build/native)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/native}")
[[ -x $build/stellane && -x $build/tools/make_presets ]] ||
  { echo "make-guide-pictures: build $build first (ninja -C $build)" >&2; exit 1; }
out=$root/docs/guide
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
mkdir -p "$out"
export LC_ALL=C

# render OUT.png [stellane options...]: the demo picture with the same stars
# every time.
render() {
  "$build/stellane" render --demo "$1" --quiet --seed 7 "${@:2}" </dev/null
}

# tile IN.png OUT.png LABEL VIEW: a labelled tile of a render; VIEW "whole"
# shrinks the picture to a third, "stars" cuts a part of the sky at full size,
# where single stars show as they are.
tile() {
  local cut=(-resize 320x200)
  [[ $4 == stars ]] && cut=(-crop 320x200+420+60 +repage)
  convert "$1" "${cut[@]}" -background '#1b1d26' -fill '#e8e8ee' -font DejaVu-Sans \
    -pointsize 21 -gravity south -splice 0x30 -annotate +0+4 "$3" "$2"
}

# strip NAME VIEW KEY VALUE... [-- options]: one tile per value of the slider
# KEY, on top of the options, side by side in NAME.jpg.
strip() {
  local name=$1 look=$2 key=$3 values=() tiles=()
  shift 3
  while (($#)) && [[ $1 != -- ]]; do values+=("$1"); shift; done
  (($#)) && shift
  for value in "${values[@]}"; do
    render "$work/r.png" --glue screen "$@" --set "$key=$value"
    tile "$work/r.png" "$work/$name-$value.png" "$key $value" "$look"
    tiles+=("$work/$name-$value.png")
  done
  montage "${tiles[@]}" -tile x1 -geometry +3+3 -background '#0f1016' \
    -quality 82 -strip "$out/$name.jpg"
}

# ---- The picture, the plug-in's own look and the same laid on with screen.
render "$work/photo.png" --glue screen --set paramA=0 --set paramB=0 --set density=0
render "$work/plain.png"
render "$work/screen.png" --glue screen
tile "$work/photo.png" "$work/t1.png" "the picture" whole
tile "$work/plain.png" "$work/t2.png" "the defaults" whole
tile "$work/screen.png" "$work/t3.png" "the defaults, glue screen" whole
montage "$work"/t{1,2,3}.png -tile x1 -geometry +3+3 -background '#0f1016' -quality 82 -strip \
  "$out/overview.jpg"

# ---- Nebula sliders (each cloud alone for A and B), then the stars alone.
nostars=(--set density=0)
nonebula=(--set paramA=0 --set paramB=0)
strip nebula-a whole paramA 0 40 60 80 -- --set paramB=0 "${nostars[@]}"
strip nebula-b whole paramB 0 40 60 80 -- --set paramA=0 "${nostars[@]}"
strip nebula-scale whole nebulaScale 0 20 45 70
strip texture whole texture 0 35 70 100
strip fibrousness whole fibrousness 0 50 80 100
strip contrast whole contrast 0 30 60 90
strip opacity stars opacity 0 30 60 100
strip seed whole randomSeed 1 2 7 12
strip density stars density 5 30 60 100 -- "${nonebula[@]}"
strip brightness stars brightness 10 40 70 100 -- "${nonebula[@]}"
strip star-scale stars starScale 0 30 60 100 -- "${nonebula[@]}"
strip depth stars depth 0 30 60 100 -- "${nonebula[@]}"
strip color stars color 0 35 70 100 -- "${nonebula[@]}"

# ---- Colour chips: each chip turned red in turn shows the part it colours.
tiles=()
for chip in colorA1 colorA2 colorB1 colorB2; do
  render "$work/r.png" --glue screen "${nostars[@]}" --set "$chip=#ff2a1a"
  tile "$work/r.png" "$work/$chip.png" "$chip red" whole
  tiles+=("$work/$chip.png")
done
montage "${tiles[@]}" -tile x1 -geometry +3+3 -background '#0f1016' -quality 82 -strip \
  "$out/chips.jpg"

# ---- Every glue mode by its number in the dialog's list, with the defaults;
# the name is the one `stellane info` gives the number.
tiles=()
for number in $(seq 1 62); do
  render "$work/r.png" --glue "$number" --save-settings "$work/glue.q9r"
  glue=$("$build/stellane" info "$work/glue.q9r" | sed -n 's/^glue: [0-9]* (\(.*\))$/\1/p')
  tiles+=("$work/glue-$number.png")
  convert "$work/r.png" -resize 200x125 -background '#1b1d26' -fill '#e8e8ee' -font DejaVu-Sans \
    -pointsize 18 -gravity south -splice 0x26 -annotate +0+3 "$number $glue" "${tiles[-1]}"
done
montage "${tiles[@]}" -tile 6x -geometry +2+2 -background '#0f1016' -quality 80 -strip \
  "$out/glue-modes.jpg"

# ---- The preset library: its page, and a sheet of its thumbnails for the guide.
"$build/tools/make_presets" "$root/presets/library.txt" "$work/presets" \
  --page "$root/docs/presets.html" "$out/presets"
tiles=()
while IFS= read -r name; do
  "$build/stellane" thumbnail "$work/presets/$name.q9r" "$work/thumbnail.png"
  convert "$work/thumbnail.png" -background '#1b1d26' -fill '#e8e8ee' -font DejaVu-Sans \
    -pointsize 12 -gravity south -splice 0x20 -annotate +0+3 "$name" "$work/preset-${#tiles[@]}.png"
  tiles+=("$work/preset-${#tiles[@]}.png")
done < <(sed -n 's/^\[\(.*\)\]$/\1/p' "$root/presets/library.txt")
montage "${tiles[@]}" -tile 6x -geometry +3+3 -background '#0f1016' -quality 85 -strip \
  "$out/presets.jpg"

du -ch "$out"/*.jpg "$out"/presets/*.jpg | tail -n1
