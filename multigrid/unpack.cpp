#include "unpack.h"

#include "args.h"
#include "gateway.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <type_traits>

using kelvara::fail;

namespace {

const mxClassID real_class = std::is_same<Real, float>::value ? mxSINGLE_CLASS : mxDOUBLE_CLASS;
const char *const real_name = std::is_same<Real, float>::value ? "single" : "double";

// One struct of the Hierarchy being read: entry `level` (0-based) and the
// path of field names that leads to it, for messages.
struct place {
  const mxArray *s;
  std::size_t level;
  const char *path;  // "" for the entry itself, else "A." or "chol.ld." ...
};

const mxArray *field(const place &at, const char *name)
{
  const mxArray *f = mxGetField(at.s, 0, name);
  if (!f)
    fail("Hierarchy entry H{%zu} has no field %s%s", at.level + 1, at.path, name);
  return f;
}

// A double scalar field truncated toward zero, within [lo, hi].
double scalar(const place &at, const char *name, double lo, double hi)
{
  const mxArray *f = field(at, name);
  if (!mxIsDouble(f) || mxIsComplex(f) || mxGetNumberOfElements(f) == 0)
    fail("H{%zu}.%s%s must be a real double scalar", at.level + 1, at.path, name);
  double v = std::trunc(mxGetScalar(f));
  if (!(v >= lo && v <= hi))
    fail("H{%zu}.%s%s must be a whole number from %.0f to %.0f", at.level + 1, at.path, name, lo,
         hi);
  return v;
}

std::uint32_t count(const place &at, const char *name)
{
  return static_cast<std::uint32_t>(scalar(at, name, 0, 4294967295.0));
}

// The data of a full real array of class cls with at least len elements.
void *data(const place &at, const char *name, mxClassID cls, const char *cls_name,
           std::size_t len)
{
  const mxArray *f = field(at, name);
  if (mxGetClassID(f) != cls || mxIsSparse(f) || mxIsComplex(f) ||
      mxGetNumberOfElements(f) < len)
    fail("H{%zu}.%s%s must be a full real %s array of at least %zu elements", at.level + 1,
         at.path, name, cls_name, len);
  return mxGetData(f);
}

std::uint32_t *words(const place &at, const char *name, std::size_t len)
{
  return static_cast<std::uint32_t *>(data(at, name, mxUINT32_CLASS, "uint32", len));
}

Real *reals(const place &at, const char *name, std::size_t len)
{
  return static_cast<Real *>(data(at, name, real_class, real_name, len));
}

// A struct member of a struct, with at least one element.
place member(const place &at, const char *name, const char *path)
{
  const mxArray *f = field(at, name);
  if (!mxIsStruct(f) || mxGetNumberOfElements(f) == 0)
    fail("H{%zu}.%s%s must be a struct", at.level + 1, at.path, name);
  return place{f, at.level, path};
}

// "a", "ia", "ja" and "n" of a matrix or factor stored by rows, of order n
// when n is given, else of its own "n".
template <class T>
void rows(const place &at, SparseRows<T> &r, mxClassID cls, const char *cls_name, bool own_n,
          std::uint32_t n)
{
  std::uint32_t stated = count(at, "n");
  r.n = own_n ? stated : n;
  r.ia = words(at, "ia", std::size_t(r.n) + 1);
  std::size_t nnz = r.ia[r.n];
  r.a = static_cast<T *>(data(at, "a", cls, cls_name, nnz));
  r.ja = words(at, "ja", nnz);
}

void workspaces(const place &at, LevelRecord &V, std::uint32_t nc)
{
  V.invD = reals(at, "invD", V.A.n);
  V.lws1 = reals(at, "lws1", V.A.n);
  V.lws2 = reals(at, "lws2", V.A.n);
  V.sws1 = reals(at, "sws1", nc);
  V.sws2 = reals(at, "sws2", nc);
  V.sws3 = reals(at, "sws3", nc);
}

place entry(const mxArray *H, std::size_t i)
{
  const mxArray *e = mxGetCell(H, i);
  if (!e || !mxIsStruct(e) || mxGetNumberOfElements(e) == 0)
    fail("Hierarchy entry H{%zu} must be a struct", i + 1);
  return place{e, i, ""};
}

// An array anywhere in the Hierarchy: its parent's index in the list and
// the cell position or field name that leads to it, for messages.
struct node {
  const mxArray *a;
  std::size_t parent;
  std::size_t cell;   // 1-based cell position, or 0 under a field
  const char *name;   // field name
};

std::string path_of(const std::vector<node> &nodes, std::size_t k)
{
  std::string p;
  for (; k != 0; k = nodes[k].parent)
    p = (nodes[k].cell ? "{" + std::to_string(nodes[k].cell) + "}" : std::string(".") +
                                                                       nodes[k].name) + p;
  return "H" + p;
}

// Refuses a workspace that the cycle writes (those of the inner levels)
// whose data another array of class Real anywhere in H shares, a field the
// cycle reads or one it ignores: the caller's Hierarchy would change with
// every call.  (Workspaces overlapping each other or the right-hand side
// are refused by validate.)
void apart(const mxArray *H, std::size_t L)
{
  const char *const names[] = {"lws1", "lws2", "sws1", "sws2"};
  std::vector<const mxArray *> written;
  for (std::size_t i = 0; i + 1 < L; ++i)
    for (const char *w : names)
      written.push_back(mxGetField(mxGetCell(H, i), 0, w));
  // every array of H, breadth first, and the full Real ones among them
  std::vector<node> nodes{node{H, 0, 0, ""}};
  std::vector<std::size_t> reals;
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    const mxArray *a = nodes[k].a;
    const std::size_t count = mxGetNumberOfElements(a);
    if (mxIsCell(a)) {
      for (std::size_t c = 0; c < count; ++c)
        if (const mxArray *e = mxGetCell(a, c))
          nodes.push_back(node{e, k, c + 1, nullptr});
    } else if (mxIsStruct(a)) {
      for (std::size_t e = 0; e < count; ++e)
        for (int f = 0; f < mxGetNumberOfFields(a); ++f) {
          const char *name = mxGetFieldNameByNumber(a, f);
          if (const mxArray *v = mxGetField(a, e, name))
            nodes.push_back(node{v, k, 0, name});
        }
    } else if (mxGetClassID(a) == real_class && !mxIsSparse(a) && count > 0 &&
               std::find(written.begin(), written.end(), a) == written.end()) {
      reals.push_back(k);
    }
  }
  auto lo = [&](std::size_t k) { return static_cast<const char *>(mxGetData(nodes[k].a)); };
  auto hi = [&](std::size_t k) { return lo(k) + mxGetNumberOfElements(nodes[k].a) * sizeof(Real); };
  std::sort(reals.begin(), reals.end(), [&](std::size_t x, std::size_t y) { return lo(x) < lo(y); });
  // the arrays' ends, in that order, as far as each reaches
  std::vector<const char *> reach(reals.size());
  for (std::size_t r = 0; r < reals.size(); ++r)
    reach[r] = r ? std::max(reach[r - 1], hi(reals[r])) : hi(reals[r]);
  for (std::size_t w = 0; w < written.size(); ++w) {
    const mxArray *a = written[w];
    if (mxGetNumberOfElements(a) == 0)
      continue;
    const char *wlo = static_cast<const char *>(mxGetData(a));
    const char *whi = wlo + mxGetNumberOfElements(a) * sizeof(Real);
    // the last array starting before whi overlaps when the reach before it passes wlo
    const std::size_t r = static_cast<std::size_t>(
        std::lower_bound(reals.begin(), reals.end(), whi,
                         [&](std::size_t k, const char *at) { return lo(k) < at; }) -
        reals.begin());
    if (r == 0 || reach[r - 1] <= wlo)
      continue;
    std::size_t clash = r - 1;
    while (hi(reals[clash]) <= wlo)
      --clash;
    fail("H{%zu}.%s shares its data with %s; every workspace must be an array of its own",
         w / 4 + 1, names[w % 4], path_of(nodes, reals[clash]).c_str());
  }
}

} // namespace

