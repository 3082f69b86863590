#!/usr/bin/env bash
# Builds everything and runs every test: the C++ suite under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the Octave suite in the real host; the
# C++ suite again with the own host's 32-bit index interface; a short run of
# each fuzzer and a replay of the inputs kept from earlier crashes; the
# Octave suite once more with its modules under AddressSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
ctest --test-dir build -V

jobs=-j"$(nproc)"
cmake -S . -B build/index32 -DCMAKE_BUILD_TYPE=Release -DKELVARA_INDEX32=ON \
      -DKELVARA_OCTAVE=OFF >/dev/null
cmake --build build/index32 "$jobs"
ctest --test-dir build/index32 --output-on-failure

cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
      -DKELVARA_FUZZ=ON -DKELVARA_OCTAVE=OFF -DKELVARA_TESTS=OFF >/dev/null
cmake --build build/fuzz "$jobs"
ctest --test-dir build/fuzz --output-on-failure

cmake --build build --target octave_asan_suite "$jobs"
