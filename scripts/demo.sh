#!/usr/bin/env bash
# Builds everything and runs the demo: the multigrid preconditioner inside
# Octave's pcg on a grid Laplacian.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
octave-cli --norc --no-history demo/demo_ladder.m build/toolbox
