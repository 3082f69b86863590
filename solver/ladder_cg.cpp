// [X, flag, relres, iter, resvec] = ladder_cg_double(A, B, tol, maxit, H, X0)
// and ladder_cg_single(...): flexible conjugate gradients on the sparse
// symmetric A for the k columns of B in lockstep, from X0 (zero when absent
// or empty), each iteration preconditioned by one K-cycle of the Hierarchy
// H, whose levels are in double or single precision (the iteration itself
// is in double).  The solve runs here rather than in m-code so that its
// vectors are made once, not once per operation, and every pass over a
// matrix serves all k columns.  A column stops when its residual recomputed
// from x is at most tol * norm(b), after maxit iterations (Inf: no limit),
// or when its residual stops falling; then x is its iterate of least
// residual.  flag as the programs' pcg: 0 converged, 1 maxit reached, 2 the
// cycle gave a direction of no descent, 3 stagnation, 4 a scalar of the
// iteration became zero or not finite.  relres is norm(b - A*x)/norm(b) of
// the x returned; resvec holds the residual norms from iteration 0, a
// column each, padded with NaN.  H is only read.
#include "../multigrid/unpack.h"
#include "args.h"
#include "fcg.h"
#include "gateway.h"
#include "interrupt.h"
#include "kcycle.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using kelvara::fail_id;

const char *const bad_h = "kelvara:badHierarchy";

// True when the n-element arrays at p and q share a byte.
bool overlap(const void *p, std::size_t pn, const void *q, std::size_t qn)
{
  const char *a = static_cast<const char *>(p), *b = static_cast<const char *>(q);
  return pn && qn && a < b + qn && b < a + pn;
}

// Refuses a workspace of H that shares its data with an argument of the
// call: the cycle modules write workspaces in place, so such an H would
// write the caller's arrays when used with them.
void apart(const std::vector<LevelRecord> &levels, const mxArray *const *args, std::size_t count)
{
  for (std::size_t l = 0; l < levels.size(); ++l) {
    const LevelRecord &V = levels[l];
    const bool inner = l + 1 < levels.size();
    const std::size_t n = V.A.n, nc = inner ? V.nc : 0;
    const Real *ws[] = {V.lws1, V.lws2, V.sws1, V.sws2, V.sws3};
    const std::size_t len[] = {n, n, nc, nc, nc};
    const char *name[] = {"lws1", "lws2", "sws1", "sws2", "sws3"};
    if (!V.invD)
      continue;
    for (std::size_t w = 0; w < 5; ++w)
      for (std::size_t a = 0; a < count; ++a) {
        const mxArray *x = args[a];
        if (!x)
          continue;
        const std::size_t bytes = len[w] * sizeof(Real);
        bool shared = overlap(ws[w], bytes, mxGetData(x), mxGetNumberOfElements(x) * sizeof(double));
        if (mxIsSparse(x)) {
          const std::size_t cols = kelvara::columns(x), nz = kelvara::stored(x);
          shared = overlap(ws[w], bytes, mxGetData(x), nz * sizeof(double)) ||
                   overlap(ws[w], bytes, mxGetIr(x), nz * sizeof(mwIndex)) ||
                   overlap(ws[w], bytes, mxGetJc(x), (cols + 1) * sizeof(mwIndex));
        }
        if (shared)
          fail_id(bad_h, "H{%zu}.%s shares its data with %s; every workspace of H must be an array of its own",
                  l + 1, name[w], a == 0 ? "A" : a == 1 ? "B" : "X0");
      }
  }
}

// The levels of H, checked as the cycle modules check them, with the
// identifier of a bad Hierarchy.
std::vector<LevelRecord> levels_of(const mxArray *H, std::size_t n)
{
  try {
    std::vector<LevelRecord> levels = unpack(H);
    if (levels.empty() || levels[0].A.n != n)
      fail_id(bad_h, "H must be a Hierarchy whose finest level has the order %zu of A", n);
    // the loop reads only vectors of this call's own, never H's
    // workspaces: a fresh vector stands for the right-hand side in the checks
    std::vector<Real> probe(n + 1);
    validate(levels.data(), levels.size(), probe.data(), n + 1);
    return levels;
  } catch (kelvara::failure &f) {
    if (!f.id)
      f.id = bad_h;
    throw;
  }
}

