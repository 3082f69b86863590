// Fuzzer of the multigrid cycle: a Hierarchy built from the bytes, mostly
// well formed, then altered: fields removed or replaced by any array,
// scalars and index entries set to edge values, entries of the cell
// replaced, and arrays made to share their data with another.
#include "arrays.h"
#include "call.h"
#include "control.h"
#include "impl/array.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using fuzz::bytes;

mxArray *words(const std::vector<std::uint32_t> &v)
{
  mxArray *a = mxCreateNumericMatrix(v.size(), 1, mxUINT32_CLASS, mxREAL);
  if (!v.empty())
    std::memcpy(mxGetData(a), v.data(), v.size() * sizeof v[0]);
  return a;
}

mxArray *values(bytes &in, mxClassID cls, std::size_t count)
{
  return fuzz::full(in, cls, count, 1, 4);
}

mxArray *record(const std::vector<const char *> &names)
{
  return mxCreateStructMatrix(1, 1, static_cast<int>(names.size()),
                              const_cast<const char **>(names.data()));
}

// Rows of order n: row r holds its diagonal slot first (lower = false) or
// last (lower = true), the other entries below n, left of r (lower), right
// of r (upper) or anywhere (neither).
enum side { any_side, left, right };
mxArray *rows(bytes &in, mxClassID cls, std::uint32_t n, side s)
{
  std::vector<std::uint32_t> ia{0}, ja;
  for (std::uint32_t r = 0; r < n; ++r) {
    if (s != left)
      ja.push_back(r);
    const std::uint32_t lo = s == right ? r + 1 : 0, hi = s == left ? r : n;
    for (unsigned k = in.pick(3); k > 0 && lo < hi; --k)
      ja.push_back(lo + in.pick(hi - lo));
    if (s == left)
      ja.push_back(r);
    ia.push_back(static_cast<std::uint32_t>(ja.size()));
  }
  mxArray *m = record({"a", "ia", "ja", "n", "issym"});
  mxSetField(m, 0, "a", values(in, cls, ja.size()));
  mxSetField(m, 0, "ia", words(ia));
  mxSetField(m, 0, "ja", words(ja));
  mxSetField(m, 0, "n", mxCreateDoubleScalar(n));
  mxSetField(m, 0, "issym", mxCreateDoubleScalar(1));
  return m;
}

mxArray *factor(bytes &in, std::uint32_t n)
{
  std::vector<std::uint32_t> p(n), invp(n);
  for (std::uint32_t i = 0; i < n; ++i)
    p[i] = i;
  for (std::uint32_t i = n; i > 1; --i)
    std::swap(p[i - 1], p[in.pick(i)]);
  for (std::uint32_t i = 0; i < n; ++i)
    invp[p[i]] = i;
  mxArray *c = record({"ld", "ldT", "p", "invp"});
  mxSetField(c, 0, "ld", rows(in, mxDOUBLE_CLASS, n, left));
  mxSetField(c, 0, "ldT", rows(in, mxDOUBLE_CLASS, n, right));
  mxSetField(c, 0, "p", words(p));
  mxSetField(c, 0, "invp", words(invp));
  return c;
}

void workspaces(bytes &in, mxArray *e, mxClassID cls, std::size_t n, std::size_t nc)
{
  mxSetField(e, 0, "invD", values(in, cls, n));
  for (const char *w : {"lws1", "lws2"})
    mxSetField(e, 0, w, mxCreateNumericMatrix(n, 1, cls, mxREAL));
  for (const char *w : {"sws1", "sws2", "sws3"})
    mxSetField(e, 0, w, mxCreateNumericMatrix(nc, 1, cls, mxREAL));
}

const std::vector<const char *> entry_fields = {
    "islast", "iterative", "A",    "cI",   "nc",   "dc",   "repeat", "invD", "lws1",
    "lws2",   "sws1",      "sws2", "sws3", "laplacian", "chol"};

