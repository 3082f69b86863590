// Loads the own-host module files as a host does and calls them through the
// host layer, failing the current test on any breach of the host contract.
#ifndef KELVARA_TESTS_HARNESS_H
#define KELVARA_TESTS_HARNESS_H

#include "control.h"
#include "mex.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace harness {

struct destroyer {
  void operator()(mxArray *a) const { mxDestroyArray(a); }
};
using ptr = std::unique_ptr<mxArray, destroyer>;

// One call's outcome; owns the outputs.
struct result {
  khost::outcome o;
  result() = default;
  result(result &&) = default;
  ~result();
  bool ok() const { return o.ok; }
  const std::string &message() const { return o.message; }
  const std::string &id() const { return o.id; }
  const mxArray *out(std::size_t k) const { return k < o.out.size() ? o.out[k] : nullptr; }
};

// Calls module `name` (loaded once from the build's module folder) with
// nlhs outputs; every contract fault is reported as a test failure.
result call(const std::string &name, int nlhs, const std::vector<const mxArray *> &in);

// True when the module file exports the interface-version query with the
// expected words.
bool exports_version(const std::string &name);

// Builders of test inputs (column-major values).
ptr dense(std::size_t m, std::size_t n, const std::vector<double> &v);
ptr column(const std::vector<double> &v);
ptr row(const std::vector<double> &v);
ptr scalar(double v);
ptr singles(std::size_t m, std::size_t n, const std::vector<float> &v);
ptr uint32s(std::size_t m, std::size_t n, const std::vector<std::uint32_t> &v);
ptr logicals(std::size_t m, std::size_t n, const std::vector<bool> &v);
// A struct of one element with the given fields, taking ownership of them.
ptr record(std::vector<std::pair<const char *, ptr>> fields);
struct entry {
  std::size_t row, col;
  double value;
};
// A sparse double (or logical) matrix in canonical order from any list of
// distinct positions; im, when given, are the imaginary parts.
ptr sparse(std::size_t m, std::size_t n, std::vector<entry> e, bool logical = false,
           const std::vector<double> &im = {});

// Contents of a result.
std::vector<double> doubles(const mxArray *a);
std::vector<float> floats(const mxArray *a);
std::vector<std::uint32_t> words(const mxArray *a);
std::vector<std::size_t> dims(const mxArray *a);

} // namespace harness

#endif