void ladder_cg(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 5 && nrhs != 6)
    fail_id("kelvara:badArguments", "Wrong number of input arguments: A, B, TOL, MAXIT, H and optionally X0");
  if (nlhs > 5)
    fail_id("kelvara:badArguments", "Wrong number of output arguments: at most X, FLAG, RELRES, ITER, RESVEC");
  const mxArray *A = prhs[0], *B = prhs[1], *H = prhs[4];
  const mxArray *X0 = nrhs == 6 && !mxIsEmpty(prhs[5]) ? prhs[5] : nullptr;
  if (!kelvara::is_sparse_double(A) || mxIsComplex(A) || mxGetM(A) != kelvara::columns(A))
    fail_id("kelvara:notNumeric", "A must be a real square sparse double matrix");
  const std::size_t n = mxGetM(A);
  if (!kelvara::is_full_double(B) || mxIsComplex(B) || mxGetNumberOfDimensions(B) != 2 ||
      mxGetM(B) != n)
    fail_id("kelvara:badRightHandSide", "B must be a real full double matrix of %zu rows", n);
  const std::size_t k = kelvara::columns(B);
  const double *b = mxGetPr(B);
  for (std::size_t i = 0; i < n * k; ++i)
    if (!std::isfinite(b[i]))
      fail_id("kelvara:badRightHandSide", "B must be finite");
  const mxArray *T = prhs[2], *M = prhs[3];
  const double tol = kelvara::is_number_class(T) && !mxIsComplex(T) && mxGetNumberOfElements(T) == 1
                         ? mxGetScalar(T) : -1;
  if (!(tol > 0 && tol < 1))
    fail_id("kelvara:badTolerance", "TOL must be a real scalar between 0 and 1");
  const double maxit = kelvara::is_number_class(M) && !mxIsComplex(M) && mxGetNumberOfElements(M) == 1
                           ? mxGetScalar(M) : -1;
  if (!(maxit >= 0) || (std::isfinite(maxit) && maxit != std::floor(maxit)))
    fail_id("kelvara:badTolerance", "MAXIT must be a whole number of at least 0, or Inf");
  if (!mxIsCell(H))
    fail_id(bad_h, "H must be a Hierarchy cell made by ladder_build");
  if (X0) {
    if (!kelvara::is_full_double(X0) || mxIsComplex(X0) || mxGetNumberOfDimensions(X0) != 2 ||
        mxGetM(X0) != n || kelvara::columns(X0) != k)
      fail_id("kelvara:badInitialGuess", "X0 must be a real full double matrix of the size of B, %zu-by-%zu", n, k);
    const double *x0 = mxGetPr(X0);
    for (std::size_t i = 0; i < n * k; ++i)
      if (!std::isfinite(x0[i]))
        fail_id("kelvara:badInitialGuess", "X0 must be finite");
  }
  const std::vector<LevelRecord> levels = levels_of(H, n);
  const mxArray *args[] = {A, B, X0};
  apart(levels, args, 3);

  kelvara::owned X(kelvara::made(mxCreateDoubleMatrix(n, k, mxREAL), "Out of memory"));
  kelvara::owned flag(kelvara::made(mxCreateDoubleMatrix(1, k, mxREAL), "Out of memory"));
  kelvara::owned relres(kelvara::made(mxCreateDoubleMatrix(1, k, mxREAL), "Out of memory"));
  kelvara::owned iter(kelvara::made(mxCreateDoubleMatrix(1, k, mxREAL), "Out of memory"));
  const kelvara::interrupt_poll stop;
  std::vector<column_outcome> out;
  {
    kcycle cycle(levels, k, stop);
    fcg(csc{n, mxGetJc(A), mxGetIr(A), mxGetPr(A)}, k, b, X0 ? mxGetPr(X0) : nullptr, tol, maxit,
        cycle, stop, mxGetPr(X.get()), out);
  }
  std::size_t rows = 0;
  for (std::size_t c = 0; c < k; ++c) {
    mxGetPr(flag.get())[c] = out[c].flag;
    mxGetPr(relres.get())[c] = out[c].relres;
    mxGetPr(iter.get())[c] = out[c].iter;
    rows = std::max(rows, out[c].resvec.size());
  }
  kelvara::owned resvec(kelvara::made(mxCreateDoubleMatrix(rows, k, mxREAL), "Out of memory"));
  double *rv = mxGetPr(resvec.get());
  for (std::size_t c = 0; c < k; ++c)
    for (std::size_t i = 0; i < rows; ++i)
      rv[c * rows + i] = i < out[c].resvec.size() ? out[c].resvec[i]
                                                  : std::numeric_limits<double>::quiet_NaN();
  plhs[0] = X.release();
  kelvara::store(nlhs, plhs, 1, flag.release());
  kelvara::store(nlhs, plhs, 2, relres.release());
  kelvara::store(nlhs, plhs, 3, iter.release());
  kelvara::store(nlhs, plhs, 4, resvec.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { ladder_cg(nlhs, plhs, nrhs, prhs); });
}
