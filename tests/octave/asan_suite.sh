#!/usr/bin/env bash
# Runs the Octave suite on a copy of the toolbox whose modules are built with
# AddressSanitizer, Octave started with the sanitizer's runtime preloaded.
# Any memory error stops the run; of the leaks found at exit, only those
# allocated where a module's own code is on the stack count (Octave's own
# are not ours to judge; see module_leaks.awk).
# Usage: asan_suite.sh LIBASAN OCTAVE_CLI TOOLBOX_DIR ASAN_MODULE_DIR RUN_DIR
set -uo pipefail
libasan=$1
octave=$2
toolbox=$3
modules=$4
run=$5
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
rm -rf "$run"
cp -r "$toolbox" "$run"
cp "$modules"/*.mex "$run"/
if [ -d "$modules/private" ]; then
  cp "$modules"/private/*.mex "$run"/private/
fi
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# Octave's own allocator pairs and globals are not instrumented; leave them be.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:alloc_dealloc_mismatch=0:\
new_delete_type_mismatch=0:detect_odr_violation=0:exitcode=0:log_path=$logs/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The sanitizer holds freed memory back to catch late uses, so the tests of
# resident memory growth have nothing to measure here.
LD_PRELOAD=$libasan "$octave" --norc --no-history --no-window-system \
  "$here/run_all.m" "$run" "" resident_memory
status=$?

ours=$(awk -v a="$run/" -v b="$root/" -f "$here/module_leaks.awk" "$logs"/asan.* 2>/dev/null)
failed=$(grep -l 'ERROR: AddressSanitizer' "$logs"/asan.* 2>/dev/null)
errors=$(printf '%s' "$failed" | grep -c .)
total=$(cat "$logs"/asan.* 2>/dev/null | grep -cE '^(Direct|Indirect) leak')
if [ "$errors" -gt 0 ]; then
  cat $failed
fi
if [ -n "$ours" ]; then
  printf 'leaks allocated by the modules:\n%s\n' "$ours"
fi
echo "sanitizer: $errors memory error(s); $total leak report(s) at exit, $(printf '%s' "$ours" | grep -cE '^(Direct|Indirect) leak') from the modules"
[ "$status" -eq 0 ] && [ "$errors" -eq 0 ] && [ -z "$ours" ]
