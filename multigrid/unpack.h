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
// entries cost about that much): many hours of work, far beyond any useful
// cycle, where a call cannot be interrupted.
constexpr double max_work = 1e13;
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
