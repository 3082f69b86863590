## Runs every Octave test file under this folder against the built toolbox.
## Usage: octave-cli run_all.m TOOLBOX_DIR [PATTERN [EXCLUDE]]
## runs the files whose path holds PATTERN ("" for all) and not EXCLUDE.
## Ends with "N passed, N failed" and exits non-zero on any failure.
args = argv ();
here = fileparts (mfilename ("fullpath"));
if (isempty (here))
  here = pwd ();
endif
toolbox = args{1};
pattern = "";
if (numel (args) > 1)
  pattern = args{2};
endif
exclude = "";
if (numel (args) > 2)
  exclude = args{3};
endif
addpath (toolbox);
addpath (fullfile (here, "lib"));
addpath (fullfile (here, "..", "..", "demo"));
files = [glob(fullfile (here, "*.tst")); glob(fullfile (here, "*", "*.tst"))];
passed = 0;
failed = 0;
for k = 1:numel (files)
  f = files{k};
  if ((! isempty (pattern) && isempty (strfind (f, pattern)))
      || (! isempty (exclude) && ! isempty (strfind (f, exclude))))
    continue;
  endif
  log = tempname ();
  fid = fopen (log, "w");
  [n, nmax] = test (f, "quiet", fid);
  fclose (fid);
  [~, name] = fileparts (f);
  printf ("%-28s %4d of %4d\n", name, n, nmax);
  if (n < nmax)
    printf ("%s\n", fileread (log));
  endif
  delete (log);
  passed += n;
  failed += nmax - n;
endfor
printf ("%d passed, %d failed\n", passed, failed);
exit (failed > 0);
