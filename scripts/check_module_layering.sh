#!/bin/sh
# Fails when a module includes a module above it. Each rule: a folder, and the folders its
# sources (tests included) must not include from.
set -eu
root=${1:-.}
cd "$root"

status=0
rule() {
  dir=$1
  shift
  [ -d "$dir" ] || return 0
  for forbidden in "$@"; do
    hits=$(grep -rn -E "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"$forbidden/" "$dir" \
             --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' || true)
    if [ -n "$hits" ]; then
      echo "$dir must not include $forbidden/:"
      echo "$hits"
      status=1
    fi
  done
}

above_common="kvr pagemill toolslib usbxp panelsim cli"
rule navikor platform common kvr pagemill toolslib usbxp panelsim cli
rule platform common navikor kvr pagemill toolslib usbxp panelsim cli
# shellcheck disable=SC2086
rule common $above_common
rule toolslib kvr pagemill usbxp panelsim cli
# The simulated backend is the in-process wire to the simulated panel.
rule usbxp kvr pagemill toolslib cli
rule panelsim kvr pagemill cli
# Pagemill reads KVR's files through common/; it links nothing of the acquisition program.
rule pagemill kvr toolslib usbxp panelsim cli
rule kvr pagemill cli
# Inside KVR: the core below every room, the program's wiring above them all.
rule kvr/core kvr/app kvr/logging kvr/playback kvr/presentation kvr/monitors kvr/utilities kvr/calibration \
  kvr/tarnc kvr/postprocess kvr/tarnb kvr/tarn kvr/gauge
rule kvr/link kvr/app kvr/logging kvr/playback
rule kvr/logging kvr/app kvr/playback
rule kvr/playback kvr/app
for room in kvr/utilities kvr/calibration kvr/presentation kvr/monitors kvr/tarnc kvr/postprocess kvr/tarnb kvr/tarn kvr/gauge; do
  rule "$room" kvr/app
done

[ "$status" -eq 0 ] && echo "module layering ok"
exit "$status"
