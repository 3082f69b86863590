// Array creation, access and destruction of the host layer.
#include "array.h"
#include "state.h"

#include <cstdlib>
#include <cstring>

namespace khost {

std::size_t element_size(mxClassID cls)
{
  switch (cls) {
  case mxDOUBLE_CLASS: case mxINT64_CLASS: case mxUINT64_CLASS: return 8;
  case mxSINGLE_CLASS: case mxINT32_CLASS: case mxUINT32_CLASS: return 4;
  case mxINT16_CLASS: case mxUINT16_CLASS: case mxCHAR_CLASS: return 2;
  case mxINT8_CLASS: case mxUINT8_CLASS: case mxLOGICAL_CLASS: return 1;
  default: return 0;
  }
}

std::size_t numel(const mxArray *a)
{
  std::size_t k = 1;
  for (mwSize d : a->dims)
    k *= d;
  return k;
}

} // namespace khost

using namespace khost;

namespace {

// Exactly sized zero-filled storage, so a sanitizer sees any access past it.
void *zeroed(std::size_t bytes) { return std::calloc(bytes ? bytes : 1, 1); }

mxArray *fresh(mxClassID cls, std::vector<mwSize> dims, bool complex)
{
  if (khost::allocation_fails())
    return nullptr;
  auto *a = new mxArray;
  a->cls = cls;
  a->dims = std::move(dims);
  a->complex = complex;
  std::size_t bytes = element_size(cls) * numel(a);
  if (bytes || element_size(cls)) {
    a->re = zeroed(bytes);
    if (complex)
      a->im = zeroed(bytes);
  }
  created(a);
  return a;
}

mxArray *fresh_sparse(mxClassID cls, mwSize m, mwSize n, mwSize nzmax, bool complex)
{
  if (khost::allocation_fails())
    return nullptr;
  auto *a = new mxArray;
  a->cls = cls;
  a->sparse = true;
  a->complex = complex;
  a->dims = {m, n};
  a->nzmax = nzmax ? nzmax : 1;
  a->re = zeroed(a->nzmax * element_size(cls));
  if (complex)
    a->im = zeroed(a->nzmax * element_size(cls));
  a->ir = static_cast<mwIndex *>(zeroed(a->nzmax * sizeof(mwIndex)));
  a->jc = static_cast<mwIndex *>(zeroed((n + 1) * sizeof(mwIndex)));
  created(a);
  return a;
}

void *copy_bytes(const void *p, std::size_t bytes)
{
  void *q = zeroed(bytes);
  if (p && bytes)
    std::memcpy(q, p, bytes);
  return q;
}

void destroy_tree(mxArray *a)
{
  for (mxArray *c : a->cells)
    if (c)
      destroy_tree(c);
  for (mxArray *c : a->values)
    if (c)
      destroy_tree(c);
  std::free(a->re);
  std::free(a->im);
  std::free(a->ir);
  std::free(a->jc);
  released(a);
  delete a;
}

// Puts v into a cell or struct slot, destroying what it held: the container
// now owns v.
void adopt(mxArray *&slot, mxArray *v)
{
  if (slot)
    destroy_tree(slot);
  slot = v;
  if (v) {
    v->owned = true;
    released(v);
  }
}

const char *class_name(mxClassID c)
{
  static const char *names[] = {"unknown", "cell",   "struct", "logical", "char",  "void",
                                "double",  "single", "int8",   "uint8",   "int16", "uint16",
                                "int32",   "uint32", "int64",  "uint64",  "function_handle"};
  return c <= mxFUNCTION_CLASS ? names[c] : "unknown";
}

} // namespace

