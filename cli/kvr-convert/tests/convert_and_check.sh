#!/bin/sh
# kvr-convert end to end: a data file converted with the defaults and as strict LAS 2.0, the
# strict file checked clean and the default one reported, and the refusals with their status.
set -eu
convert=$1
sample=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$sample" "$dir/LOG.kvr" >/dev/null
"$convert" "$dir/LOG.kvr" >/dev/null || fail "default conversion"
test -s "$dir/LOG.las" || fail "no LOG.las beside the input"
"$convert" --las2 --wrap -o "$dir/strict.las" "$dir/LOG.kvr" >/dev/null || fail "strict conversion"
"$convert" --check "$dir/strict.las" | grep -q "conforms to LAS 2.0" || fail "strict file does not conform"
if "$convert" --check "$dir/LOG.las" >"$dir/report"; then fail "the default layout passed the check"; fi
grep -q 'LOG.las:2: VERS is "3.0", not 2.0' "$dir/report" || fail "no VERS departure on line 2"

# The name kvr-convert picks never replaces a file; a typed one is replaced only with --overwrite.
before=$(cksum <"$dir/LOG.las")
"$convert" "$dir/LOG.kvr" >"$dir/out" || fail "second default conversion"
grep -qx "file: $dir/LOG_1.las" "$dir/out" || fail "the second conversion did not move on to LOG_1.las"
test "$(cksum <"$dir/LOG.las")" = "$before" || fail "the first LAS file was replaced"
if "$convert" -o "$dir/LOG.las" "$dir/LOG.kvr" 2>"$dir/err"; then fail "an existing -o output was overwritten"; fi
grep -q "ATTENTION: The output file already exists" "$dir/err" || fail "no overwrite message"
"$convert" --overwrite --channels CCL1,SPINNER --filter count:3 -o "$dir/LOG.las" "$dir/LOG.kvr" >/dev/null ||
  fail "--overwrite"

# The filter smooths the named channels only; by default every written channel but the index.
"$convert" --overwrite -o "$dir/plain.las" "$dir/LOG.kvr" >/dev/null || fail "plain conversion"
"$convert" --overwrite --filter count:9 -o "$dir/smooth.las" "$dir/LOG.kvr" >/dev/null || fail "filtered conversion"
depths() { sed -n '/^~A/,$p' "$1" | awk 'NR > 1 { print $2 }'; }
test -n "$(depths "$dir/plain.las")" || fail "no data lines"
test "$(depths "$dir/plain.las")" = "$(depths "$dir/smooth.las")" || fail "--filter smoothed the DEPTH index"

set +e
"$convert" --overwrite --filter count:3 --filter-channels CCL1,NOPE "$dir/LOG.kvr" 2>"$dir/err"
test $? -eq 1 || fail "unknown filter channel: status"
grep -q "has no channel NOPE to filter" "$dir/err" || fail "unknown filter channel: message"
"$convert" "$dir/missing.kvr" 2>"$dir/err"
test $? -eq 1 || fail "missing input: status"
grep -q "FATAL ERROR: The requested file could not be opened" "$dir/err" || fail "missing input: message"
"$convert" --digits 9 "$dir/LOG.kvr" 2>/dev/null
test $? -eq 2 || fail "bad option: status"
"$convert" --overwrite --channels NOPE "$dir/LOG.kvr" 2>"$dir/err"
test $? -eq 1 || fail "unknown channel: status"
grep -q "has no channel NOPE" "$dir/err" || fail "unknown channel: message"
"$convert" --help | grep -q "^usage: kvr-convert" || fail "--help"

# LAS through a pipe: every byte arrives and the run says so.
"$convert" -o "$dir/file.las" "$dir/LOG.kvr" >/dev/null || fail "conversion to file.las"
{ "$convert" -o /dev/stdout "$dir/LOG.kvr" 2>"$dir/err"; echo $? >"$dir/status"; } | cat >"$dir/piped.las"
test "$(cat "$dir/status")" -eq 0 || fail "LAS to a pipe: status $(cat "$dir/status"): $(cat "$dir/err")"
# Byte for byte but for the creation time, which may have ticked between the two runs.
undated() { grep -v -e '^ *CREA\.' -e '^# Created ' "$1"; }
test "$(undated "$dir/file.las" | cksum)" = "$(undated "$dir/piped.las" | cksum)" || fail "LAS to a pipe differs from the file"
echo "kvr-convert ok"
