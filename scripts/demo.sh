#!/usr/bin/env bash
# Builds everything and runs the demo: random-walker segmentation of a
# photograph (the picture docs/segmentation.png), then a 3-D grid of 10^6
# unknowns, solved with ladder_build and ladder_solve beside Octave's own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
mkdir -p docs
octave-cli --norc --no-history demo/kelvara_demo.m build/toolbox docs/segmentation.png
