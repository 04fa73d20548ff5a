#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests: headless, quiet, in a
# prefix of our own that is created once (WINEPREFIX, default
# $HOME/.cache/stellane/wineprefix). Without a display the program runs inside
# a virtual X server, so dialogs and windows work in CI too.
# Usage: wine-run.sh program.exe [args...]
set -euo pipefail

export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/stellane/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}  # no Mono/Gecko prompts
wine=$(command -v wine64 || command -v wine)

# The marker names the version of the set-up below; a prefix made by an
# older one is set up again.
ready=$WINEPREFIX/.stellane-ready-2
if [[ ! -f $ready ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    # Concurrent test runs share the prefix; only one of them creates it.
    flock 9
    if [[ ! -f $ready ]]; then
      echo "wine-run: setting up the Wine prefix $WINEPREFIX" >&2
      "$wine" wineboot -i >/dev/null 2>&1 || true
      # A virtual desktop: without a window manager, Wine otherwise waits up
      # to two seconds for X to withdraw every window that closes.
      "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
        >/dev/null 2>&1
      # A crash prints its report and ends the program instead of waiting
      # for someone to close Wine's crash dialog; the tests look for the report.
      "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1
      wineserver -w 2>/dev/null || true
      [[ -f $WINEPREFIX/system.reg ]] || { echo "wine-run: wineboot failed" >&2; exit 1; }
      touch "$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [[ -z ${DISPLAY:-} ]] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$wine" "$@"
fi
exec "$wine" "$@"
