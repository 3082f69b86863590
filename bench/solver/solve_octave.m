## One solve of the solver benchmark inside Octave, run in a process of its
## own so that each solver starts from a fresh heap and can be stopped.
## Usage: octave-cli --norc solve_octave.m TOOLBOX SYSTEM XFILE SOLVER SETTING
##   SOLVER ladder   SETTING double | single (ladder_build + ladder_solve)
##          block    SETTING double | single (the same, on the k right-hand
##                                           sides of SYSTEM.bk at once)
##          mldivide SETTING -              (x = A \ b)
##          ichol    SETTING nofill | nofill-michol | ict-DROPTOL (pcg)
## Prints "RESULT setup_s iterations solve_s flag setup_wall_s solve_wall_s"
## (CPU seconds of this process, then wall-clock seconds; for several
## right-hand sides the most iterations and the largest flag of any) and
## writes x (n-by-k) to XFILE.
args = argv ();
addpath (args{1});
addpath (fileparts (mfilename ("fullpath")));
[A, b] = read_system (args{2});
[solver, setting] = deal (args{4}, args{5});
if (strcmp (solver, "block"))
  fid = fopen ([args{2} ".bk"], "r");
  b = reshape (fread (fid, Inf, "double"), rows (A), []);
  fclose (fid);
  solver = "ladder";
endif
tol = 1e-8;
## CPU and wall-clock seconds since the start of a stage.
now_s = @() [cputime(), time()];

## A small grounded path, solved first so that loading the modules and the
## m-files is not timed.
W = spdiags (ones (50, 3), -1:1, 50, 50);
A0 = 3 * speye (50) - W;
b0 = ones (50, 1);

switch (solver)
  case "ladder"
    opts = struct ("precision", setting);
    ladder_solve (A0, repmat (b0, 1, columns (b)), tol, 50, ladder_build (A0, opts), opts);
    t0 = now_s ();
    H = ladder_build (A, opts);
    setup = now_s () - t0;
    t0 = now_s ();
    [x, flag, ~, iter] = ladder_solve (A, b, tol, 500, H, opts);
    solve = now_s () - t0;
  case "mldivide"
    A0 \ b0;
    setup = [0 0];
    iter = 0;
    flag = 0;
    t0 = now_s ();
    x = A \ b;
    solve = now_s () - t0;
  case "ichol"
    opts = struct ("type", "nofill", "michol", "off");
    if (strncmp (setting, "ict-", 4))
      opts = struct ("type", "ict", "droptol", str2double (setting(5:end)), "michol", "off");
    elseif (strcmp (setting, "nofill-michol"))
      opts.michol = "on";
    endif
    pcg (A0, b0, tol, 50, ichol (A0, opts));
    t0 = now_s ();
    L = ichol (A, opts);
    setup = now_s () - t0;
    t0 = now_s ();
    [x, flag, ~, iter] = pcg (A, b, tol, 1000, L, L');
    solve = now_s () - t0;
  otherwise
    error ("solve_octave: unknown solver '%s'", solver);
endswitch

fid = fopen (args{3}, "w");
fwrite (fid, x, "double");
fclose (fid);
printf ("RESULT %.6f %d %.6f %d %.6f %.6f\n", setup(1), max (iter), solve(1), max (flag), setup(2), ...
        solve(2));
