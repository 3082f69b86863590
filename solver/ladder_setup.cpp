// [H, M, grounded] = ladder_setup(A, maxdirect, maxlevels, single): the
// levels of the Hierarchy of the real sparse symmetric diagonally dominant
// matrix A without positive off-diagonal entries, read in place.  Levels
// are made (ladder_level.h) while the last one has more than maxdirect
// unknowns, there are fewer than maxlevels and coarsening goes on; a
// matrix that stays one level while a component of it is singular gets a
// second level of its unknowns less the grounds.  H is a 1-by-L cell of
// level structs in the Hierarchy format, values of class single when single
// is true, else double: every field but the workspaces, the last level's
// "chol" and the front end's meta-data.  The finest level is A itself in
// the caller's order; aggregation visits its vertices by ascending diagonal
// and numbers the coarse levels in the breadth-first order of A's graph,
// so that a randomly numbered matrix gives local coarse graphs.  M is the
// last level's matrix, sparse, when it is to be factored, else [].
// grounded (uint32, n-by-1) numbers, from 1, each vertex's component among
// those without diagonal excess (0 elsewhere), each grounded at its lowest
// vertex.
#include "args.h"
#include "gateway.h"
#include "graph_args.h"
#include "ladder_level.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using kelvara::coarse_graph;
using kelvara::fail;
using kelvara::graph_store;
using kelvara::level_values;
using kelvara::made;
using kelvara::owned;

const char *oom = "Out of memory";

owned number(double v) { return owned(made(mxCreateDoubleScalar(v), oom)); }

// An n-by-1 output of class c (double, single or uint32) whose values the
// caller writes, each once: not filled first, and on huge pages where they
// span whole ones.
owned vector(std::size_t n, mxClassID c)
{
  owned a(made(mxCreateUninitNumericMatrix(n, 1, c, mxREAL), oom));
  kelvara::advise_huge(mxGetData(a.get()), n * (c == mxDOUBLE_CLASS ? 8 : 4));
  return a;
}

template <class T> T *data(const owned &a) { return static_cast<T *>(mxGetData(a.get())); }

void set(const owned &s, const char *name, owned v) { mxSetField(s.get(), 0, name, v.release()); }

// The outputs of the levels, and the scratch the levels share: a level's
// rows are written when its graph is made, its struct when its kind is
// known (inner, or last with diagonal scaling or a factor).
class builder {
public:
  builder(std::size_t n, std::size_t nz, bool single) : n_(n), nz_(nz), single_(single) {}

  // "A" of a level, the rows of the level matrix diag(d) - W of graph g;
  // *below is the count of its edges below the diagonal.
  template <class G> owned rows(const G &g, const double *d, std::size_t *below)
  {
    static const char *fields[] = {"a", "ia", "ja", "n", "issym"};
    owned A(made(mxCreateStructMatrix(1, 1, 5, fields), oom));
    owned ia = vector(g.n + 1, mxUINT32_CLASS);
    std::uint32_t *pa = data<std::uint32_t>(ia);
    kelvara::starts(g, pa);
    const std::size_t m = pa[g.n];
    *below = m - g.n;
    owned a = vector(m, real());
    owned ja = vector(m, mxUINT32_CLASS);
    if (single_)
      kelvara::rows(g, d, pa, data<float>(a), data<std::uint32_t>(ja));
    else
      kelvara::rows(g, d, pa, data<double>(a), data<std::uint32_t>(ja));
    set(A, "a", std::move(a));
    set(A, "ia", std::move(ia));
    set(A, "ja", std::move(ja));
    set(A, "n", number(static_cast<double>(g.n)));
    set(A, "issym", number(1));
    return A;
  }

  // An inner level of n unknowns, diagonal d and rows A: its aggregates cI,
  // nc, dc, the cycles on the next level and the smoothing weights.
  owned inner(owned A, bool finest, std::size_t n, const double *d, owned cI, std::size_t nc,
              bool dc, int repeat)
  {
    owned s = level(std::move(A), finest, false, {"cI", "nc", "dc", "repeat"}, true);
    set(s, "cI", std::move(cI));
    set(s, "nc", number(static_cast<double>(nc)));
    set(s, "dc", number(dc));
    set(s, "repeat", number(repeat));
    smoothing(s, n, d, 0.8);
    return s;
  }

