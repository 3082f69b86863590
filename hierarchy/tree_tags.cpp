// [labels, K, sizes] = tree_tags(P): the number of the connected piece of the
// parent graph P that each vertex belongs to, the number of pieces and, on
// request, their sizes.
#include "args.h"
#include "gateway.h"
#include "parents.h"

#include <cstdint>

namespace {

const char *const full = "Unsufficient memory";
const char *const exhausted = "Out of memory";

// Labels the pieces of the parent graph p (n entries, below n or n+1) 1, 2,
// ... in order of their lowest vertex not marked n+1, walking parents from
// each unlabelled vertex until a labelled one; a walk that reaches a vertex
// without parent ends there as at a root.  A vertex marked n+1 that no walk
// reaches keeps label 0.  count (K entries, zeroed, or null) receives the
// piece sizes; *pieces the number K.  stack grows by 100 entries when a
// walk outgrows it.
void tags(std::size_t n, const std::uint32_t *p, kelvara::scratch<std::uint64_t> &stack,
          std::uint32_t *label, std::uint32_t *count, std::uint32_t *pieces)
{
  std::uint32_t next = 1;
  for (std::size_t i = 0; i < n; ++i) {
    if (label[i] != 0 || p[i] == n + 1)
      continue;
    std::size_t v = i, depth = 0;
    std::uint32_t c = next;
    for (;;) {
      if (depth == stack.size() && !stack.grow(stack.size() + 100))
        kelvara::fail("%s", exhausted);
      label[v] = next;
      stack[depth++] = v;
      if (p[v] >= n)
        break;
      v = p[v];
      if (label[v] != 0) {
        c = label[v];
        break;
      }
    }
    if (c == next)
      ++next;
    else
      for (std::size_t d = 0; d < depth; ++d)
        label[stack[d]] = c;
    if (count)
      count[c - 1] += static_cast<std::uint32_t>(depth);
  }
  *pieces = next - 1;
}

void tree_tags(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  using kelvara::fail;
  if (nrhs != 1)
    fail("Wrong number of input arguments");
  if (nlhs > 3)
    fail("Wrong number of output arguments");
  std::size_t n = 0;
  const std::uint32_t *p = kelvara::walked_parents(prhs[0], n);

  kelvara::owned labels(kelvara::made(mxCreateNumericMatrix(n, 1, mxUINT32_CLASS, mxREAL), full));
  kelvara::scratch<std::uint64_t> stack(100);
  if (!stack)
    fail("%s", exhausted);
  kelvara::scratch<std::uint32_t> count(nlhs == 3 ? n : 0);
  if (nlhs == 3 && !count)
    fail("%s", exhausted);
  for (std::size_t c = 0; c < count.size(); ++c)
    count[c] = 0;
  std::uint32_t K = 0;
  tags(n, p, stack, static_cast<std::uint32_t *>(mxGetData(labels.get())),
       nlhs == 3 ? count.get() : nullptr, &K);

  kelvara::store(nlhs, plhs, 0, labels.release());
  if (nlhs >= 2)
    plhs[1] = kelvara::made(mxCreateDoubleScalar(K), full);
  if (nlhs == 3) {
    mxArray *sizes = kelvara::made(mxCreateDoubleMatrix(1, K, mxREAL), full);
    plhs[2] = sizes;
    double *s = mxGetPr(sizes);
    for (std::uint32_t c = 0; c < K; ++c)
      s[c] = count[c];
  }
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { tree_tags(nlhs, plhs, nrhs, prhs); });
}
