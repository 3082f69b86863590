## ladder_double and ladder_single on Hierarchies that are well formed in
## every field but ask for more than a call can give: cells far longer
## than the levels supported, and cycles whose visits multiply beyond any
## useful amount of work.  Each ends at once in an error.

%!function H = chain (L, repeat)
%!  ## L inner levels of order 1 with the given repeat, then a direct last
%!  ## level; every workspace its own array
%!  H = two_level_example ("double");
%!  s = H{1};
%!  s.A = H{2}.A;
%!  s.invD = 0.5;
%!  s.cI = uint32 (0);
%!  last = H{2};
%!  H = cell (1, L + 1);
%!  for i = 1:L
%!    s.repeat = repeat(min (i, end));
%!    s.lws1 = zeros (1, 1);
%!    s.lws2 = zeros (1, 1);
%!    s.sws1 = zeros (1, 1);
%!    s.sws2 = zeros (1, 1);
%!    s.sws3 = zeros (1, 1);
%!    H{i} = s;
%!  endfor
%!  H{L + 1} = last;
%!endfunction
%!function mb = peak_mb ()
%!  s = fileread ("/proc/self/status");
%!  mb = str2double (regexp (s, 'VmHWM:\s*(\d+)', "tokens", "once"){1}) / 1024;
%!endfunction

## A cell of two million empty entries is refused before any entry is read
## or any record allocated: the peak memory of the session barely moves.
%!test
%! C = cell (2e6, 1);
%! before = peak_mb ();
%! fail ("ladder_double (C, 1)", "Hierarchy of 2000000 entries is deeper than the 10000 levels");
%! fail ("ladder_single (C', single (1))", "Hierarchy of 2000000 entries");
%! assert (peak_mb () - before < 20);

## The level limit itself: 10001 entries whose second to last is the last
## level use 10000 levels; 10002 entries are too many.
%!test
%! C = num2cell (zeros (1, 10002));
%! fail ("ladder_double (C, 1)", "Hierarchy of 10002 entries is deeper");
%! C{10000} = struct ("islast", 1);
%! fail ("ladder_double (C(1:10001), 1)", "H\\{1\\} must be a struct");

## Work that multiplies down the levels: W-cycles on forty and on
## thirty-one levels visit the last 2^39 and 2^30 times (the second would
## run for minutes), and a repeat of 2^31 - 1 on three levels would run for
## ever; all are refused with the level and its visits.  A W-cycle on
## twelve levels runs.
%!test
%! fail ("ladder_double (chain (40, 2), 1)", "cycle of this Hierarchy visits H\\{[0-9]+\\} [0-9]+ times");
%! fail ("ladder_double (chain (31, 2), 1)", "cycle of this Hierarchy visits H\\{[0-9]+\\} [0-9]+ times");
%! fail ("ladder_double (chain (3, 2^31 - 1), 1)", "visits H\\{[234]\\} [0-9]+ times");
%! ## one visit of a level of a million stored entries running 2^31 - 1
%! ## cycles
%! H = chain (2, 2^31 - 1);
%! H{2}.A = struct ("a", ones (1e6, 1), "ia", uint32 ([0; 1e6]), "ja", zeros (1e6, 1, "uint32"), ...
%!                  "n", 1, "issym", 1);
%! fail ("ladder_double (H, 1)", "visits H\\{2\\} 1 times and reads over 3e\\+09 stored entries");
%! assert (ladder_double (chain (12, 2), 1) > 0);
%! ## a repeat of 0 or below stops the descent: nothing below is visited
%! assert (ladder_double (chain (40, [2 0]), 1) > 0);