  // The last level of graph g with values v and rows A: diagonal scaling
  // where no vertex takes part in an aggregate or it has one unknown, else
  // its matrix for the factor, into M.
  template <class G>
  owned last(owned A, bool finest, const G &g, const level_values &v, owned &M)
  {
    if (g.n <= 1 || v.held == g.n) {
      owned s = level(std::move(A), finest, true, {}, true);
      set(s, "iterative", number(1));
      smoothing(s, g.n, v.d.get(), 1.0);
      return s;
    }
    std::size_t nz = g.n;
    for (std::size_t i = 0; i < g.n; ++i)
      for (std::size_t k = g.begin(i); k < g.end(i); ++k)
        nz += g.edge(i, k);
    M.reset(made(mxCreateSparse(g.n, g.n, nz, mxREAL), oom));
    kelvara::matrix(g, v.d.get(), mxGetJc(M.get()), mxGetIr(M.get()), mxGetPr(M.get()));
    return level(std::move(A), finest, true, {}, false);
  }

  // The scratch of aggregation and the two stores of coarse graphs, taken
  // at the first coarse level and reused for every further one.
  kelvara::aggregate_work &work()
  {
    if (!work_)
      work_.reset(new kelvara::aggregate_work(n_, nz_));
    return *work_;
  }
  graph_store &store(int k)
  {
    if (!store_[k])
      store_[k].reset(new graph_store(n_, nz_));
    return *store_[k];
  }

private:
  mxClassID real() const { return single_ ? mxSINGLE_CLASS : mxDOUBLE_CLASS; }

  // A level's struct: its flags ("iterative" 0 until set), A, "laplacian"
  // on the finest level, the given fields and the smoothing weights.
  owned level(owned A, bool finest, bool islast, std::vector<const char *> more, bool smooths)
  {
    std::vector<const char *> f = {"islast", "iterative", "A"};
    if (finest)
      f.push_back("laplacian");
    f.insert(f.end(), more.begin(), more.end());
    if (smooths)
      f.push_back("invD");
    owned s(made(mxCreateStructMatrix(1, 1, static_cast<int>(f.size()), f.data()), oom));
    set(s, "islast", number(islast));
    set(s, "iterative", number(0));
    set(s, "A", std::move(A));
    if (finest)
      set(s, "laplacian", number(0));
    return s;
  }

  // invD = w ./ d, 0 where not finite.  The workspaces beside it are
  // made by the caller, as zeros of its own, not through the host's
  // interface, whose arrays are filled and copied once more on return.
  void smoothing(const owned &s, std::size_t n, const double *d, double w)
  {
    owned inv = vector(n, real());
    if (single_)
      kelvara::weights(n, d, w, data<float>(inv));
    else
      kelvara::weights(n, d, w, data<double>(inv));
    set(s, "invD", std::move(inv));
  }

  std::size_t n_, nz_;
  bool single_;
  std::unique_ptr<kelvara::aggregate_work> work_;
  std::unique_ptr<graph_store> store_[2];
};

// A level whose kind is not yet known: its order, its rows and their
// edges below the diagonal.
struct open_level {
  std::size_t n = 0;
  owned A;
  std::size_t below = 0;
  bool finest = false;
};

// Cycles on the next level per coarse correction: two where it has far
// fewer entries than this one, so that the work per level falls fast.
int repeat(std::size_t below, std::size_t next)
{
  return 2.0 * below / (next ? 2.0 * next : 1.0) >= 2.5 ? 2 : 1;
}

// One descent from level l of graph g with values v, visited in the order
// vis and numbered in the order ord: when aggregation goes on, the next
// level's graph into next, its values into nv and its rows into nl, and
// this level's struct into done.  False when coarsening has stalled.
template <class G>
bool descend(builder &b, const G &g, const level_values &v, const std::uint32_t *vis,
             const std::uint32_t *ord, double &worst, open_level &l, graph_store &next,
             level_values &nv, open_level &nl, std::vector<owned> &done)
{
  owned cI = vector(g.n, mxUINT32_CLASS);
  std::uint32_t m = 0;
  if (!kelvara::aggregates(g, v, vis, ord, worst, b.work(), data<std::uint32_t>(cI), &m, next,
                           nv.e.get()))
    return false;
  const coarse_graph gc = next.view(m);
  kelvara::coarse(gc, nv);
  nl.n = m;
  nl.A = b.rows(gc, nv.d.get(), &nl.below);
  nl.finest = false;
  const bool dc = v.held > 0;
  done.push_back(b.inner(std::move(l.A), l.finest, g.n, v.d.get(), std::move(cI), m + dc, dc,
                         repeat(l.below, nl.below)));
  return true;
}