extern "C" {

size_t mxGetM(const mxArray *a) { return a->dims[0]; }
size_t mxGetN(const mxArray *a)
{
  std::size_t k = 1;
  for (std::size_t d = 1; d < a->dims.size(); ++d)
    k *= a->dims[d];
  return k;
}
size_t mxGetNumberOfElements(const mxArray *a) { return numel(a); }
mwSize mxGetNumberOfDimensions(const mxArray *a) { return a->dims.size(); }
const mwSize *mxGetDimensions(const mxArray *a) { return a->dims.data(); }
mxClassID mxGetClassID(const mxArray *a) { return a->cls; }
bool mxIsSparse(const mxArray *a) { return a->sparse; }
bool mxIsDouble(const mxArray *a) { return a->cls == mxDOUBLE_CLASS; }
bool mxIsSingle(const mxArray *a) { return a->cls == mxSINGLE_CLASS; }
bool mxIsCell(const mxArray *a) { return a->cls == mxCELL_CLASS; }
bool mxIsStruct(const mxArray *a) { return a->cls == mxSTRUCT_CLASS; }
bool mxIsLogical(const mxArray *a) { return a->cls == mxLOGICAL_CLASS; }
bool mxIsComplex(const mxArray *a) { return a->complex; }
bool mxIsEmpty(const mxArray *a) { return numel(a) == 0; }
bool mxIsClass(const mxArray *a, const char *name) { return !std::strcmp(class_name(a->cls), name); }

double *mxGetPr(const mxArray *a) { return static_cast<double *>(a->re); }
double *mxGetPi(const mxArray *a) { return static_cast<double *>(a->im); }
void *mxGetData(const mxArray *a) { return a->re; }
mxLogical *mxGetLogicals(const mxArray *a) { return static_cast<mxLogical *>(a->re); }
mwIndex *mxGetIr(const mxArray *a) { return a->ir; }
mwIndex *mxGetJc(const mxArray *a) { return a->jc; }
mwSize mxGetNzmax(const mxArray *a) { return a->nzmax; }

double mxGetScalar(const mxArray *a)
{
  if (!a->re || (a->sparse ? a->jc[mxGetN(a)] == 0 : numel(a) == 0))
    return 0;
  switch (a->cls) {
  case mxDOUBLE_CLASS: return *static_cast<double *>(a->re);
  case mxSINGLE_CLASS: return *static_cast<float *>(a->re);
  case mxINT8_CLASS: return *static_cast<std::int8_t *>(a->re);
  case mxUINT8_CLASS: return *static_cast<std::uint8_t *>(a->re);
  case mxLOGICAL_CLASS: return *static_cast<mxLogical *>(a->re) ? 1 : 0;
  case mxINT16_CLASS: return *static_cast<std::int16_t *>(a->re);
  case mxUINT16_CLASS: case mxCHAR_CLASS: return *static_cast<std::uint16_t *>(a->re);
  case mxINT32_CLASS: return *static_cast<std::int32_t *>(a->re);
  case mxUINT32_CLASS: return *static_cast<std::uint32_t *>(a->re);
  case mxINT64_CLASS: return static_cast<double>(*static_cast<std::int64_t *>(a->re));
  case mxUINT64_CLASS: return static_cast<double>(*static_cast<std::uint64_t *>(a->re));
  default: return 0;
  }
}

mxArray *mxGetCell(const mxArray *a, mwIndex i)
{
  // a negative index (32-bit interface) wraps to a huge one and is refused
  const std::size_t k = static_cast<std::size_t>(i);
  return a->cls == mxCELL_CLASS && k < a->cells.size() ? a->cells[k] : nullptr;
}

mxArray *mxGetField(const mxArray *a, mwIndex i, const char *name)
{
  if (a->cls != mxSTRUCT_CLASS || static_cast<std::size_t>(i) >= numel(a))
    return nullptr;
  for (std::size_t k = 0; k < a->fields.size(); ++k)
    if (a->fields[k] == name)
      return a->values[i * a->fields.size() + k];
  return nullptr;
}

int mxGetNumberOfFields(const mxArray *a) { return static_cast<int>(a->fields.size()); }
const char *mxGetFieldNameByNumber(const mxArray *a, int k)
{
  return k >= 0 && static_cast<std::size_t>(k) < a->fields.size() ? a->fields[k].c_str() : nullptr;
}

mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity c)
{
  return fresh(mxDOUBLE_CLASS, {m, n}, c == mxCOMPLEX);
}

mxArray *mxCreateDoubleScalar(double v)
{
  mxArray *a = fresh(mxDOUBLE_CLASS, {1, 1}, false);
  if (a)
    *mxGetPr(a) = v;
  return a;
}

mxArray *mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity c)
{
  return fresh(cls, {m, n}, c == mxCOMPLEX);
}

