// path = route_unwind(pred, dest): the path from the root of a predecessor
// array to vertex dest, as a row of 1-based vertex numbers.  pred(j) is the
// vertex from which j was reached, 0 for none; its values are rounded down.
// A first walk checks the chain and measures the path, a second writes it
// into an output of exactly that length.
#include "args.h"
#include "gateway.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using index_t = mwSignedIndex;

// Stands for a value that is not finite or outside the index range: a
// vertex too large for any array.
const index_t too_large = std::numeric_limits<index_t>::max();

// x truncated toward zero, or too_large when that is outside the index
// type (32 or 64 bits, as the host's interface has it) or x is not finite.
index_t to_index(double x)
{
  const double bound = static_cast<double>(too_large) + 1;  // 2^31 or 2^63, exact
  if (!(x > -bound - 1 && x < bound))
    return too_large;
  return static_cast<index_t>(x);
}

// The real part of a double vector of N elements, full or sparse.
struct vector_view {
  const double *pr;
  const mwIndex *ir, *jc;  // null for a full vector
  bool row;                // sparse 1xN: one column per element
};

vector_view view_of(const mxArray *a)
{
  if (!mxIsSparse(a))
    return {mxGetPr(a), nullptr, nullptr, false};
  return {mxGetPr(a), mxGetIr(a), mxGetJc(a), mxGetM(a) == 1};
}

// Element k (0-based) of v.
double element(const vector_view &v, index_t k)
{
  if (!v.jc)
    return v.pr[k];
  if (v.row) {
    const mwIndex p = v.jc[k];
    return p < v.jc[k + 1] ? v.pr[p] : 0.0;
  }
  mwIndex lo = 0, hi = v.jc[1];  // entries of the single column, rows ascending
  while (lo < hi) {
    const mwIndex mid = lo + (hi - lo) / 2;
    if (v.ir[mid] < static_cast<mwIndex>(k))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo < v.jc[1] && v.ir[lo] == static_cast<mwIndex>(k) ? v.pr[lo] : 0.0;
}

// The predecessor of vertex j (1-based) rounded down, as an index.
index_t pred_of(const vector_view &v, index_t j) { return to_index(std::floor(element(v, j - 1))); }

// Length of the path from the root of pred (N elements) to vertex j, or
// fails with the walk's error.
index_t measure(index_t N, const vector_view &pred, index_t j)
{
  index_t steps = 0;
  while (1 <= j && j <= N && steps < N) {
    const index_t p = pred_of(pred, j);
    ++steps;
    if (p == 0)
      return steps;
    j = p;
  }
  using kelvara::fail;
  if (j > N)
    fail("The predecessor array referenced a vertex too large.");
  if (j < 0)
    fail("The predecessor array contains negative references.");
  if (steps >= N)
    fail("The predecessor array contained a loop.");
  fail("Unknown error with predecessor array.");
}

// Writes the L vertices of the path ending at j into path, root first;
// returns the number of elements left unwritten (0 when the path fits).
index_t unwind(index_t N, const vector_view &pred, index_t j, index_t L, double *path)
{
  index_t k = L;
  while (1 <= j && j <= N && k >= 1) {
    path[k - 1] = static_cast<double>(j);
    const index_t p = pred_of(pred, j);
    --k;
    if (p == 0)
      break;
    j = p;
  }
  return k;
}

void route_unwind(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  using kelvara::fail;
  if (nrhs != 2)
    fail("2 inputs required.");
  if (!kelvara::is_vector(prhs[0]) || !mxIsDouble(prhs[0]))
    fail("Predecessor input must be a double array.");
  if (mxGetNumberOfElements(prhs[1]) > 1 || !mxIsDouble(prhs[1]))
    fail("Invalid scalar for destination.");
  const index_t N = static_cast<index_t>(mxGetNumberOfElements(prhs[0]));
  const vector_view pred = view_of(prhs[0]);
  const index_t dest = to_index(kelvara::scalar_value(prhs[1]));

  const index_t L = measure(N, pred, dest);
  kelvara::owned path(kelvara::made(mxCreateDoubleMatrix(1, static_cast<mwSize>(L), mxREAL), "Out of memory"));
  if (unwind(N, pred, dest, L, mxGetPr(path.get())) != 0)
    fail("Unknown error creating path.");
  kelvara::store(nlhs, plhs, 0, path.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { route_unwind(nlhs, plhs, nrhs, prhs); });
}
