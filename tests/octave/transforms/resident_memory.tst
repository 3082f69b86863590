## twosided_scale and jitter_lower called many times in one session: the
## session's resident memory stays put, also for a complex argument, whose
## imaginary parts Octave converts when they are read.

%!function kb = resident_kb ()
%!  s = fileread ("/proc/self/status");
%!  kb = str2double (regexp (s, 'VmRSS:\s*(\d+)', "tokens", "once"){1});
%!endfunction

%!test
%! A = sprand (40, 40, 0.1) + speye (40);
%! C = A + 1i * sprand (40, 40, 0.1);
%! v = rand (40, 1);
%! calls = {@() twosided_scale(A, v), @() jitter_lower(A, 1, 2), ...
%!          @() twosided_scale(C, v), @() jitter_lower(C, 1, 2)};
%! for k = 1:numel (calls)
%!   f = calls{k};
%!   for i = 1:2000
%!     B = f ();
%!   endfor
%!   before = resident_kb ();
%!   for i = 1:20000
%!     B = f ();
%!   endfor
%!   grown = resident_kb () - before;
%!   assert (grown < 400, sprintf ("%s: %d kB more after 20000 calls", func2str (f), grown));
%! endfor