std::vector<LevelRecord> unpack(const mxArray *H)
{
  // k is the larger of the row and column counts; a cell with more of both
  // gives its first k entries by linear index.  A cell with no entries has
  // a zero among its counts.
  const std::size_t k = mxGetNumberOfElements(H) ? std::max(mxGetM(H), kelvara::columns(H)) : 0;
  if (k == 0)
    fail("The Hierarchy cell is empty");
  // Refused before any entry is read: on the first read of an entry the
  // host may convert every entry of the cell.
  if (k > max_levels + 1)
    fail("A Hierarchy of %zu entries is deeper than the %zu levels supported", k, max_levels);
  std::size_t L = k;
  if (k > 1 && count(entry(H, k - 2), "islast") != 0)
    L = k - 1;
  // The cycle recurses once per level; far beyond any real coarsening, this
  // keeps the recursion within the host's stack.
  if (L > max_levels)
    fail("A Hierarchy of %zu levels is deeper than the %zu levels supported", L, max_levels);
  std::vector<LevelRecord> levels(L);
  for (std::size_t i = 0; i < L; ++i) {
    const place at = entry(H, i);
    LevelRecord &V = levels[i];
    V.islast = count(at, "islast");
    V.iterative = count(at, "iterative");
    const place A = member(at, "A", "A.");
    rows(A, V.A, real_class, real_name, true, 0);
    V.A.issym = count(A, "issym");
    if (i < L - 1) {
      V.nc = count(at, "nc");
      V.cI = words(at, "cI", V.A.n);
      V.dc = count(at, "dc");
      V.repeat = static_cast<std::int32_t>(scalar(at, "repeat", -2147483648.0, 2147483647.0));
      workspaces(at, V, V.nc);
    }
    if (i == 0)
      V.laplacian = count(at, "laplacian");
    if (i == L - 1) {
      if (V.iterative) {
        workspaces(at, V, 0);
      } else {
        const place chol = member(at, "chol", "chol.");
        rows(member(chol, "ld", "chol.ld."), V.chol.ld, mxDOUBLE_CLASS, "double", true, 0);
        if (V.chol.ld.n != V.A.n)
          fail("H{%zu}.chol.ld.n must equal the level's order %u", i + 1, V.A.n);
        rows(member(chol, "ldT", "chol.ldT."), V.chol.ldT, mxDOUBLE_CLASS, "double", false,
             V.A.n);
        V.chol.p = words(chol, "p", V.A.n);
        V.chol.invp = words(chol, "invp", V.A.n);
      }
    }
  }
  apart(H, L);
  return levels;
}
