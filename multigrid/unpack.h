// Reading a Hierarchy cell array into LevelRecords, and the checks that make
// the cycle safe on whatever a caller passes.
#ifndef KELVARA_MULTIGRID_UNPACK_H
#define KELVARA_MULTIGRID_UNPACK_H

#include "levels.h"
#include "mex.h"

#include <cstddef>
#include <vector>

// The most levels a Hierarchy may use.
constexpr std::size_t max_levels = 10000;

// The most work one cycle may do, in stored entries read, a visit to a level
// counting as visit_cost entries besides (its calls and loops of a few
// entries cost about that much).  A call cannot be interrupted, so the bound
// is what runs in a few seconds: a cycle of a 2-D grid of 10^8 unknowns, or
// a chain of levels of one unknown visited 2.6 * 10^7 times.
constexpr double max_work = 3e9;
constexpr double visit_cost = 100;

// The records of the levels H uses, one per level, filled from its entries;
// refuses missing fields and fields of the wrong class, count or range,
// naming the entry and the field.
std::vector<LevelRecord> unpack(const mxArray *H);

// Refuses a Hierarchy whose used levels break what the cycle relies on:
// segment and row starts, indices, the coarse-node map and the order of
// the next level, the factor and its permutations, the length m of the
// right-hand side b, a cycle of more than max_work, and workspaces whose
// data overlap another array the cycle reads or writes.
void validate(const LevelRecord *levels, std::size_t L, const Real *b,
              std::size_t m);

#endif
