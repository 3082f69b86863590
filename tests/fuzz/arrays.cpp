#include "arrays.h"

#include "impl/array.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace fuzz {

namespace {

const double edges[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(),
                        -1,
                        -0.0,
                        0.5,
                        -0.5,
                        2147483647.0,
                        2147483648.0,
                        -2147483648.0,
                        4294967295.0,
                        4294967296.0,
                        9007199254740993.0,
                        9.3e18,
                        1.8446744073709552e19,
                        1e300,
                        -1e300,
                        std::numeric_limits<double>::denorm_min(),
                        std::numeric_limits<double>::max()};

// Saturating conversion to an integer type, NaN to 0, as hosts convert.
template <class T> T saturate(double x)
{
  if (std::isnan(x))
    return 0;
  if (x <= static_cast<double>(std::numeric_limits<T>::min()))
    return std::numeric_limits<T>::min();
  if (x >= static_cast<double>(std::numeric_limits<T>::max()))
    return std::numeric_limits<T>::max();
  return static_cast<T>(x);
}

template <class T> void fill(bytes &in, mxArray *a, std::size_t count, double around)
{
  T *p = static_cast<T *>(mxGetData(a));
  for (std::size_t k = 0; k < count; ++k)
    p[k] = saturate<T>(std::round(number(in, around)));
}

void fill_values(bytes &in, mxArray *a, std::size_t count, double around)
{
  switch (mxGetClassID(a)) {
  case mxDOUBLE_CLASS:
    for (std::size_t k = 0; k < count; ++k)
      mxGetPr(a)[k] = number(in, around);
    if (mxIsComplex(a))
      for (std::size_t k = 0; k < count; ++k)
        mxGetPi(a)[k] = number(in, around);
    break;
  case mxSINGLE_CLASS:
    for (std::size_t k = 0; k < count; ++k)
      static_cast<float *>(mxGetData(a))[k] = static_cast<float>(number(in, around));
    break;
  case mxLOGICAL_CLASS:
    for (std::size_t k = 0; k < count; ++k)
      mxGetLogicals(a)[k] = in.byte() & 1;
    break;
  case mxCHAR_CLASS: fill<std::uint16_t>(in, a, count, 128); break;
  case mxINT8_CLASS: fill<std::int8_t>(in, a, count, around); break;
  case mxUINT8_CLASS: fill<std::uint8_t>(in, a, count, around); break;
  case mxINT32_CLASS: fill<std::int32_t>(in, a, count, around); break;
  case mxUINT32_CLASS: fill<std::uint32_t>(in, a, count, around); break;
  case mxINT64_CLASS: fill<std::int64_t>(in, a, count, around); break;
  case mxUINT64_CLASS: fill<std::uint64_t>(in, a, count, around); break;
  default: break;
  }
}

const mxClassID numeric_classes[] = {mxDOUBLE_CLASS, mxSINGLE_CLASS, mxUINT32_CLASS,
                                     mxLOGICAL_CLASS, mxCHAR_CLASS,   mxINT8_CLASS,
                                     mxUINT8_CLASS,  mxINT32_CLASS,  mxINT64_CLASS,
                                     mxUINT64_CLASS};

const char *const field_names[] = {"A",     "a",    "ia",   "ja",   "n",    "issym",
                                   "cI",    "nc",   "dc",   "repeat", "invD", "lws1",
                                   "lws2",  "sws1", "sws2", "sws3", "islast", "iterative",
                                   "laplacian", "chol", "ld", "ldT", "p",   "invp"};

} // namespace

double number(bytes &in, double around)
{
  const unsigned k = in.pick(16);
  if (k < 9)
    return std::floor(in.byte() * (around + 2) / 256.0) - 1;  // -1 .. around
  if (k < 11)
    return (static_cast<int>(in.byte()) - 64) / 8.0;
  if (k < 14)
    return edges[in.pick(sizeof edges / sizeof edges[0])];
  return in.f64();
}

std::size_t order(bytes &in)
{
  const unsigned b = in.byte();
  if (b < 224)
    return b % 12;
  return b < 252 ? b % 64 : 64 + in.byte();
}

pool::~pool()
{
  for (mxArray *a : shared_)
    a->re = nullptr;
  for (mxArray *a : arrays_)
    mxDestroyArray(a);
}

mxArray *pool::keep(mxArray *a)
{
  arrays_.push_back(a);
  return a;
}

void pool::share(mxArray *a, const mxArray *b, std::size_t offset)
{
  std::free(a->re);
  a->re = static_cast<char *>(b->re) + offset * khost::element_size(b->cls);
  shared_.push_back(a);
}

