#!/usr/bin/env bash
# Writes the manual page stellane.1 from the program's own help texts: the
# main help (through help2man) and, in a section of their own, the help of
# every command the main help lists.
# Usage: make-manpage.sh path/to/stellane OUT.1
set -euo pipefail
program=$(realpath "$1")
out=$2

# Help text as preformatted roff: backslashes and leading dots escaped.
roff_block() {
  echo ".nf"
  sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\([.']\)/\\\\\&\1/"
  echo ".fi"
}

include=$(mktemp)
trap 'rm -f "$include"' EXIT
{
  echo "[COMMANDS]"
  for command in $("$program" --help |
    awk '/^Commands:/ {on = 1; next} on && /^  [a-z]/ {print $1} on && /^$/ {exit}'); do
    echo ".SS \"stellane $command\""
    "$program" "$command" --help | roff_block
  done
  echo "[FILES]"
  echo ".TP"
  echo ".I /usr/lib/stellane/Stellane.so"
  echo "the plug-in module that stellane loads from its own folder"
  echo "[SEE ALSO]"
  echo "The install guide, /usr/share/doc/stellane/install.md.gz, and"
  echo "https://www.quillwork.example/stellane"
} >"$include"

help2man --no-info --no-discard-stderr --section=1 --include="$include" \
  --name="makes stars and nebulae: runs the Stellane filter plug-in over images" \
  --output="$out" "$program"
