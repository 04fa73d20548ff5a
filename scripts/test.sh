#!/usr/bin/env bash
# THE test command: installs what is missing, then builds and tests
#   1. the native build (build/native),
#   2. the native build under AddressSanitizer + UndefinedBehaviorSanitizer
#      (build/asan),
#   3. the Windows build (build/win), with its tests run under Wine.
# Every stage runs even when an earlier one failed; the exit status is
# non-zero if any stage failed. A summary of every ctest run comes last.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${STELLANE_JOBS:-2}
ctest_args=(--output-on-failure --timeout 600 -j "$jobs")
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}

failed=()
summary=()

stage() {  # stage NAME command...
  local name=$1
  shift
  echo
  echo "=============== $name ($(date -u +%T))"
  if "$@"; then
    return 0
  fi
  echo "*** $name failed"
  failed+=("$name")
  return 1
}

build_and_test() {  # build_and_test NAME BUILD-DIR cmake-args...
  local name=$1 dir=$2
  shift 2
  stage "$name: configure" cmake -S . -B "$dir" -G Ninja -Wno-dev "$@" || return 0
  stage "$name: build" ninja -C "$dir" -j "$jobs" || return 0
  stage "$name: tests" "${wrap[@]}" bash -c "cd '$dir' && ctest ${ctest_args[*]} 2>&1 | tee ctest.log; \
    rc=\${PIPESTATUS[0]}; $after exit \$rc"
  # The lines from the pass-rate line on: counts and the failed tests.
  summary+=("--- $name" "$(sed -n '/tests passed/,$p' "$dir/ctest.log" 2>/dev/null)")
}

stage "install dependencies" scripts/install-deps.sh || { echo "cannot go on"; exit 1; }

# The Windows tests run under Wine inside one virtual X server; the Wine
# server is let go before that X server ends.
wrap=() after=""
build_and_test native build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
build_and_test asan build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTELLANE_SANITIZE=ON \
  -DSTELLANE_BENCH=OFF
if stage "windows libraries" scripts/build-win-deps.sh; then
  export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/stellane/wineprefix}
  if [[ -z ${DISPLAY:-} ]]; then wrap=(xvfb-run -a -s "-screen 0 1280x1024x24"); fi
  after="timeout 60 wineserver -w 2>/dev/null;"
  # A Wine server left from an earlier X session holds a desktop window of a
  # display that is gone; windows created through it fail. Start afresh.
  timeout 30 wineserver -k 2>/dev/null || true
  build_and_test windows build/win -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
fi

echo
echo "=============== summary"
printf '%s\n' "${summary[@]}"
if ((${#failed[@]})); then
  echo
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo
echo "All builds and tests passed."
