# Shared by the packaging tests (sourced): the source folder and failing with
# a message.

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
