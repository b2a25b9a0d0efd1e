#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit and integration suites (CTest) and the
# end-to-end tests under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
jobs=$(nproc)
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"
# The package reader and extractor under libFuzzer, after the planted-fault proof.
./scripts/fuzz.sh