// A Hierarchy of mostly well-formed levels, in a cell of k entries, and
// the order of its finest level and its "laplacian" flag.
mxArray *hierarchy(bytes &in, mxClassID cls, std::uint32_t &n0, bool &laplacian)
{
  const std::size_t L = 1 + in.pick(4);
  std::vector<std::uint32_t> n(L);
  for (auto &x : n)
    x = 1 + in.pick(7);
  const bool spare = in.pick(2);  // an unread entry after the last level
  const std::size_t k = L + spare;
  mxArray *H = in.pick(8) ? mxCreateCellMatrix(k, 1) : mxCreateCellMatrix(1, k);
  laplacian = in.pick(4) == 0;
  for (std::size_t i = 0; i < L; ++i) {
    mxArray *e = record(entry_fields);
    const bool last = i + 1 == L;
    const bool iterative = last && in.pick(3) == 0;
    mxSetField(e, 0, "islast", mxCreateDoubleScalar(last && (spare || !iterative)));
    mxSetField(e, 0, "iterative", mxCreateDoubleScalar(iterative));
    mxSetField(e, 0, "A", rows(in, cls, n[i], any_side));
    if (!last) {
      const std::uint32_t dc = in.pick(2), nc = n[i + 1] + dc + in.pick(2);
      std::vector<std::uint32_t> cI(n[i]);
      for (auto &c : cI)
        c = in.pick(nc);
      mxSetField(e, 0, "cI", words(cI));
      mxSetField(e, 0, "nc", mxCreateDoubleScalar(nc));
      mxSetField(e, 0, "dc", mxCreateDoubleScalar(dc));
      mxSetField(e, 0, "repeat", mxCreateDoubleScalar(in.pick(4) ? 1 + in.pick(2) : in.pick(8)));
      workspaces(in, e, cls, n[i], nc);
    } else if (iterative) {
      workspaces(in, e, cls, n[i], in.pick(3));
    } else {
      mxSetField(e, 0, "chol", factor(in, n[i]));
    }
    if (i == 0)
      mxSetField(e, 0, "laplacian", mxCreateDoubleScalar(laplacian));
    mxSetCell(H, i, e);
  }
  if (spare && in.pick(2))
    mxSetCell(H, L, fuzz::any(in));
  n0 = n[0];
  return H;
}

// A place in the Hierarchy that holds an array: a struct field or a cell.
struct slot {
  mxArray *parent;
  const char *name;  // null for a cell entry
  std::size_t index;
  mxArray *get() const { return name ? mxGetField(parent, 0, name) : mxGetCell(parent, index); }
  void set(mxArray *v) const
  {
    if (name)
      mxSetField(parent, 0, name, v);
    else
      mxSetCell(parent, index, v);
  }
};

void slots(mxArray *a, std::vector<slot> &out)
{
  if (mxIsCell(a)) {
    for (std::size_t k = 0; k < mxGetNumberOfElements(a); ++k) {
      out.push_back(slot{a, nullptr, k});
      if (mxArray *c = mxGetCell(a, k))
        slots(c, out);
    }
  } else if (mxIsStruct(a) && mxGetNumberOfElements(a) > 0) {
    for (int f = 0; f < mxGetNumberOfFields(a); ++f) {
      out.push_back(slot{a, mxGetFieldNameByNumber(a, f), 0});
      if (mxArray *v = mxGetField(a, 0, mxGetFieldNameByNumber(a, f)))
        slots(v, out);
    }
  }
}

bool plain(const mxArray *a)
{
  return a && !mxIsSparse(a) && !mxIsComplex(a) && !mxIsCell(a) && !mxIsStruct(a) &&
         mxGetNumberOfElements(a) > 0;
}

