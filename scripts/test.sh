#!/usr/bin/env bash
# Builds everything and runs every test: the C++ suite under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the Octave suite in the real host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
ctest --test-dir build -V