mxArray *full(bytes &in, mxClassID cls, std::size_t m, std::size_t n, double around)
{
  mxArray *a = mxCreateNumericMatrix(m, n, cls, mxREAL);
  fill_values(in, a, m * n, around);
  return a;
}

mxArray *sparse(bytes &in, std::size_t m, std::size_t n, bool logical)
{
  // each column: a run of rows picked by density, ascending
  const unsigned density = in.pick(5);
  std::vector<mwIndex> rows;
  std::vector<mwIndex> starts{0};
  const bool big = m * n > 1024;  // then a few entries a column, rows stepped
  for (std::size_t j = 0; j < n; ++j) {
    if (big) {
      for (std::size_t i = in.pick(8), k = in.pick(density + 1); i < m && k > 0; --k) {
        rows.push_back(static_cast<mwIndex>(i));
        i += 1 + in.byte();
      }
    } else {
      for (std::size_t i = 0; i < m; ++i)
        if (density == 4 || in.pick(8) < density)
          rows.push_back(static_cast<mwIndex>(i));
    }
    starts.push_back(static_cast<mwIndex>(rows.size()));
  }
  const std::size_t spare = in.pick(4) == 0 ? in.pick(4) : 0;
  mxArray *a = logical ? mxCreateSparseLogicalMatrix(m, n, rows.size() + spare)
                       : mxCreateSparse(m, n, rows.size() + spare, in.pick(16) ? mxREAL : mxCOMPLEX);
  for (std::size_t k = 0; k < rows.size(); ++k)
    mxGetIr(a)[k] = rows[k];
  for (std::size_t j = 0; j <= n; ++j)
    mxGetJc(a)[j] = starts[j];
  fill_values(in, a, rows.size(), static_cast<double>(m));
  return a;
}

mxArray *any(bytes &in, int depth)
{
  const std::size_t m = order(in), n = order(in);
  const unsigned kind = in.pick(depth > 0 ? 14 : 12);
  if (kind < 10)
    return full(in, numeric_classes[kind], m, n, static_cast<double>(m + n));
  if (kind == 10)
    return sparse(in, m, n, in.pick(4) == 0);
  if (kind == 11) {
    mxArray *a = mxCreateDoubleMatrix(m % 4, n % 4, mxCOMPLEX);
    fill_values(in, a, (m % 4) * (n % 4), 4);
    return a;
  }
  if (kind == 12) {
    mxArray *c = mxCreateCellMatrix(m % 4, n % 4);
    for (std::size_t k = 0; k < (m % 4) * (n % 4); ++k)
      if (in.pick(4))
        mxSetCell(c, k, any(in, depth - 1));
    return c;
  }
  const int nfields = static_cast<int>(in.pick(4));
  const char *names[3];
  for (int f = 0; f < nfields; ++f)
    names[f] = field_names[in.pick(sizeof field_names / sizeof field_names[0])];
  // repeated names would make two slots of one field; keep the first
  int kept = 0;
  for (int f = 0; f < nfields; ++f) {
    bool seen = false;
    for (int g = 0; g < kept; ++g)
      seen |= names[g] == names[f];
    if (!seen)
      names[kept++] = names[f];
  }
  const std::size_t elems = in.pick(3);
  mxArray *s = mxCreateStructMatrix(elems ? 1 : 0, elems, kept, names);
  for (std::size_t e = 0; e < elems; ++e)
    for (int f = 0; f < kept; ++f)
      mxSetField(s, e, names[f], any(in, depth - 1));
  return s;
}

mxArray *argument(bytes &in, char kind, std::size_t n)
{
  if (in.pick(16) == 0)
    return any(in);
  if (in.pick(8) == 0)  // a neighbouring size
    n = in.pick(2) ? n + 1 : (n ? n - 1 : 0);
  const bool row = in.pick(4) == 0;
  const std::size_t m = row ? 1 : n, c = row ? n : 1;
  const double around = static_cast<double>(n);
  switch (kind) {
  case 'S': {
    const unsigned shape = in.pick(16);
    return sparse(in, n, shape == 0 ? n + 1 : n, shape == 1);
  }
  case 'V': return full(in, mxDOUBLE_CLASS, m, c, around);
  case 'P': return full(in, mxUINT32_CLASS, m, c, around);
  case 'R': return full(in, mxDOUBLE_CLASS, 1, n, around);
  case 'M': return full(in, mxLOGICAL_CLASS, m, c, around);
  case 's': return full(in, mxDOUBLE_CLASS, in.pick(8) ? 1 : 0, 1, around);
  default: return any(in);
  }
}

} // namespace fuzz
