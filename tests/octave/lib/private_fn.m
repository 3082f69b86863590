function f = private_fn (name)
% PRIVATE_FN  A handle to NAME in the toolbox's private folder, for tests of
%   the compiled steps users never call: made with that folder current, the
%   handle keeps the function it found there.
  folder = fullfile (fileparts (which ('ladder_build')), 'private');
  back = cd (folder);
  unwind_protect
    f = str2func (name);
  unwind_protect_cleanup
    cd (back);
  end_unwind_protect
end
