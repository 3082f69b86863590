## The example on the README's front page runs as printed and converges.

%!test
%! readme = fullfile (fileparts (file_in_loadpath ("grid_levels.m")), "..", "README.md");
%! code = regexp (fileread (readme), '## Example\s+```octave\n(.*?)```', "tokens", "once"){1};
%! code = regexprep (code, '(?m)^addpath[^\n]*', "");   # the toolbox is on the path here
%! out = evalc (code);
%! assert (regexp (out, '^flag 0, \d+ iterations, relative residual', "once"), 1, out);
%! assert (size (X), [90000 3]);
%! assert (flag, 0);          # gmres with the Hierarchy as preconditioner
