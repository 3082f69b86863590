// Flexible conjugate gradients on k systems A x = b in lockstep, each
// preconditioned by the K-cycle (which is not a fixed linear operator, so
// each direction is made A-orthogonal to the last one explicitly).
#ifndef KELVARA_SOLVER_FCG_H
#define KELVARA_SOLVER_FCG_H

#include "kcycle.h"
#include "mex.h"

#include <cstddef>
#include <vector>

// The sparse symmetric n-by-n matrix of the host, by columns.
struct csc {
  std::size_t n;
  const mwIndex *jc, *ir;
  const double *a;
};

// What the solve of one column came to, as the programs' pcg reports it.
struct column_outcome {
  int flag = 1;
  double relres = 0;
  double iter = 0;
  std::vector<double> resvec;
};

// X (n-by-k, by columns as the host stores it) = the solutions of A X = B
// from X0 (null: from zero), each stopped when its true residual is at most
// tol times the norm of its b, after maxit iterations, or when it stops
// improving.  Fails with "kelvara:interrupted" when the host asks to stop.
void fcg(const csc &A, std::size_t k, const double *B, const double *X0, double tol,
         double maxit, kcycle &M, const kelvara::interrupt_poll &stop, double *X,
         std::vector<column_outcome> &out);

#endif
