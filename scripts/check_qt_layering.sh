#!/bin/sh
# Fails when a source outside ui/, platform/qt/, app/ or a main.cpp includes a Qt header.
set -eu
root=${1:-.}
cd "$root"
bad=$(find . -path ./build -prune -o -path './build-*' -prune -o -path ./.git -prune -o \
        \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) -print |
      grep -v -E '(^|/)(ui|app)/|/platform/qt/|(^|/)main\.cpp$' |
      xargs -r grep -l -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]Q[A-Za-z]' || true)
if [ -n "$bad" ]; then
  echo "Qt headers included outside ui/, platform/qt/, app/ and main.cpp:"
  echo "$bad"
  exit 1
fi
echo "Qt layering ok"
