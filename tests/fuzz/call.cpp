#include "call.h"

#include "control.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <map>
#include <string>

namespace fuzz {

namespace {

khost::entry load(const char *name)
{
  static std::map<std::string, khost::entry> loaded;
  auto it = loaded.find(name);
  if (it != loaded.end())
    return it->second;
  const std::string path = std::string(KELVARA_MODULE_DIR) + "/" + name + ".mexa64";
  void *h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  auto f = h ? reinterpret_cast<khost::entry>(dlsym(h, "mexFunction")) : nullptr;
  if (!f) {
    std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), h ? "no mexFunction" : dlerror());
    std::abort();
  }
  return loaded.emplace(name, f).first->second;
}

} // namespace

void call(const char *name, int nlhs, const std::vector<const mxArray *> &in, bytes &choice,
          const std::string &context)
{
  const khost::entry f = load(name);
  if (choice.pick(8) == 0)
    khost::fail_allocation(choice.pick(8));
  khost::outcome o = khost::call(f, nlhs, in);
  for (const std::string &fault : o.faults)
    std::fprintf(stderr, "%s: %s\n", name, fault.c_str());
  if (!o.faults.empty()) {
    std::fprintf(stderr, "%s\n", context.c_str());
    std::abort();
  }
  for (mxArray *a : o.out)
    mxDestroyArray(a);
}

} // namespace fuzz
