function post_install (desc)
  ## Moves each module's help text beside its MEX file, where help finds it:
  ## pkg installs the MEX files in an architecture folder of their own.
  for f = glob (fullfile (desc.archprefix, "*", "*.mex"))'
    [where, name] = fileparts (f{1});
    text = fullfile (desc.dir, [name ".m"]);
    if (exist (text, "file"))
      movefile (text, where);
    endif
  endfor
endfunction
