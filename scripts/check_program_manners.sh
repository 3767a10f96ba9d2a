#!/bin/sh
# Every program answers --help with its usage on standard output and exit status 0, refuses an
# unknown option with a message and a non-zero status, writes no file doing either, and prints
# nothing about the desktop session it runs in.
# usage: check_program_manners.sh PROGRAM...
set -u
status=0
fail() { echo "FAIL: $*"; status=1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
unset XDG_RUNTIME_DIR

for program in "$@"; do
  name=$(basename "$program")
  dir="$work/$name"
  mkdir -p "$dir"
  (cd "$dir" && timeout 30 "$program" --help >out 2>err)
  code=$?
  [ "$code" -eq 0 ] || fail "$name --help exits $code"
  grep -qi "usage" "$dir/out" || fail "$name --help prints no usage on standard output"
  [ -s "$dir/err" ] && fail "$name --help writes to standard error: $(head -c 200 "$dir/err")"
  rm -f "$dir/out" "$dir/err"

  (cd "$dir" && timeout 30 "$program" --no-such-option x >../out 2>../err)
  code=$?
  [ "$code" -ne 0 ] || fail "$name accepts an unknown option"
  [ "$code" -eq 124 ] && fail "$name hangs on an unknown option"
  [ -s "$work/err" ] || fail "$name refuses an unknown option without a word"
  grep -q "XDG_RUNTIME_DIR" "$work/err" && fail "$name talks about XDG_RUNTIME_DIR"
  left=$(ls -A "$dir")
  [ -z "$left" ] || fail "$name left files behind: $left"
done
[ "$status" -eq 0 ] && echo "every program has its manners ($# programs)"
exit "$status"
