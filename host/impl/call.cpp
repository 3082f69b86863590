// One module call as the host runs it: the output list, error exits, the
// arrays and memory the call creates, and the checks made afterwards.
#include "array.h"
#include "state.h"

#include "control.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>

namespace {

std::set<mxArray *> arrays;            // top-level arrays alive
std::map<void *, std::size_t> blocks;  // host memory alive
bool in_call = false;
long failing = -1;
// Polls of khost_interrupt_pending left before it answers true; -1: never.
long interrupting = -1;
std::mt19937_64 generator(1);
khost::callback user_callback;

mxArray *const sentinel = reinterpret_cast<mxArray *>(std::uintptr_t(0x5e5e5e5e5e5e5e5e));

// Appends every byte a module could change in a to out (scratch arrays and
// the contents of cells and structs included, but scratch data skipped).
void fingerprint(const mxArray *a, std::string &out)
{
  if (!a) {
    out += "null;";
    return;
  }
  out += std::to_string(a->cls) + (a->sparse ? "s" : "f") + (a->complex ? "c" : "r");
  for (mwSize d : a->dims)
    out += ":" + std::to_string(d);
  out += ";";
  if (a->scratch)
    return;
  std::size_t count = a->sparse ? a->nzmax : khost::numel(a);
  std::size_t bytes = count * khost::element_size(a->cls);
  if (a->re)
    out.append(static_cast<const char *>(a->re), bytes);
  if (a->im)
    out.append(static_cast<const char *>(a->im), bytes);
  if (a->sparse) {
    out.append(reinterpret_cast<const char *>(a->ir), a->nzmax * sizeof(mwIndex));
    out.append(reinterpret_cast<const char *>(a->jc), (mxGetN(a) + 1) * sizeof(mwIndex));
  }
  for (const std::string &f : a->fields)
    out += f + ",";
  for (const mxArray *c : a->cells)
    fingerprint(c, out);
  for (const mxArray *c : a->values)
    fingerprint(c, out);
}

} // namespace

namespace khost {

void created(mxArray *a) { arrays.insert(a); }
void released(mxArray *a) { arrays.erase(a); }

bool allocation_fails()
{
  if (failing < 0)
    return false;
  return failing-- == 0;
}

void raise(const std::string &id, const std::string &message)
{
  if (!in_call) {
    std::fprintf(stderr, "host error outside a module call: %s\n", message.c_str());
    std::abort();
  }
  throw host_error{id, message};
}

void mark_scratch(mxArray *a) { a->scratch = true; }
void seed(std::uint64_t s) { generator.seed(s); }
void on_call(callback cb) { user_callback = std::move(cb); }
std::size_t live_arrays() { return arrays.size(); }
std::size_t live_blocks() { return blocks.size(); }
void fail_allocation(long after) { failing = after; }
void interrupt_after(long polls) { interrupting = polls; }

outcome call(entry f, int nlhs, const std::vector<const mxArray *> &in)
{
  outcome r;
  std::vector<std::string> before;
  for (const mxArray *a : in) {
    before.emplace_back();
    fingerprint(a, before.back());
  }
  const int room = nlhs > 1 ? nlhs : 1;
  const int guard = 8;
  std::vector<mxArray *> plhs(room + guard, sentinel);
  for (int k = 0; k < room; ++k)
    plhs[k] = nullptr;

  std::set<mxArray *> outside = arrays;
  std::map<void *, std::size_t> outside_blocks = blocks;
  arrays.clear();
  blocks.clear();
  in_call = true;
  try {
    f(nlhs, plhs.data(), static_cast<int>(in.size()), const_cast<const mxArray **>(in.data()));
    r.ok = true;
  } catch (const host_error &e) {
    r.id = e.id;
    r.message = e.message;
  }
  in_call = false;
  failing = -1;

  for (int k = room; k < room + guard; ++k)
    if (plhs[k] != sentinel)
      r.faults.push_back("wrote output slot " + std::to_string(k) + " past the list of " +
                         std::to_string(room));
  if (r.ok) {
    for (int k = 0; k < room; ++k) {
      mxArray *a = plhs[k];
      if (a && !arrays.count(a)) {
        r.faults.push_back("output " + std::to_string(k) + " is not a fresh array of the call");
        a = nullptr;
      }
      if (a)
        arrays.erase(a);
      r.out.push_back(a);
    }
    if (!arrays.empty())
      r.faults.push_back(std::to_string(arrays.size()) + " array(s) created and not released");
    if (!blocks.empty())
      r.faults.push_back(std::to_string(blocks.size()) + " host memory block(s) not freed");
  }
  if (!r.ok)
    r.left = arrays.size() + blocks.size();
  // The host reclaims whatever the call left behind, as it does after an error.
  while (!arrays.empty())
    mxDestroyArray(*arrays.begin());
  for (auto &b : blocks)
    std::free(b.first);
  blocks.clear();
  for (mxArray *a : r.out)
    if (a)
      outside.insert(a);
  arrays = std::move(outside);
  blocks = std::move(outside_blocks);

  for (std::size_t k = 0; k < in.size(); ++k) {
    std::string now;
    fingerprint(in[k], now);
    if (now != before[k])
      r.faults.push_back("input " + std::to_string(k) + " changed");
  }
  return r;
}

} // namespace khost