mxArray *mxCreateUninitNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity c)
{
  mxArray *a = fresh(cls, {m, n}, c == mxCOMPLEX);
  if (a && numel(a)) {
    std::memset(a->re, 0xA5, element_size(cls) * numel(a));
    if (a->im)
      std::memset(a->im, 0xA5, element_size(cls) * numel(a));
  }
  return a;
}

mxArray *mxCreateNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity c)
{
  std::vector<mwSize> d(dims, dims + ndim);
  while (d.size() < 2)
    d.push_back(1);
  return fresh(cls, d, c == mxCOMPLEX);
}

mxArray *mxCreateLogicalMatrix(mwSize m, mwSize n) { return fresh(mxLOGICAL_CLASS, {m, n}, false); }

mxArray *mxCreateSparse(mwSize m, mwSize n, mwSize nzmax, mxComplexity c)
{
  return fresh_sparse(mxDOUBLE_CLASS, m, n, nzmax, c == mxCOMPLEX);
}

mxArray *mxCreateSparseLogicalMatrix(mwSize m, mwSize n, mwSize nzmax)
{
  return fresh_sparse(mxLOGICAL_CLASS, m, n, nzmax, false);
}

mxArray *mxCreateCellMatrix(mwSize m, mwSize n)
{
  mxArray *a = fresh(mxCELL_CLASS, {m, n}, false);
  if (a)
    a->cells.assign(m * n, nullptr);
  return a;
}

mxArray *mxCreateStructMatrix(mwSize m, mwSize n, int nfields, const char **names)
{
  mxArray *a = fresh(mxSTRUCT_CLASS, {m, n}, false);
  if (!a)
    return nullptr;
  a->fields.assign(names, names + nfields);
  a->values.assign(m * n * nfields, nullptr);
  return a;
}

mxArray *mxCreateString(const char *s)
{
  std::size_t len = std::strlen(s);
  mxArray *a = fresh(mxCHAR_CLASS, {static_cast<mwSize>(len ? 1 : 0), static_cast<mwSize>(len)},
                     false);
  if (a)
    for (std::size_t k = 0; k < len; ++k)
      static_cast<std::uint16_t *>(a->re)[k] = static_cast<unsigned char>(s[k]);
  return a;
}

void mxSetCell(mxArray *a, mwIndex i, mxArray *v) { adopt(a->cells[i], v); }

void mxSetField(mxArray *a, mwIndex i, const char *name, mxArray *v)
{
  std::size_t k = 0;
  while (k < a->fields.size() && a->fields[k] != name)
    ++k;
  if (k == a->fields.size())
    return;
  adopt(a->values[i * a->fields.size() + k], v);
}

mxArray *mxDuplicateArray(const mxArray *a)
{
  if (khost::allocation_fails())
    return nullptr;
  auto *b = new mxArray;
  b->cls = a->cls;
  b->sparse = a->sparse;
  b->complex = a->complex;
  b->dims = a->dims;
  std::size_t count = a->sparse ? a->nzmax : numel(a);
  std::size_t bytes = count * element_size(a->cls);
  if (a->re)
    b->re = copy_bytes(a->re, bytes);
  if (a->im)
    b->im = copy_bytes(a->im, bytes);
  if (a->sparse) {
    b->nzmax = a->nzmax;
    b->ir = static_cast<mwIndex *>(copy_bytes(a->ir, a->nzmax * sizeof(mwIndex)));
    b->jc = static_cast<mwIndex *>(copy_bytes(a->jc, (mxGetN(a) + 1) * sizeof(mwIndex)));
  }
  b->fields = a->fields;
  created(b);
  b->cells.assign(a->cells.size(), nullptr);
  for (std::size_t k = 0; k < a->cells.size(); ++k)
    if (a->cells[k])
      adopt(b->cells[k], mxDuplicateArray(a->cells[k]));
  b->values.assign(a->values.size(), nullptr);
  for (std::size_t k = 0; k < a->values.size(); ++k)
    if (a->values[k])
      adopt(b->values[k], mxDuplicateArray(a->values[k]));
  return b;
}

void mxDestroyArray(mxArray *a)
{
  if (a)
    destroy_tree(a);
}

} // extern "C"
