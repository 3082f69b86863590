#!/usr/bin/env bash
# Runs the benchmarks (all, or those named: ladder hierarchy transforms graph)
# against the build in build/, after scripts/setup.sh; or, as
# "run.sh solver [ARGS...]", the solver benchmark (bench/bench_solver.m says
# what ARGS it takes).
#
# The C library is told to keep freed memory in the process instead of
# handing it back to the system: on virtual machines where mapping a fresh
# page costs microseconds, that cost otherwise dominates every call that
# creates large outputs and varies from call to call with the heap's state.
# Modules and baselines run in the same process, so both gain alike.
set -euo pipefail
cd "$(dirname "$0")/.."
export GLIBC_TUNABLES=glibc.malloc.mmap_threshold=2147483647:glibc.malloc.trim_threshold=4294967295
if [ "${1:-}" = solver ]; then
  shift
  echo "== bench_solver"
  exec octave-cli --norc --no-history bench/bench_solver.m build/toolbox build/bench "$@"
fi
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(ladder hierarchy transforms graph)
for b in "${names[@]}"; do
  echo "== bench_$b"
  octave-cli --norc --no-history "bench/bench_$b.m" build/toolbox build/bench
done
