# Shared by package-deb.sh and package-win.sh (sourced, not run): the version
# a build was configured with, the fixed timestamp of every packaged file, and
# the stripped copies of the programs with their debug information apart.

packaging_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The project version of CMakeLists.txt, as CMake recorded it for build $1.
build_version() {
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt" 2>/dev/null)
  [[ -n $version ]] || { echo "packaging: $1 is not a configured build folder" >&2; return 1; }
  echo "$version"
}

# Every packaged file carries the time of the last commit (or the caller's
# SOURCE_DATE_EPOCH), so that packing the same build twice gives the same bytes.
# Outside a git checkout: 2026-01-01 (zip stores no time before 1980).
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$packaging_root" log -1 --format=%ct 2>/dev/null ||
  echo 1767225600)}
export TZ=UTC LC_ALL=C
umask 022

# stamp_tree DIR: every file and folder under DIR gets the fixed time.
stamp_tree() {
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# strip_copy OBJCOPY IN OUT DEBUG-DIR: OUT is IN without its debug information
# and symbol table; DEBUG-DIR/<name of OUT>.debug keeps them, and OUT names it
# (.gnu_debuglink) so that a debugger finds it when it lies beside OUT.
strip_copy() {
  local objcopy=$1 in out debug_dir debug
  in=$(realpath "$2") out=$(realpath -m "$3") debug_dir=$(realpath -m "$4")
  debug=$debug_dir/$(basename "$out").debug
  mkdir -p "$(dirname "$out")" "$debug_dir"
  "$objcopy" --only-keep-debug "$in" "$debug"
  # The link is made from the debug file's folder, so that only its name is kept.
  (cd "$debug_dir" && "$objcopy" --strip-all --remove-section=.comment \
    --add-gnu-debuglink="$(basename "$debug")" "$in" "$out")
}
