// Reading a Hierarchy cell array into LevelRecords, and the checks that make
// the cycle safe on whatever a caller passes.
#ifndef KELVARA_MULTIGRID_UNPACK_H
#define KELVARA_MULTIGRID_UNPACK_H

#include "levels.h"
#include "mex.h"

#include <cstddef>

// Fills levels[0 .. L-1] from the entries of H and returns L, the number of
// levels used; refuses missing fields and fields of the wrong class, count
// or range, naming the entry and the field.  levels has room for every
// entry of H.
std::size_t unpack(const mxArray *H, LevelRecord *levels);

// Refuses a Hierarchy whose used levels break what the cycle relies on:
// segment and row starts, indices, the coarse-node map and the order of
// the next level, the factor and its permutations, the length m of the
// right-hand side b, and workspaces whose data overlap another array the
// cycle reads or writes.
void validate(const LevelRecord *levels, std::size_t L, const Real *b,
              std::size_t m);

#endif
