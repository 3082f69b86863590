## kelvara_build, run in Octave from the source tree, compiles every module
## of the CMake build into the folder it is given (the steps users never
## call into its private folder, as the build does), and each of them loads
## and answers a call.

%!test
%! src = canonicalize_file_name (fullfile (fileparts (file_in_loadpath ("grid_levels.m")), "..", "toolbox"));
%! toolbox = fileparts (which ("ladder_double"));
%! out = tempname ();
%! mkdir (out);
%! here = pwd ();
%! unwind_protect
%!   cd (src);                  # this kelvara_build, not the build's copy
%!   clear kelvara_build;
%!   evalc ("kelvara_build ('outdir', out)");
%!   assert (pwd (), src);
%!   built = dir (fullfile (out, "*.mex"));
%!   made = dir (fullfile (toolbox, "*.mex"));
%!   assert (sort ({built.name}), sort ({made.name}));
%!   hidden = dir (fullfile (out, "private", "*.mex"));
%!   kept = dir (fullfile (toolbox, "private", "*.mex"));
%!   assert (sort ({hidden.name}), sort ({kept.name}));
%!   cd (out);
%!   for f = {built.name}
%!     [~, name] = fileparts (f{1});
%!     assert (which (name), fullfile (out, f{1}));
%!     try
%!       feval (name);
%!     catch err
%!       assert (strncmp (err.message, [name ":"], numel (name) + 1), err.message);
%!     end_try_catch
%!   endfor
%! unwind_protect_cleanup
%!   cd (here);
%!   clear kelvara_build;
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (out, "s");
%! end_unwind_protect
