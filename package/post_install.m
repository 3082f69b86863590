function post_install (desc)
  ## Moves each module's help text beside its MEX file, where help finds it:
  ## pkg installs the MEX files in an architecture folder of their own.
  ## The MEX files of the steps users never call go the other way, into the
  ## private folder of the functions that call them.
  for f = glob (fullfile (desc.archprefix, "*", "*.mex"))'
    [where, name] = fileparts (f{1});
    text = fullfile (desc.dir, [name ".m"]);
    if (exist (fullfile (desc.dir, "private", [name ".m"]), "file"))
      movefile (f{1}, fullfile (desc.dir, "private"));
    elseif (exist (text, "file"))
      movefile (text, where);
    endif
  endfor
endfunction
