#!/usr/bin/env bash
# Runs the benchmarks (all, or those named: ladder hierarchy transforms graph)
# against the build in build/, after scripts/setup.sh; or, as
# "run.sh solver [ARGS...]", the solver benchmark (bench/bench_solver.m says
# what ARGS it takes).
#
# Each of the named benchmarks runs twice.  First with the C library told
# to keep freed memory in the process instead of handing it back to the
# system: on virtual machines where mapping a fresh page costs microseconds,
# that cost otherwise dominates every call that creates large outputs and
# varies from call to call with the heap's state.  Then as a user's Octave
# runs, with the library's defaults, where every large block is mapped
# afresh.  Modules and baselines run in the same process, so both see the
# same heap.  The solver benchmark runs as a user's Octave does, with the
# library's defaults (its argument heap=keep gives the first setting).
set -euo pipefail
cd "$(dirname "$0")/.."
keep=glibc.malloc.mmap_threshold=2147483647:glibc.malloc.trim_threshold=4294967295
if [ "${1:-}" = solver ]; then
  shift
  echo "== bench_solver"
  exec env -u GLIBC_TUNABLES octave-cli --norc --no-history bench/bench_solver.m build/toolbox build/bench "$@"
fi
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(ladder hierarchy transforms graph)
for b in "${names[@]}"; do
  echo "== bench_$b, freed memory kept (GLIBC_TUNABLES=$keep)"
  GLIBC_TUNABLES=$keep octave-cli --norc --no-history "bench/bench_$b.m" build/toolbox build/bench
  echo "== bench_$b, default heap (GLIBC_TUNABLES unset)"
  env -u GLIBC_TUNABLES octave-cli --norc --no-history "bench/bench_$b.m" build/toolbox build/bench
done
