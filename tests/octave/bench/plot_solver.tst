## The solver benchmark's plot script, run as the benchmark runs it: a new
## octave-cli without a display, on a small table with a failed run, a
## residual short of the tolerance and a family that only some solvers ran.

%!test
%! root = fullfile (fileparts (which ("ladder_reference")), "..", "..", "..");
%! d = tempname ();
%! mkdir (d);
%! unwind_protect
%!   csv = fullfile (d, "t.csv");
%!   png = fullfile (d, "t.png");
%!   fid = fopen (csv, "w");
%!   fputs (fid, ["family,n,nnz,solver,setting,setup_s,iterations,solve_s,ns_per_nnz,relres,best,note\n", ...
%!                "grid2_unit,100,460,ladder_double,double,0.01,9,0.02,65.2,3.0e-09,1,\n", ...
%!                "grid2_unit,100,460,hypre,pmis,0.02,8,0.01,65.2,2.0e-09,1,\n", ...
%!                "grid2_unit,100,460,hypre,hmis,0.03,8,0.01,86.9,2.0e-09,0,\n", ...
%!                "grid2_log,100,460,ladder_double,double,0.01,30,0.05,130.4,2.0e-08,1,\n", ...
%!                "grid2_log,100,460,mldivide,-,NaN,NaN,NaN,NaN,NaN,1,out of memory\n", ...
%!                "islands,90,300,pcg+ichol,nofill,0.01,40,0.2,700.0,5.0e-09,1,\n"]);
%!   fclose (fid);
%!   cli = fullfile (OCTAVE_HOME, "bin", "octave-cli");
%!   cmd = sprintf ("env -u DISPLAY %s --norc --no-history --no-window-system %s %s %s 2>&1", ...
%!                  cli, fullfile (root, "bench", "plot_solver.m"), csv, png);
%!   [status, text] = system (cmd);
%!   if (status != 0)
%!     error ("plot_solver exited with status %d:\n%s", status, text);
%!   endif
%!   info = imfinfo (png);
%!   assert ([info.Width, info.Height], [1152, 432]);
%!   img = imread (png);
%!   assert (numel (unique (img)) > 2);
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (d, "s");
%! end_unwind_protect
