function kelvara_build(varargin)
% KELVARA_BUILD  Build kelvara's modules with this program's mex command.
%   kelvara_build() compiles every module into the folder of this file, for
%   MATLAB (run it in MATLAB) or GNU Octave (run it in Octave).
%   kelvara_build(NAME, ...) compiles only the named modules.
%   kelvara_build(..., 'boost', DIR) names the folder holding boost/graph
%   (default: /usr/include, or the BOOST_ROOT environment variable).
%   kelvara_build(..., 'outdir', DIR) writes the modules into DIR instead;
%   add DIR and this file's folder (for the help texts) to the path.
%   kelvara_build(..., 'indices', BITS) chooses MATLAB's array interface:
%   64 (default, -largeArrayDims) or 32 (-compatibleArrayDims, 32-bit counts
%   and sparse indices).  Octave has one interface and takes no flag.
%
%   The graph modules need the header-only Boost Graph Library.

  here = fileparts(mfilename('fullpath'));
  root = fileparts(here);
  boost = getenv('BOOST_ROOT');
  if isempty(boost)
    boost = '/usr/include';
  end
  outdir = here;
  names = {};
  bits = 64;
  k = 1;
  while k <= numel(varargin)
    if strcmpi(varargin{k}, 'boost')
      boost = varargin{k + 1};
      k = k + 2;
    elseif strcmpi(varargin{k}, 'outdir')
      outdir = varargin{k + 1};
      k = k + 2;
    elseif strcmpi(varargin{k}, 'indices')
      bits = varargin{k + 1};
      k = k + 2;
    else
      names{end + 1} = varargin{k}; %#ok<AGROW>
      k = k + 1;
    end
  end

  mg = {'ladder.cpp', 'unpack.cpp', 'validate.cpp', 'preconditioner.cpp', 'ldl_solve.cpp', ...
        'sspmv.cpp', 'rmvec.cpp', 'vpv.cpp', 'vmv.cpp', 'vvmul.cpp'};
  % conjugate gradients of the front end, with the cycle's own sources
  cg = [{'ladder_cg.cpp', 'fcg.cpp', 'kcycle.cpp', 'block.cpp'}, fullfile('..', 'multigrid', mg(2:end))];
  % name, folder, sources, defines, needs Boost
  modules = {
    'ladder_single', 'multigrid', mg, {'-DKELVARA_REAL=float'}, false
    'ladder_double', 'multigrid', mg, {'-DKELVARA_REAL=double'}, false
    'heavy_edge', 'hierarchy', {'heavy_edge.cpp'}, {}, false
    'tree_tags', 'hierarchy', {'tree_tags.cpp'}, {}, false
    'tree_cleave', 'hierarchy', {'tree_cleave.cpp'}, {}, false
    'relabel_sets', 'hierarchy', {'relabel_sets.cpp'}, {}, false
    'mask_enumerate', 'hierarchy', {'mask_enumerate.cpp'}, {}, false
    'sdd_from_weights', 'transforms', {'sdd_from_weights.cpp'}, {}, false
    'weights_from_sdd', 'transforms', {'weights_from_sdd.cpp'}, {}, false
    'twosided_scale', 'transforms', {'twosided_scale.cpp'}, {}, false
    'jitter_lower', 'transforms', {'jitter_lower.cpp'}, {}, false
    'wavefront', 'graph', {'wavefront.cpp'}, {}, true
    'graph_islands', 'graph', {'graph_islands.cpp'}, {}, true
    'dag_sequence', 'graph', {'dag_sequence.cpp'}, {}, true
    'route_unwind', 'graph', {'route_unwind.cpp'}, {}, false
    'sdd_kind', 'solver', {'sdd_kind.cpp'}, {}, false
    'ladder_fingerprint', 'solver', {'ladder_fingerprint.cpp'}, {}, false
    'ladder_grounding', 'solver', {'ladder_grounding.cpp'}, {}, false
    'ladder_setup', 'solver', {'ladder_setup.cpp'}, {}, false
    'ldl_rows', 'solver', {'ldl_rows.cpp'}, {}, false
    'ladder_cg_single', 'solver', cg, {'-DKELVARA_REAL=float'}, false
    'ladder_cg_double', 'solver', cg, {'-DKELVARA_REAL=double'}, false
  };

  % compiled steps users never call, beside their help texts in private/
  hidden = {'sdd_kind', 'ladder_setup', 'ldl_rows', ...
            'ladder_fingerprint', 'ladder_grounding', 'ladder_cg_single', 'ladder_cg_double'};

  if ~isequal(bits, 64) && ~isequal(bits, 32)
    error('kelvara_build: indices must be 64 or 32');
  end
  if bits == 32
    dims = '-compatibleArrayDims';
  else
    dims = '-largeArrayDims';
  end
  octave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
  back = cd(outdir);    % absolute, as the Octave build runs elsewhere
  outdir = pwd;
  cd(back);
  if octave
    % mkoctfile leaves its object files in the current folder and takes
    % compiler options from CXXFLAGS: build in a scratch folder, with the
    % options of the CMake build, and restore both afterwards
    work = tempname();
    mkdir(work);
    saved = getenv('CXXFLAGS');
    restore = onCleanup(@() octave_restore(back, saved, work)); %#ok<NASGU>
    setenv('CXXFLAGS', [strtrim(mkoctfile('-p', 'CXXFLAGS')) ' -ffp-contract=off']);
    cd(work);
  end
  for m = 1:size(modules, 1)
    name = modules{m, 1};
    if ~isempty(names) && ~any(strcmp(names, name))
      continue;
    end
    sources = fullfile(root, modules{m, 2}, modules{m, 3});
    dest = outdir;
    if any(strcmp(hidden, name))
      dest = fullfile(outdir, 'private');
      if ~exist(dest, 'dir')
        mkdir(dest);
      end
    end
    args = [{['-I' fullfile(root, 'host')]}, modules{m, 4}];
    if modules{m, 5}
      args{end + 1} = ['-I' boost]; %#ok<AGROW>
    end
    if octave
      args = [args, {'-o', fullfile(dest, [name '.' mexext()])}, sources]; %#ok<AGROW>
    else
      if ispc
        flags = 'COMPFLAGS=$COMPFLAGS /std:c++17';
      else
        flags = 'CXXFLAGS=$CXXFLAGS -std=c++17 -ffp-contract=off';
      end
      args = [{dims, flags, '-outdir', dest, '-output', name}, args, ...
              sources]; %#ok<AGROW>
    end
    fprintf('building %s\n', name);
    mex(args{:});
  end
  % let this session find the new modules ahead of their help files
  rehash;
end

function octave_restore(back, flags, work)
  cd(back);
  if isempty(flags)
    unsetenv('CXXFLAGS');
  else
    setenv('CXXFLAGS', flags);
  end
  confirm_recursive_rmdir(false, 'local');
  rmdir(work, 's');
end
