#!/usr/bin/env bash
# Installs what kelvara needs on a Debian 12 machine (as root) and builds it:
# the Octave modules in build/toolbox, the own-host modules and the C++ suite.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(octave octave-dev libboost-graph-dev cmake g++ make libgtest-dev clang
          libclang-rt-14-dev)
# Octave's plotting without a display (the benchmark's plot and its test).
packages+=(gnuplot-nox fonts-freefont-otf)
# The demo's photograph.
packages+=(python3-skimage)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]}; run as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