// One alteration of the Hierarchy.
void alter(bytes &in, mxArray *H)
{
  std::vector<slot> s;
  slots(H, s);
  const slot &at = s[in.pick(static_cast<unsigned>(s.size()))];
  mxArray *v = at.get();
  switch (in.pick(4)) {
  case 0: at.set(nullptr); break;
  case 1: at.set(fuzz::any(in)); break;
  case 2: at.set(mxCreateDoubleScalar(fuzz::number(in))); break;
  default:
    if (plain(v)) {
      mxArray *one = fuzz::full(in, mxGetClassID(v), 1, 1, 8);
      const std::size_t bytes = khost::element_size(mxGetClassID(v));
      std::memcpy(static_cast<char *>(mxGetData(v)) + in.pick(static_cast<unsigned>(
                      mxGetNumberOfElements(v))) * bytes,
                  mxGetData(one), bytes);
      mxDestroyArray(one);
    }
  }
}

// Where array a sits, for messages: b, or a path of cell entries and fields in H.
bool find(const mxArray *at, const mxArray *a, std::string &out)
{
  if (at == a)
    return true;
  if (mxIsCell(at))
    for (std::size_t k = 0; k < mxGetNumberOfElements(at); ++k)
      if (mxArray *c = mxGetCell(at, k); c && find(c, a, out)) {
        out = "{" + std::to_string(k + 1) + "}" + out;
        return true;
      }
  if (mxIsStruct(at) && mxGetNumberOfElements(at) > 0)
    for (int f = 0; f < mxGetNumberOfFields(at); ++f)
      if (mxArray *v = mxGetField(at, 0, mxGetFieldNameByNumber(at, f)); v && find(v, a, out)) {
        out = std::string(".") + mxGetFieldNameByNumber(at, f) + out;
        return true;
      }
  return false;
}

std::string path(const mxArray *H, const mxArray *b, const mxArray *a)
{
  std::string out;
  return a == b ? "b" : find(H, a, out) ? "H" + out : "?";
}

bool workspace(const char *name)
{
  return name && (!std::strcmp(name, "lws1") || !std::strcmp(name, "lws2") ||
                  !std::strcmp(name, "sws1") || !std::strcmp(name, "sws2"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
  bytes in(data, size);
  const bool single = in.pick(2);
  const mxClassID cls = single ? mxSINGLE_CLASS : mxDOUBLE_CLASS;
  std::uint32_t n0;
  bool laplacian;
  fuzz::pool arrays;
  mxArray *H = arrays.keep(hierarchy(in, cls, n0, laplacian));
  const std::size_t m = n0 + laplacian + in.pick(3) - (in.pick(8) == 0);
  mxArray *b = arrays.keep(fuzz::full(in, in.pick(16) ? cls : mxDOUBLE_CLASS, m, 1, 4));
  for (unsigned k = in.pick(4); k > 0; --k)
    alter(in, H);

  std::vector<slot> s;
  slots(H, s);
  std::string context;
  std::vector<mxArray *> plain_arrays{b};
  for (const slot &x : s)
    if (plain(x.get()))
      plain_arrays.push_back(x.get());
  for (const slot &x : s)
    if (workspace(x.name) && x.get())
      khost::mark_scratch(x.get());
  if (in.pick(2) && plain_arrays.size() > 1) {
    // a workspace, or any array, that shares its data with another one
    mxArray *a = plain_arrays[1 + in.pick(static_cast<unsigned>(plain_arrays.size() - 1))];
    mxArray *t = plain_arrays[in.pick(static_cast<unsigned>(plain_arrays.size()))];
    const std::size_t na = mxGetNumberOfElements(a), nt = mxGetNumberOfElements(t);
    if (a != t && mxGetClassID(a) == mxGetClassID(t) && na <= nt) {
      arrays.share(a, t, in.pick(static_cast<unsigned>(nt - na + 1)));
      context = "shared: " + path(H, b, a) + " in " + path(H, b, t);
    }
  }
  std::vector<const mxArray *> args{H, b};
  if (in.pick(16) == 0)
    args.resize(in.pick(4), b);
  fuzz::call(single ? "ladder_single" : "ladder_double", static_cast<int>(in.pick(3)), args, in,
             context);
  return 0;
}
