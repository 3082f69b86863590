## Installs the Octave package into a temporary prefix, as a user would, and
## checks what the user gets: every module of this build compiled by the
## package and found with its help text, a solve, and `pkg test` passing.
## Usage: octave-cli check_package.m PACKAGE.tar.gz TOOLBOX_DIR
args = argv ();
tarball = make_absolute_filename (args{1});
toolbox = args{2};
root = tempname ();
mkdir (root);
failures = {};
unwind_protect
  pkg ("prefix", fullfile (root, "share"), fullfile (root, "lib"));
  pkg ("local_list", fullfile (root, "packages"));
  printf ("installing %s\n", tarball);
  pkg ("install", "-local", tarball);
  pkg ("load", "kelvara");

  ## Each module of the build resolves to a MEX file of the installed
  ## package, and `help` finds the text of those that have one.
  mods = dir (fullfile (toolbox, "*.mex"));
  for k = 1:numel (mods)
    [~, name] = fileparts (mods(k).name);
    where = which (name);
    if (exist (name) != 3 || ! strncmp (where, root, numel (root)))
      failures{end + 1} = sprintf ("%s: not a MEX file of the package (%s)", name, where);
    endif
    text = get_help_text (name);
    if (exist (fullfile (toolbox, [name ".m"]), "file")
        && isempty (regexp (text, ['^\s*' upper(name) '\s'], "once")))
      failures{end + 1} = sprintf ("%s: help text not found", name);
    endif
  endfor
  printf ("%d modules found in the package\n", numel (mods));

  ## The steps users never call lie in the private folder of the front end
  ## that calls them, each beside its help text.
  priv = fullfile (fileparts (which ("ladder_build")), "private");
  hidden = dir (fullfile (toolbox, "private", "*.mex"));
  for k = 1:numel (hidden)
    [~, name] = fileparts (hidden(k).name);
    if (! exist (fullfile (priv, hidden(k).name), "file")
        || ! exist (fullfile (priv, [name ".m"]), "file"))
      failures{end + 1} = sprintf ("%s: not in the package's private folder %s", name, priv);
    endif
  endfor
  printf ("%d private modules found in the package\n", numel (hidden));

  ## One solve from the installed package, through its front end.
  n = 40;
  e = ones (n, 1);
  T = spdiags ([-e 2*e -e], -1:1, n, n);
  L = kron (T, speye (n)) + kron (speye (n), T);
  b = (1:n^2)';
  [x, flag] = ladder_solve (L, b, 1e-10, 100);
  res = norm (L*x - b) / norm (b);
  printf ("solve from the package: flag %d, relative residual %.1e\n", flag, res);
  if (flag != 0 || res > 1e-9)
    failures{end + 1} = "the solve from the package did not converge";
  endif

  ## The package's own test blocks.
  here = pwd ();
  cd (root);          # pkg test writes its log into the current folder
  out = evalc ('pkg ("test", "kelvara")');
  cd (here);
  npass = str2double (regexp (out, 'PASS\s+(\d+)', "tokens", "once"));
  nfail = str2double (regexp (out, 'FAIL\s+(\d+)', "tokens", "once"));
  printf ("pkg test kelvara: %d passed, %d failed\n", npass, nfail);
  if (! (npass > 0 && nfail == 0))
    failures{end + 1} = ["pkg test kelvara:\n" out];
  endif
unwind_protect_cleanup
  pkg ("unload", "kelvara");
  confirm_recursive_rmdir (false, "local");
  rmdir (root, "s");
end_unwind_protect

printf ("%s\n", failures{:});
exit (! isempty (failures));
