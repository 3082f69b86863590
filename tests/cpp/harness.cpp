#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <map>

namespace harness {

namespace {

struct module {
  void *handle = nullptr;
  khost::entry entry = nullptr;
};

const module &load(const std::string &name)
{
  static std::map<std::string, module> loaded;
  auto it = loaded.find(name);
  if (it != loaded.end())
    return it->second;
  std::string path = std::string(KELVARA_MODULE_DIR) + "/" + name + ".mexa64";
  module m;
  m.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m.handle)
    throw std::runtime_error("cannot load " + path + ": " + dlerror());
  m.entry = reinterpret_cast<khost::entry>(dlsym(m.handle, "mexFunction"));
  if (!m.entry)
    throw std::runtime_error(path + " exports no mexFunction");
  return loaded.emplace(name, m).first->second;
}

template <class T> ptr numeric(std::size_t m, std::size_t n, mxClassID cls, const std::vector<T> &v)
{
  ptr a(mxCreateNumericMatrix(m, n, cls, mxREAL));
  std::copy(v.begin(), v.end(), static_cast<T *>(mxGetData(a.get())));
  return a;
}

template <class T> std::vector<T> contents(const mxArray *a)
{
  std::size_t count = mxIsSparse(a) ? mxGetJc(a)[mxGetN(a)] : mxGetNumberOfElements(a);
  const T *p = static_cast<const T *>(mxGetData(a));
  return std::vector<T>(p, p + count);
}

} // namespace

result::~result()
{
  for (mxArray *a : o.out)
    mxDestroyArray(a);
}

result call(const std::string &name, int nlhs, const std::vector<const mxArray *> &in)
{
  result r;
  r.o = khost::call(load(name).entry, nlhs, in);
  for (const std::string &f : r.o.faults)
    ADD_FAILURE() << name << ": " << f;
  return r;
}

bool exports_version(const std::string &name)
{
  using query = void (*)(std::uint32_t *, std::uint32_t *);
  auto q = reinterpret_cast<query>(dlsym(load(name).handle, "mexfilerequiredapiversion"));
  if (!q)
    return false;
  std::uint32_t release = 0, target = 0;
  q(&release, &target);
  return release == 0x2018A && target == (sizeof(mwIndex) == 4 ? 0x07000000u : 0x07300000u);
}

ptr dense(std::size_t m, std::size_t n, const std::vector<double> &v)
{
  return numeric<double>(m, n, mxDOUBLE_CLASS, v);
}
ptr column(const std::vector<double> &v) { return dense(v.size(), 1, v); }

ptr record(std::vector<std::pair<const char *, ptr>> fields)
{
  std::vector<const char *> names;
  for (auto &f : fields)
    names.push_back(f.first);
  ptr s(mxCreateStructMatrix(1, 1, static_cast<int>(names.size()), names.data()));
  for (auto &f : fields)
    mxSetField(s.get(), 0, f.first, f.second.release());
  return s;
}
ptr row(const std::vector<double> &v) { return dense(1, v.size(), v); }
ptr scalar(double v) { return ptr(mxCreateDoubleScalar(v)); }
ptr singles(std::size_t m, std::size_t n, const std::vector<float> &v)
{
  return numeric<float>(m, n, mxSINGLE_CLASS, v);
}
ptr uint32s(std::size_t m, std::size_t n, const std::vector<std::uint32_t> &v)
{
  return numeric<std::uint32_t>(m, n, mxUINT32_CLASS, v);
}
ptr logicals(std::size_t m, std::size_t n, const std::vector<bool> &v)
{
  ptr a(mxCreateLogicalMatrix(m, n));
  std::copy(v.begin(), v.end(), mxGetLogicals(a.get()));
  return a;
}

ptr sparse(std::size_t m, std::size_t n, std::vector<entry> e, bool logical,
           const std::vector<double> &im)
{
  std::vector<std::size_t> order(e.size());
  for (std::size_t k = 0; k < e.size(); ++k)
    order[k] = k;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return e[a].col != e[b].col ? e[a].col < e[b].col : e[a].row < e[b].row;
  });
  ptr a(logical ? mxCreateSparseLogicalMatrix(m, n, e.size())
                : mxCreateSparse(m, n, e.size(), im.empty() ? mxREAL : mxCOMPLEX));
  mwIndex *ir = mxGetIr(a.get()), *jc = mxGetJc(a.get());
  for (std::size_t k = 0; k < e.size(); ++k) {
    const entry &x = e[order[k]];
    ir[k] = x.row;
    ++jc[x.col + 1];
    if (logical)
      mxGetLogicals(a.get())[k] = x.value != 0;
    else
      mxGetPr(a.get())[k] = x.value;
    if (!im.empty())
      mxGetPi(a.get())[k] = im[order[k]];
  }
  for (std::size_t c = 0; c < n; ++c)
    jc[c + 1] += jc[c];
  return a;
}

std::vector<double> doubles(const mxArray *a) { return contents<double>(a); }
std::vector<float> floats(const mxArray *a) { return contents<float>(a); }
std::vector<std::uint32_t> words(const mxArray *a) { return contents<std::uint32_t>(a); }
std::vector<std::size_t> dims(const mxArray *a)
{
  const mwSize *d = mxGetDimensions(a);
  return std::vector<std::size_t>(d, d + mxGetNumberOfDimensions(a));
}

} // namespace harness
