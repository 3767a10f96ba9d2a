#!/bin/sh
# The headless demo: records a small log and shows it. Run by ./varexa demo with the bin folder.
set -eu
bin=$1
out=${VAREXA_DEMO_DIR:-$(pwd)/build/demo}
rm -rf "$out"
mkdir -p "$out"
echo "== Writing a KVR data file through the data file manager"
"$bin/kvr-sample-file" "$out/BRIX_DUNE_UP.kvr"
echo "file: $out/BRIX_DUNE_UP.kvr"
echo
echo "== kvr-info"
"$bin/kvr-info" --rows 5 "$out/BRIX_DUNE_UP.kvr"

# Pagemill prints the first chart data file the run left, with the default header and tail.
cdf=$(find "$out" -name '*.cdf' | sort | head -n 1)
if [ -n "$cdf" ]; then
  echo
  echo "== Pagemill: $cdf to PDF with its header and tail"
  "$bin/pagemill" --print-cdf "$cdf" --pdf "$out/log.pdf" --kvr "$out/BRIX_DUNE_UP.kvr"
  echo "file: $out/log.pdf"
fi
