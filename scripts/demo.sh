#!/usr/bin/env bash
# The quick start's main command: sets up, builds the run-time, the builder and the
# demo screen saver, then prints what the demo contains. A second run only checks
# that everything is up to date.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
if [ ! -f build/dev/build.ninja ]; then
  cmake --preset dev >&2
fi
cmake --build --preset dev -j "$(nproc)" --target pictoralia-saver pictoralia-pack demo >&2

demo=build/dev/bin/pictoralia-demo.scr
echo "demo screen saver: $demo" >&2
exec build/dev/bin/pictoralia-pack inspect "$demo"
