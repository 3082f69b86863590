// The least a hierarchy kernel must do, one plain pass over what it reads,
// for the benchmark to compare against.  Benchmark only.
//   s = hierarchy_floor(A): the sum of the values of every column of a
//       sparse double matrix (column starts and values).
//   s = hierarchy_floor(A, "rows"): the sum of the off-diagonal values of
//       every column (column starts, row indices and values).
//   Q = hierarchy_floor(P): a copy of the uint32 vector P, of its shape.
//   s = hierarchy_floor(P, "walks"): the steps of one walk up the parent
//       vector P from every leaf to its root (a vertex naming itself, its
//       child or none), after counting every vertex's children: the walks
//       tree_cleave makes twice, without any of its bookkeeping.
//   [X1, X2, ...] = hierarchy_floor("outputs", N1, B1, N2, B2, ...): arrays
//       of Nk elements of Bk bytes (8: double, 4: uint32) created by the
//       host and left as it fills them: what a kernel's outputs cost the
//       host before the kernel writes a byte.
#include "gateway.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// sum[i] = the values of column i of (jc, a), or with ir only those off the
// diagonal, for the n columns.
void column_sums(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a, double *sum)
{
  for (std::size_t i = 0; i < n; ++i) {
    double t = 0;
    const std::size_t end = static_cast<std::size_t>(jc[i + 1]);
    if (ir)
      for (std::size_t k = static_cast<std::size_t>(jc[i]); k < end; ++k)
        t += static_cast<std::size_t>(ir[k]) != i ? a[k] : 0.0;
    else
      for (std::size_t k = static_cast<std::size_t>(jc[i]); k < end; ++k)
        t += a[k];
    sum[i] = t;
  }
}

// The steps of a walk up the parent vector p (n entries) from every vertex
// that no entry names, to a vertex naming itself, the vertex it came from
// or no vertex below n; children (n entries) is scratch.
double walks(std::size_t n, const std::uint32_t *p, std::uint32_t *children)
{
  std::memset(children, 0, n * sizeof *children);
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] < n)
      ++children[p[i]];
  double steps = 0;
  for (std::size_t j = 0; j < n; ++j) {
    if (children[j] != 0 || p[j] >= n)
      continue;
    for (std::size_t v = j, g = j;;) {
      const std::size_t e = p[v];
      if (e >= n || e == v || e == g)
        break;
      g = v;
      v = e;
      ++steps;
    }
  }
  return steps;
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] {
    if (nrhs < 1)
      kelvara::fail("One or two inputs required");
    const mxArray *A = prhs[0];
    if (mxIsChar(A)) {
      for (int k = 0; 2 * k + 2 < nrhs && k < (nlhs > 0 ? nlhs : 1); ++k) {
        const std::size_t m = static_cast<std::size_t>(mxGetScalar(prhs[2 * k + 1]));
        const mxClassID c = mxGetScalar(prhs[2 * k + 2]) == 4 ? mxUINT32_CLASS : mxDOUBLE_CLASS;
        plhs[k] = kelvara::made(mxCreateNumericMatrix(m, 1, c, mxREAL), "Out of memory");
      }
      return;
    }
    if (mxGetClassID(A) == mxUINT32_CLASS && nrhs > 1) {
      const std::size_t n = mxGetNumberOfElements(A);
      std::vector<std::uint32_t> children(n);
      const double steps =
          walks(n, static_cast<const std::uint32_t *>(mxGetData(A)), children.data());
      kelvara::store(nlhs, plhs, 0, kelvara::made(mxCreateDoubleScalar(steps), "Out of memory"));
      return;
    }
    if (mxGetClassID(A) == mxUINT32_CLASS) {
      mxArray *q = kelvara::made(
          mxCreateNumericMatrix(mxGetM(A), mxGetN(A), mxUINT32_CLASS, mxREAL), "Out of memory");
      std::memcpy(mxGetData(q), mxGetData(A), mxGetNumberOfElements(A) * 4);
      kelvara::store(nlhs, plhs, 0, q);
      return;
    }
    if (!mxIsSparse(A) || !mxIsDouble(A))
      kelvara::fail("Input must be a sparse double matrix or a uint32 vector");
    const std::size_t n = mxGetN(A);
    mxArray *s = kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory");
    column_sums(n, mxGetJc(A), nrhs > 1 ? mxGetIr(A) : nullptr, mxGetPr(A), mxGetPr(s));
    kelvara::store(nlhs, plhs, 0, s);
  });
}
