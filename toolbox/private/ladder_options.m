function opts = ladder_options (varargin)
% LADDER_OPTIONS  Options of ladder_build and ladder_solve from a struct or
%   name/value pairs, checked, over their defaults.
  opts = struct ('precision', 'double', 'maxdirect', 1000, 'maxlevels', 50, 'verbose', false);
  if (numel (varargin) == 1 && isstruct (varargin{1}))
    given = varargin{1};
    names = fieldnames (given);
    values = struct2cell (given);
  elseif (mod (numel (varargin), 2) == 0 && iscellstr (varargin(1:2:end)))
    names = varargin(1:2:end);
    values = varargin(2:2:end);
  else
    error ('kelvara:badOption', 'Options must be a struct or name/value pairs with names as strings.');
  end
  for k = 1:numel (names)
    name = lower (names{k});
    v = values{k};
    switch (name)
      case 'precision'
        if (~ (ischar (v) && any (strcmpi (v, {'double', 'single'}))))
          error ('kelvara:badOption', 'Option ''precision'' must be ''double'' or ''single''.');
        end
        v = lower (v);
      case {'maxdirect', 'maxlevels'}
        if (~ (isnumeric (v) && isscalar (v) && isreal (v) && v >= 1 && v == fix (v)))
          error ('kelvara:badOption', 'Option ''%s'' must be a whole number of at least 1.', name);
        end
        v = double (v);
      case 'verbose'
        if (~ ((islogical (v) || isnumeric (v)) && isscalar (v)))
          error ('kelvara:badOption', 'Option ''verbose'' must be true or false.');
        end
        v = logical (v);
      otherwise
        error ('kelvara:badOption', 'Unknown option ''%s''; the options are precision, maxdirect, maxlevels and verbose.', names{k});
    end
    opts.(name) = v;
  end
end
