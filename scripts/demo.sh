#!/bin/sh
# The headless demo: a logging job on the simulated surface panel, then the office work on
# its files. Run by ./varexa demo with the bin folder.
set -eu
bin=$1
root=${VAREXA_DEMO_DIR:-$(pwd)/build/demo}
rm -rf "$root"
mkdir -p "$root"
job="--root $root --user Demo.Engineer --client Northfield --well NF-12 --units english"
tools="BRIX-CCL,SEVO-PT,DUNE-ROLA"

echo "== Log up: $tools from 5300 ft over 300 ft at 1800 ft/h (simulated panel, virtual time)"
"$bin/kvr-log" $job --tools "$tools" --direction up --start-depth 5300 --speed 1800 --length 300 | tee "$root/up.txt"
echo
echo "== Station log: 60 s at the bottom of the interval"
"$bin/kvr-log" $job --tools "$tools" --direction station --start-depth 5000 --length 60 | tee "$root/station.txt"

up=$(sed -n 's/^file: //p' "$root/up.txt" | head -n 1)
station=$(sed -n 's/^file: //p' "$root/station.txt" | head -n 1)
echo
echo "== kvr-info of the up log"
"$bin/kvr-info" --rows 3 "$up"
echo
echo "== kvr-info of the station log"
"$bin/kvr-info" "$station" | sed -n '1,3p;/^Rows:/,$p'
echo
echo "== LAS export"
"$bin/kvr-convert" "$up" "$station" | tee "$root/las.txt"
sed -n 's/^file: //p' "$root/las.txt" | while IFS= read -r las; do
  head -n 12 "$las"
  echo "..."
done

# Playback replays the up log through the same row display: its chart data files must be
# the log's, byte for byte; a second replay takes a window of it, shifted, without a file.
echo
echo "== Playback of the up log"
"$bin/kvr-playback" "$up" --root "$root" | tee "$root/playback.txt"
sed -n 's/^file: //p' "$root/up.txt" | grep '\.cdf$' | while IFS= read -r cdf; do
  replayed=$(sed -n 's/^file: //p' "$root/playback.txt" | grep '\.cdf$' | grep -F "$(basename "$cdf" _UP.cdf)" | head -n 1)
  if cmp -s "$cdf" "$replayed"; then
    echo "same chart data: $(basename "$replayed")"
  else
    echo "DIFFERENT chart data: $(basename "$cdf") and $(basename "$replayed")"
    exit 1
  fi
done
echo
echo "== Playback of 5100 to 5200 ft of the up log, 10 ft deeper, with the spinner computation, no data file"
"$bin/kvr-playback" "$up" --root "$root" --min 5100 --max 5200 --offset 10 --computations --no-output

# Pagemill prints every chart data file of the up log with the default header and tail.
echo
echo "== Pagemill: the up log's chart data files to PDF with header and tail"
sed -n 's/^file: //p' "$root/up.txt" | grep '\.cdf$' | while IFS= read -r cdf; do
  pdf="${cdf%.cdf}.pdf"
  "$bin/pagemill" --print-cdf "$cdf" --pdf "$pdf" --kvr "$up" 2>/dev/null | grep -v '^$' || true
  echo "file: $pdf"
done
