#include "unpack.h"

#include "gateway.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

using kelvara::fail;

namespace {

const mxClassID real_class = std::is_same<Real, float>::value ? mxSINGLE_CLASS : mxDOUBLE_CLASS;
const char *const real_name = std::is_same<Real, float>::value ? "single" : "double";

// A scalar field read while unpacking: where its value lies, and its name.
struct scalar_read {
  const double *at;
  std::size_t level;
  const char *path, *name;
};

// One struct of the Hierarchy being read: entry `level` (0-based) and the
// path of field names that leads to it, for messages; the scalars read from
// it are noted in `reads`.
struct place {
  const mxArray *s;
  std::size_t level;
  const char *path;  // "" for the entry itself, else "A." or "chol.ld." ...
  std::vector<scalar_read> *reads;
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
  at.reads->push_back(scalar_read{mxGetPr(f), at.level, at.path, name});
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
  return place{f, at.level, path, at.reads};
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

place entry(const mxArray *H, std::size_t i, std::vector<scalar_read> &reads)
{
  const mxArray *e = mxGetCell(H, i);
  if (!e || !mxIsStruct(e) || mxGetNumberOfElements(e) == 0)
    fail("Hierarchy entry H{%zu} must be a struct", i + 1);
  return place{e, i, "", &reads};
}

// Refuses a workspace that the cycle writes (those of the inner levels)
// holding the value of a scalar field: the caller's Hierarchy would change
// with every call.
void apart(const std::vector<LevelRecord> &levels, std::vector<scalar_read> &reads)
{
  std::sort(reads.begin(), reads.end(),
            [](const scalar_read &x, const scalar_read &y) { return x.at < y.at; });
  for (std::size_t i = 0; i + 1 < levels.size(); ++i) {
    const LevelRecord &V = levels[i];
    const struct {
      const Real *p;
      std::size_t len;
      const char *name;
    } written[] = {{V.lws1, V.A.n, "lws1"}, {V.lws2, V.A.n, "lws2"}, {V.sws1, V.nc, "sws1"},
                   {V.sws2, V.nc, "sws2"}};
    for (const auto &w : written) {
      const char *lo = reinterpret_cast<const char *>(w.p), *hi = lo + w.len * sizeof(Real);
      // the first scalar ending after lo, if any, is the only one that can overlap
      auto it = std::lower_bound(reads.begin(), reads.end(), lo,
                                 [](const scalar_read &x, const char *at) {
                                   return reinterpret_cast<const char *>(x.at + 1) <= at;
                                 });
      if (it != reads.end() && reinterpret_cast<const char *>(it->at) < hi)
        fail("H{%zu}.%s shares its data with H{%zu}.%s%s; every workspace must be an array of "
             "its own",
             i + 1, w.name, it->level + 1, it->path, it->name);
    }
  }
}

} // namespace

std::vector<LevelRecord> unpack(const mxArray *H)
{
  // k is the larger of the row and column counts; a cell with more of both
  // gives its first k entries by linear index.  A cell with no entries has
  // a zero among its counts.  The column count is worked out, not asked
  // for: Octave 7 keeps the dimensions it was asked for with the argument,
  // and loses them, about 80 bytes a call, when reading an entry converts
  // the cell.
  const std::size_t numel = mxGetNumberOfElements(H), m = mxGetM(H);
  const std::size_t k = numel ? std::max(m, numel / m) : 0;
  if (k == 0)
    fail("The Hierarchy cell is empty");
  // Refused before any entry is read: on the first read of an entry the
  // host may convert every entry of the cell.
  if (k > max_levels + 1)
    fail("A Hierarchy of %zu entries is deeper than the %zu levels supported", k, max_levels);
  std::vector<scalar_read> reads;
  std::size_t L = k;
  if (k > 1 && count(entry(H, k - 2, reads), "islast") != 0)
    L = k - 1;
  // The cycle recurses once per level; far beyond any real coarsening, this
  // keeps the recursion within the host's stack.
  if (L > max_levels)
    fail("A Hierarchy of %zu levels is deeper than the %zu levels supported", L, max_levels);
  std::vector<LevelRecord> levels(L);
  for (std::size_t i = 0; i < L; ++i) {
    const place at = entry(H, i, reads);
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
  apart(levels, reads);
  return levels;
}
