## Contents.m lists every function of the toolbox folder and nothing else,
## and each function's help opens with its H1 line: the name in capitals
## and a one-line summary, which help, lookfor and Contents.m show.

%!test
%! folder = fileparts (file_in_loadpath ("Contents.m"));
%! files = dir (fullfile (folder, "*.m"));
%! names = setdiff (regexprep ({files.name}, '\.m$', ""), {"Contents"});
%! listed = regexp (fileread (fullfile (folder, "Contents.m")),
%!                  '(?m)^%   ([a-z_0-9]+) +- ', "tokens");
%! listed = [listed{:}];
%! assert (setdiff (names, listed), cell (1, 0));
%! assert (setdiff (listed, names), cell (1, 0));
%! for k = 1:numel (names)
%!   h1 = strtrim (strsplit (get_help_text (names{k}), "\n"){1});
%!   assert (regexp (h1, ['^' upper(names{k}) '  \S.{8,}$'], "once"), 1, names{k});
%! endfor
