// [x, flag, relres, iter, resvec] = ladder_cg_double(A, b, tol, maxit, H)
// and ladder_cg_single(...): conjugate gradients on the sparse symmetric A
// from x = 0, preconditioned by one multigrid cycle of the Hierarchy H per
// iteration, in double or single precision (the iteration itself in double).
// The solve runs here rather than in m-code so that its vectors are made
// once, not once per operation.  It stops when the residual recomputed from
// x is at most tol * norm(b), or after maxit iterations (then x is the
// iterate of least residual); flag as the programs' pcg: 0 converged, 1
// maxit reached, 2 the cycle gave a direction of no descent, 3 stagnation,
// 4 a scalar of the iteration became zero or not finite.
#include "../multigrid/preconditioner.h"
#include "../multigrid/unpack.h"
#include "args.h"
#include "gateway.h"
#include "graph_args.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

namespace {

using kelvara::at;
using kelvara::fail;

// y = A*x for the n-by-n symmetric (jc, ir, a), read by columns.
void spmv(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a, const double *x,
          double *y)
{
  std::fill(y, y + n, 0.0);
  for (std::size_t j = 0; j < n; ++j)
    for (std::size_t k = at(jc, j); k < at(jc, j + 1); ++k)
      y[at(ir, k)] += a[k] * x[j];
}

// The dot product of the n entries of x and y.
double dot(std::size_t n, const double *x, const double *y)
{
  double s = 0;
  for (std::size_t i = 0; i < n; ++i)
    s += x[i] * y[i];
  return s;
}

// z = one cycle of the levels on r.  In single precision r is first scaled
// into single's range, rr and zr (n entries) holding it and the cycle's
// result; double cycles read r and write z directly.
void cycle(const std::vector<LevelRecord> &levels, std::size_t n, const double *r, Real *rr,
           Real *zr, double *z)
{
  if constexpr (std::is_same<Real, double>::value) {
    preconditioner(levels.data(), reinterpret_cast<const Real *>(r), 0, 1,
                   reinterpret_cast<Real *>(z));
    return;
  }
  double s = 0;
  for (std::size_t i = 0; i < n; ++i)
    s = std::max(s, std::fabs(r[i]));
  if (s == 0) {
    std::fill(z, z + n, 0.0);
    return;
  }
  for (std::size_t i = 0; i < n; ++i)
    rr[i] = static_cast<Real>(r[i] / s);
  preconditioner(levels.data(), rr, 0, 1, zr);
  for (std::size_t i = 0; i < n; ++i)
    z[i] = s * static_cast<double>(zr[i]);
}

struct outcome {
  int flag = 0;
  double relres = 0;
  std::size_t iter = 0;
  std::vector<double> resvec;
};

// x and the outcome of at most maxit iterations on A x = b.
outcome cg(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a, const double *b,
           double tol, std::size_t maxit, const std::vector<LevelRecord> &levels, double *x)
{
  outcome o;
  const double nb = std::sqrt(dot(n, b, b));
  o.resvec.push_back(nb);
  if (nb == 0)
    return o;
  std::vector<double> r(b, b + n), z(n), p(n), q(n), best(n, 0.0);
  const bool single = !std::is_same<Real, double>::value;
  std::vector<Real> rr(single ? n : 0), zr(single ? n : 0);
  double rz = 0, bestres = nb;
  bool restart = true;
  o.flag = 1;
  for (std::size_t it = 1; it <= maxit; ++it) {
    cycle(levels, n, r.data(), rr.data(), zr.data(), z.data());
    const double rzold = rz;
    rz = dot(n, r.data(), z.data());
    if (!std::isfinite(rz) || !(rz > 0)) {
      o.flag = std::isfinite(rz) ? 2 : 4;
      break;
    }
    const double beta = restart ? 0 : rz / rzold;
    for (std::size_t i = 0; i < n; ++i)
      p[i] = z[i] + beta * p[i];
    restart = false;
    spmv(n, jc, ir, a, p.data(), q.data());
    const double pq = dot(n, p.data(), q.data());
    if (!std::isfinite(pq) || !(pq > 0)) {
      o.flag = 4;
      break;
    }
    const double step = rz / pq;
    bool moved = false;
    for (std::size_t i = 0; i < n; ++i) {
      const double xi = x[i] + step * p[i];
      moved = moved || xi != x[i];
      x[i] = xi;
      r[i] -= step * q[i];
    }
    if (!moved) {
      o.flag = 3;
      break;
    }
    double nr = std::sqrt(dot(n, r.data(), r.data()));
    if (nr <= tol * nb) {
      // the recurrence drifts from the true residual: judge that one, and
      // go on from it afresh if it falls short
      spmv(n, jc, ir, a, x, q.data());
      for (std::size_t i = 0; i < n; ++i)
        r[i] = b[i] - q[i];
      nr = std::sqrt(dot(n, r.data(), r.data()));
      restart = true;
    }
    o.resvec.push_back(nr);
    if (nr < bestres) {
      std::copy(x, x + n, best.begin());
      bestres = nr;
      o.iter = it;
    }
    if (nr <= tol * nb) {
      o.flag = 0;
      o.iter = it;
      o.relres = nr / nb;
      return o;
    }
  }
  std::copy(best.begin(), best.end(), x);
  o.relres = bestres / nb;
  return o;
}

void ladder_cg(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 5)
    fail("Wrong number of input arguments");
  if (nlhs > 5)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0], *B = prhs[1], *H = prhs[4];
  if (!kelvara::is_sparse_double(A) || mxIsComplex(A) || mxGetM(A) != mxGetN(A))
    fail("First argument must be a real square sparse double matrix");
  const std::size_t n = mxGetN(A);
  const double *b = kelvara::vertex_values(B, n, "Second argument");
  const double tol = kelvara::is_number_class(prhs[2]) ? kelvara::scalar_value(prhs[2]) : -1;
  const double maxit = kelvara::is_number_class(prhs[3]) ? kelvara::scalar_value(prhs[3]) : -1;
  if (!(tol > 0) || !(maxit >= 0) || maxit > 1e9)
    fail("Third and fourth arguments must be a positive tolerance and a count of iterations");
  if (!mxIsCell(H))
    fail("Fifth argument must be a Hierarchy cell");
  const std::vector<LevelRecord> levels = unpack(H);
  // the cycle reads only vectors of this call's own, never H's arrays: a
  // fresh vector stands for them in the checks of H
  std::vector<Real> probe(n);
  validate(levels.data(), levels.size(), probe.data(), n);

  kelvara::owned x(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory"));
  outcome o = cg(n, mxGetJc(A), mxGetIr(A), mxGetPr(A), b, tol, static_cast<std::size_t>(maxit),
                 levels, mxGetPr(x.get()));
  kelvara::owned flag(kelvara::made(mxCreateDoubleScalar(o.flag), "Out of memory"));
  kelvara::owned relres(kelvara::made(mxCreateDoubleScalar(o.relres), "Out of memory"));
  kelvara::owned iter(kelvara::made(mxCreateDoubleScalar(static_cast<double>(o.iter)), "Out of memory"));
  kelvara::owned resvec(kelvara::made(mxCreateDoubleMatrix(o.resvec.size(), 1, mxREAL), "Out of memory"));
  std::copy(o.resvec.begin(), o.resvec.end(), mxGetPr(resvec.get()));
  plhs[0] = x.release();
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
