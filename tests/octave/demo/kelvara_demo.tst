## The README's demo at a small size, run as a user runs it: it must end
## normally, write a PNG of the photograph's crop, and segment it into more
## than one region.

%!test
%! script = fullfile (fileparts (file_in_loadpath ("grid_levels.m")), "kelvara_demo.m");
%! toolbox = fileparts (which ("ladder_double"));
%! png = [tempname() ".png"];
%! unwind_protect
%!   [status, out] = system (sprintf ("%s --norc --no-history %s %s %s small",
%!                                    fullfile (matlabroot (), "bin", "octave-cli"),
%!                                    script, toolbox, png));
%!   if (status != 0)
%!     error ("the demo exited with status %d:\n%s", status, out);
%!   endif
%!   info = imfinfo (png);
%!   assert ({info.Format, info.Width, info.Height}, {"PNG", 300, 300});
%!   assert (size (imread (png)), [300 300 3]);
%!   pixels = regexp (out, 'label \d+:[^\n]* (\d+) pixels', "tokens");
%!   pixels = str2double ([pixels{:}]);
%!   assert (nnz (pixels > 0) > 1, out);
%!   assert (sum (pixels), 300 * 300);
%!   assert (isempty (strfind (out, "not converged")), out);
%! unwind_protect_cleanup
%!   if (exist (png, "file"))
%!     unlink (png);
%!   endif
%! end_unwind_protect
