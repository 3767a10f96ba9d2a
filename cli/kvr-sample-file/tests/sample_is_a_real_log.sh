#!/bin/sh
# The sample file is a log as a real logging run records it: it checks clean, and playback,
# which rebuilds the channels from the TOOLS library and reads every parameter block, replays it.
set -eu
sample=$1
info=$2
playback=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$sample" "$dir/SAMPLE.kvr" >/dev/null || fail "sample file not written"
"$info" "$dir/SAMPLE.kvr" >"$dir/info" || fail "kvr-info refuses the sample file"
grep -q "SPINNER" "$dir/info" || fail "no SPINNER channel in the sample file"
mkdir -p "$dir/root"
"$playback" "$dir/SAMPLE.kvr" --root "$dir/root" --computations >"$dir/out" 2>"$dir/err" ||
  fail "playback refuses the sample file: $(cat "$dir/err")"
grep -q "^file: .*PLAY-" "$dir/out" || fail "playback wrote no PLAY- file"
played=$(grep "^file: .*PLAY-.*\.kvr$" "$dir/out" | head -1 | sed 's/^file: //')
"$info" "$played" >/dev/null || fail "the played file does not check clean"
echo "kvr-sample-file ok"
