# Shared by the packaging tests (sourced): the source folder, failing with a
# message, and the one way they render the demo picture with an installed
# stellane.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# One SOURCE_DATE_EPOCH for every packing a test does, even if a commit lands
# in between.
source "$root/scripts/packaging-common.sh"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
finish() {
  if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "OK"
}

# render_demo OUT.png PROGRAM...: the installed program (with any runner in
# front, such as wine) renders the built-in demo picture into OUT.png.
render_demo() {
  local out=$1
  shift
  "$@" render --demo "$out" --quiet
}

# is_png FILE: an independent reader (ImageMagick) reads FILE as a PNG picture.
is_png() {
  [[ $(identify -format '%m' "$1" 2>/dev/null) == PNG ]]
}
