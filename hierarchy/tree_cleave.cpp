// Q = tree_cleave(P): the forest P with some vertices made roots of their own
// (Q[v] = v), so that it falls apart into smaller trees: long upward paths
// are halved, then subtrees are detached where both they and the rest of
// their parent's subtree hold at least three vertices.
#include "args.h"
#include "gateway.h"
#include "parents.h"

#include <cstdint>
#include <cstring>

namespace {

const char *const full = "Unsufficient memory";
const char *const looped = "Parent vector has a cycle of more than two vertices";

// Room of a first-pass walk.  A walk goes past its sixth step only over
// committed vertices, which reach a root (a self-loop, a two-vertex cycle
// or a vertex without parent) within five steps, so it never holds more
// than twelve vertices; on a parent vector with longer cycles too, since a
// root test only ever holds at a true root.  A full walk is refused all
// the same rather than written past.
const std::size_t walk = 20;

// Subtree sizes are signed 32-bit counts; they change modulo 2^32, so no
// input can make their arithmetic undefined.
std::int32_t plus(std::int32_t a, std::int64_t b)
{
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a + b));
}

// children[v] += the number of entries of q (n entries) that name v.
void hang(std::size_t n, const std::uint32_t *__restrict q, std::uint32_t *__restrict children)
{
  for (std::size_t i = 0; i < n; ++i)
    if (q[i] < n)
      ++children[q[i]];
}

// First pass over the forest q (n entries): from every uncommitted leaf,
// walks up to the root; a walk of six or more steps makes its middle vertex
// a root and starts again from the parent that cut left childless.  A
// committed walk adds to each vertex's weight the new vertices below it on
// the walk.
void halve(std::size_t n, std::uint32_t *__restrict q, std::uint32_t *__restrict children,
           std::int32_t *__restrict weight, unsigned char *__restrict done)
{
  std::size_t path[walk];
  std::int32_t tally[walk];
  for (std::size_t j = 0; j < n; ++j) {
    if (children[j] != 0 || done[j] || q[j] >= n)
      continue;
    std::size_t s = j;
    for (bool again = true; again;) {
      path[0] = s;
      tally[0] = 0;
      std::int32_t fresh = 1;
      std::size_t k = 0;
      bool split = false;
      for (;;) {
        const std::size_t e = q[path[k]];
        if (e >= n || e == path[k] || (k >= 1 && e == path[k - 1])) {
          split = k >= 6;
          break;
        }
        if (k + 1 == walk)
          kelvara::fail("%s", looped);
        path[++k] = e;
        if (!done[e])
          ++fresh;
        tally[k] = fresh;
        if (k >= 6 && !done[e]) {
          split = true;
          break;
        }
      }
      const std::size_t m = split ? k / 2 : k;
      if (split) {
        const std::size_t cut = path[m];
        q[cut] = static_cast<std::uint32_t>(cut);
        --children[path[m + 1]];
        for (std::size_t l = m + 1; l <= k; ++l)
          weight[path[l]] = plus(weight[path[l]], -std::int64_t(weight[cut]));
      }
      for (std::size_t l = 0; l <= m; ++l) {
        weight[path[l]] = plus(weight[path[l]], tally[l]);
        done[path[l]] = 1;
      }
      if (split)
        s = path[m + 1];
      again = split && children[s] == 0 && !done[s];
    }
  }
}

// Second pass over the forest q (n entries): climbs from every leaf to its
// root and detaches the lowest vertex whose subtree weighs at least 3 while
// its parent keeps at least 3 more, taking that weight off every vertex
// above it; a parent left childless climbs again.  A climb of more than n
// steps has entered a cycle of three or more vertices and is refused.
void detach(std::size_t n, std::uint32_t *__restrict q, std::uint32_t *__restrict children,
            std::int32_t *__restrict weight)
{
  for (std::size_t k0 = 0; k0 < n; ++k0) {
    if (children[k0] != 0 || q[k0] >= n)
      continue;
    std::size_t s = k0;
    for (bool again = true; again;) {
      std::size_t f = s, g = s, parent = 0;
      std::int32_t amount = 0;
      bool cut = false;
      std::size_t steps = 0;
      for (std::size_t p = q[f]; p < n && p != g && p != f; g = f, f = p, p = q[f]) {
        if (++steps > n)
          kelvara::fail("%s", looped);
        if (cut) {
          weight[p] = plus(weight[p], -std::int64_t(amount));
        } else if (weight[f] > 2 && std::int64_t(weight[p]) - weight[f] > 2) {
          q[f] = static_cast<std::uint32_t>(f);
          --children[p];
          amount = weight[f];
          parent = p;
          cut = true;
          weight[p] = plus(weight[p], -std::int64_t(amount));
        }
      }
      again = cut && children[parent] == 0;
      s = parent;
    }
  }
}

void tree_cleave(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  using kelvara::fail;
  if (nrhs != 1)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  std::size_t n = 0;
  const std::uint32_t *p = kelvara::walked_parents(prhs[0], n);

  mxArray *out = kelvara::made(
      mxCreateNumericMatrix(mxGetM(prhs[0]), mxGetN(prhs[0]), mxUINT32_CLASS, mxREAL), full);
  plhs[0] = out;
  if (n == 0)
    return;
  std::uint32_t *q = static_cast<std::uint32_t *>(mxGetData(out));

  // children, weight and done in one block, cleared at once
  const std::size_t bytes = n * (sizeof(std::uint32_t) + sizeof(std::int32_t) + 1);
  kelvara::scratch<unsigned char> block(bytes);
  if (!block)
    fail("%s", full);
  std::memset(block.get(), 0, bytes);
  std::uint32_t *children = reinterpret_cast<std::uint32_t *>(block.get());
  std::int32_t *weight = reinterpret_cast<std::int32_t *>(children + n);
  unsigned char *done = reinterpret_cast<unsigned char *>(weight + n);
  std::memcpy(q, p, n * sizeof *q);
  hang(n, q, children);
  halve(n, q, children, weight, done);
  detach(n, q, children, weight);
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { tree_cleave(nlhs, plhs, nrhs, prhs); });
}