void ladder_setup(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 4)
    fail("Wrong number of input arguments");
  if (nlhs > 3)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0];
  const std::size_t n = kelvara::square_weights(A);
  double lim[2];
  for (int k = 0; k < 2; ++k) {
    const mxArray *a = prhs[k + 1];
    lim[k] = kelvara::is_number_class(a) && !mxIsComplex(a) && mxGetNumberOfElements(a) == 1
                 ? mxGetScalar(a)
                 : 0;
    if (!(lim[k] >= 1))
      fail("%s argument must be a number of at least 1", k ? "Third" : "Second");
  }
  const double maxdirect = lim[0], maxlevels = lim[1];
  if (!kelvara::is_number_class(prhs[3]) || mxGetNumberOfElements(prhs[3]) != 1)
    fail("Fourth argument must be a scalar, true for single precision");
  const bool single = mxGetScalar(prhs[3]) != 0;
  const mwIndex *jc = mxGetJc(A);
  const std::size_t nz = kelvara::at(jc, n);
  if (nz + n > 0xFFFFFFFFu)
    fail("Too many entries for 32-bit row starts");

  // the finest level: A in place, its components and their grounds
  const kelvara::matrix_graph g0{n, jc, mxGetIr(A), mxGetPr(A), -1.0};
  level_values va(n), vb(n);
  kelvara::pages<std::uint32_t> comp(n), vis(n), ord(n);
  kelvara::pages<std::uint8_t> free(n), ground(n);
  if (!comp || !vis || !ord || !free || !ground)
    fail("%s", oom);
  const std::size_t nc = kelvara::finest(g0, va, comp.get(), vis.get(), ord.get(), free.get(), ground.get());
  owned grounded = vector(n, mxUINT32_CLASS);
  kelvara::pages<std::uint32_t> rank(nc);
  if (!rank)
    fail("%s", oom);
  std::uint32_t k = 0, *gr = data<std::uint32_t>(grounded);
  for (std::size_t c = 0; c < nc; ++c)
    rank.get()[c] = free.get()[c] ? ++k : 0;
  for (std::size_t i = 0; i < n; ++i)
    gr[i] = rank.get()[comp.get()[i]];

  builder b(n, nz, single);
  std::vector<owned> done;
  open_level l, nl;
  l.n = n;
  l.A = b.rows(g0, va.d.get(), &l.below);
  l.finest = true;
  double worst = 4;
  owned M;
  if (n > maxdirect && maxlevels > 1 && va.held < n &&
      descend(b, g0, va, vis.get(), ord.get(), worst, l, b.store(0), vb, nl, done)) {
    // coarse levels, their graphs and values taking turns in two stores
    l = std::move(nl);
    for (int t = 0;; t = 1 - t) {
      level_values &v = t ? va : vb, &nv = t ? vb : va;
      const coarse_graph g = b.store(t).view(l.n);
      if (!(g.n > maxdirect && done.size() + 1 < maxlevels && v.held < g.n &&
            descend(b, g, v, b.work().ident.get(), b.work().ident.get(), worst, l, b.store(1 - t), nv,
                    nl, done))) {
        done.push_back(b.last(std::move(l.A), false, g, v, M));
        break;
      }
      l = std::move(nl);
    }
  } else if (k > 0) {
    // a singular last level cannot be factored: ground it through one level
    // that maps every other vertex to a node of its own
    owned cI = vector(n, mxUINT32_CLASS);
    std::uint32_t *q = data<std::uint32_t>(cI), m = 0;
    for (std::size_t i = 0; i < n; ++i)
      if (!ground.get()[i])
        q[i] = m++;
    for (std::size_t i = 0; i < n; ++i)
      if (ground.get()[i])
        q[i] = m;
    kelvara::sum_work sums(n);
    graph_store &next = b.store(0);
    kelvara::gsum(g0, va.e.get(), q, m, 1.0, sums, next, vb.e.get());
    const coarse_graph gc = next.view(m);
    kelvara::coarse(gc, vb);
    nl.A = b.rows(gc, vb.d.get(), &nl.below);
    done.push_back(b.inner(std::move(l.A), true, n, va.d.get(), std::move(cI), m + 1, true,
                           repeat(l.below, nl.below)));
    done.push_back(b.last(std::move(nl.A), false, gc, vb, M));
  } else {
    done.push_back(b.last(std::move(l.A), true, g0, va, M));
  }

  owned H(made(mxCreateCellMatrix(1, done.size()), oom));
  for (std::size_t i = 0; i < done.size(); ++i)
    mxSetCell(H.get(), i, done[i].release());
  if (!M)
    M = owned(made(mxCreateDoubleMatrix(0, 0, mxREAL), oom));
  plhs[0] = H.release();
  kelvara::store(nlhs, plhs, 1, M.release());
  kelvara::store(nlhs, plhs, 2, grounded.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { ladder_setup(nlhs, plhs, nrhs, prhs); });
}
