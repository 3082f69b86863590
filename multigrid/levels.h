// The records a Hierarchy is unpacked into; every pointer borrows the data
// of an array of the Hierarchy for the length of one call.
#ifndef KELVARA_MULTIGRID_LEVELS_H
#define KELVARA_MULTIGRID_LEVELS_H

#include "real.h"

// A symmetric level matrix (or a factor) stored by rows; see sspmv.
template <class T> struct SparseRows {
  T *a;
  std::uint32_t *ia;
  std::uint32_t *ja;
  std::uint32_t n;
  std::uint32_t issym;
};

// The LDL' factor of a last level, with its symmetric permutation.
struct CholFactor {
  SparseRows<double> ld;
  SparseRows<double> ldT;
  std::uint32_t *p;
  std::uint32_t *invp;
};

struct LevelRecord {
  std::uint32_t *cI;
  std::uint32_t nc;
  SparseRows<Real> A;
  Real *invD;
  std::uint32_t dc;
  std::int32_t repeat;
  std::uint32_t islast;
  std::uint32_t laplacian;
  std::uint32_t iterative;
  CholFactor chol;
  Real *lws1, *lws2, *sws1, *sws2, *sws3;
};

#endif
