// The K-cycle of a Hierarchy, applied to k vectors at once: on every level
// a Jacobi sweep from zero, the residual restricted to the coarse nodes, a
// coarse correction and a second sweep, as the cycle modules run it; but
// where the cycle modules repeat the coarse cycle ("repeat" 2), the
// coarse correction here is two steps of flexible conjugate gradients on
// the coarse level, each preconditioned by the coarse level's own K-cycle,
// so the coarse error is minimised in the coarse matrix's norm rather than
// only reduced.  A last level is solved by its factor or its weights.
#ifndef KELVARA_SOLVER_KCYCLE_H
#define KELVARA_SOLVER_KCYCLE_H

#include "../multigrid/levels.h"
#include "interrupt.h"
#include "pages.h"

#include <cstddef>
#include <vector>

class kcycle {
public:
  // Workspaces for blocks of k vectors over the levels (validated).
  kcycle(const std::vector<LevelRecord> &levels, std::size_t k, const kelvara::interrupt_poll &stop);
  kcycle(const kcycle &) = delete;
  kcycle &operator=(const kcycle &) = delete;
  // Z = the cycle applied to R, blocks of the finest order times k; fails
  // with "kelvara:interrupted" when the host asks to stop.
  void apply(const Real *r, Real *z);

private:
  struct space {
    Real *t, *rc, *c1, *v1, *c2;  // product; coarse rhs, result, A*c1, second direction
    double *d;                    // the level's scalars of each column, 7 per column
  };
  static void layout(const std::vector<LevelRecord> &levels, std::size_t k, Real *m, double *d,
                     space *sp, double **w, std::size_t *reals, std::size_t *doubles);
  static std::size_t reals(const std::vector<LevelRecord> &levels, std::size_t k);
  static std::size_t doubles(const std::vector<LevelRecord> &levels, std::size_t k);
  void visit(std::size_t l, const Real *b, Real *x);
  void coarse(std::size_t m, int steps);
  const std::vector<LevelRecord> &lv_;
  std::size_t k_;
  const kelvara::interrupt_poll &stop_;
  std::vector<space> sp_;
  std::vector<int> steps_;               // coarse steps on each level
  kelvara::pages<Real> mem_;             // every level's vectors
  kelvara::pages<double> dmem_;          // their scalars, and the factored level's work block
  double *w_ = nullptr;
};

#endif
