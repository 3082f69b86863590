function meta = ladder_meta (meta)
% LADDER_META  The meta-data "kelvara" of a Hierarchy's first level, each
%   field checked for its class and size: the order of A, whether A was
%   reduced to its cover of twice the order ("doubled"), the singular
%   components of H's finest level ("grounded"), the precision, and the
%   fingerprint of A.
  if (~ (isstruct (meta) && isscalar (meta)))
    error ('kelvara:badHierarchy', 'H{1}.kelvara must be a struct made by ladder_build.');
  end
  names = {'order', 'doubled', 'grounded', 'precision', 'fingerprint'};
  missing = names(~ isfield (meta, names));
  if (~ isempty (missing))
    error ('kelvara:badHierarchy', 'H{1}.kelvara has no field "%s"; H was not made by ladder_build.', missing{1});
  end
  n = meta.order;
  if (~ (isa (n, 'double') && isscalar (n) && isreal (n) && n >= 0 && n == fix (n)))
    bad ('order', 'a whole double scalar');
  end
  if (~ (islogical (meta.doubled) && isscalar (meta.doubled)))
    bad ('doubled', 'a logical scalar');
  end
  m = n * (1 + meta.doubled);
  if (~ (isa (meta.grounded, 'uint32') && isequal (size (meta.grounded), [m 1])))
    bad ('grounded', sprintf ('a uint32 column of %d entries', m));
  end
  if (~ (ischar (meta.precision) && any (strcmp (meta.precision, {'double', 'single'}))))
    bad ('precision', '''double'' or ''single''');
  end
  if (~ (isa (meta.fingerprint, 'uint64') && isscalar (meta.fingerprint)))
    bad ('fingerprint', 'a uint64 scalar');
  end
end

function bad (name, what)
  % the refusal of a field of the wrong class or size
  error ('kelvara:badHierarchy', 'H{1}.kelvara.%s must be %s; H was not made by ladder_build or was altered.', name, what);
end
