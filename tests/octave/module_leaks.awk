# Usage: awk -v a=MODULE_DIR/ -v b=SOURCE_DIR/ -f module_leaks.awk REPORTS...
# Leak reports of LeakSanitizer, one per block: prints those allocated
# directly by a module's code during a module call: the allocator's caller
# (frame #1) lies in the modules' folder (a), the project's sources (b), or
# in a module already unloaded at exit, and the stack passes through the
# host's module call.
/^(Direct|Indirect) leak/ { block = $0; mine = 0; called = 0; inside = 1; next }
inside && NF == 0 { if (mine && called) print block "\n"; inside = 0; next }
inside {
  block = block "\n" $0
  if ($1 == "#1" && (index($0, a) || index($0, b) || index($0, "<unknown module>")))
    mine = 1
  if (index($0, "call_mex"))
    called = 1
}
END { if (inside && mine && called) print block "\n" }