extern "C" {

void *mxMalloc(size_t n)
{
  if (khost::allocation_fails())
    return nullptr;
  void *p = std::malloc(n ? n : 1);
  if (p)
    blocks[p] = n;
  return p;
}

void *mxCalloc(size_t n, size_t size)
{
  void *p = mxMalloc(n * size);
  if (p)
    std::memset(p, 0, n * size);
  return p;
}

void *mxRealloc(void *p, size_t n)
{
  if (!p)
    return mxMalloc(n);
  if (khost::allocation_fails())
    return nullptr;
  auto it = blocks.find(p);
  if (it == blocks.end())
    khost::raise("host:badFree", "mxRealloc of memory the host did not allocate");
  void *q = std::realloc(p, n ? n : 1);
  if (!q)
    return nullptr;
  blocks.erase(it);
  blocks[q] = n;
  return q;
}

void mxFree(void *p)
{
  if (!p)
    return;
  auto it = blocks.find(p);
  if (it == blocks.end())
    khost::raise("host:badFree", "mxFree of memory the host did not allocate");
  blocks.erase(it);
  std::free(p);
}

void mexErrMsgTxt(const char *msg) { khost::raise("", msg); }

void mexErrMsgIdAndTxt(const char *id, const char *fmt, ...)
{
  char text[1024];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(text, sizeof text, fmt, ap);
  va_end(ap);
  khost::raise(id, text);
}

void mexWarnMsgTxt(const char *msg) { std::fprintf(stderr, "warning: %s\n", msg); }

// The test host's interrupt flag, found by name by modules that poll for
// Ctrl-C; set by interrupt_after().
bool khost_interrupt_pending()
{
  if (interrupting < 0)
    return false;
  if (interrupting > 0)
    --interrupting;
  return interrupting == 0;
}

int mexCallMATLAB(int nlhs, mxArray *plhs[], int nrhs, mxArray *prhs[], const char *name)
{
  if (user_callback)
    return user_callback(nlhs, plhs, nrhs, prhs, name);
  if (std::strcmp(name, "rand") || nrhs != 2 || nlhs != 1)
    khost::raise("host:undefinedFunction", std::string("host cannot call ") + name);
  mxArray *r = mxCreateDoubleMatrix(static_cast<mwSize>(mxGetScalar(prhs[0])),
                                        static_cast<mwSize>(mxGetScalar(prhs[1])), mxREAL);
  if (!r)
    khost::raise("", "Out of memory");
  std::uniform_real_distribution<double> u(0.0, 1.0);
  double *v = mxGetPr(r);
  for (std::size_t k = 0; k < mxGetNumberOfElements(r); ++k)
    v[k] = u(generator);
  plhs[0] = r;
  return 0;
}

} // extern "C"
