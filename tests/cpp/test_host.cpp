// The harness's host layer: what it reports for a module that breaks the
// host contract, shown with small entries that each break one rule.
#include "harness.h"

#include <gtest/gtest.h>

namespace {

void overruns(int, mxArray *plhs[], int, const mxArray *[])
{
  plhs[0] = mxCreateDoubleScalar(1);
  plhs[1] = mxCreateDoubleScalar(2);
}

void leaks(int, mxArray *plhs[], int, const mxArray *[])
{
  plhs[0] = mxCreateDoubleScalar(1);
  mxCreateDoubleScalar(2);
  mxMalloc(8);
}

void changes_input(int, mxArray *plhs[], int, const mxArray *prhs[])
{
  mxGetPr(prhs[0])[0] = 5;
  plhs[0] = mxCreateDoubleScalar(1);
}

void returns_input(int, mxArray *plhs[], int, const mxArray *prhs[])
{
  plhs[0] = const_cast<mxArray *>(prhs[0]);
}

void fails_after_creating(int, mxArray *plhs[], int, const mxArray *[])
{
  plhs[0] = mxCreateDoubleMatrix(3, 3, mxREAL);
  mxMalloc(100);
  mexErrMsgIdAndTxt("kelvara:test", "failed at %d", 7);
}

bool reports(const khost::outcome &o, const std::string &what)
{
  for (const std::string &f : o.faults)
    if (f.find(what) != std::string::npos)
      return true;
  return false;
}

TEST(host, reports_each_breach_of_the_contract)
{
  harness::ptr x = harness::scalar(3);
  std::vector<const mxArray *> in{x.get()};
  khost::outcome o = khost::call(overruns, 1, in);
  EXPECT_TRUE(reports(o, "past the list of 1"));
  for (mxArray *a : o.out)
    mxDestroyArray(a);

  o = khost::call(leaks, 1, in);
  EXPECT_TRUE(reports(o, "array(s) created and not released"));
  EXPECT_TRUE(reports(o, "host memory block(s) not freed"));
  for (mxArray *a : o.out)
    mxDestroyArray(a);

  o = khost::call(changes_input, 1, in);
  EXPECT_TRUE(reports(o, "input 0 changed"));
  for (mxArray *a : o.out)
    mxDestroyArray(a);

  o = khost::call(returns_input, 1, in);
  EXPECT_TRUE(reports(o, "not a fresh array"));
}

TEST(host, an_error_reclaims_what_the_call_created)
{
  std::size_t arrays = khost::live_arrays(), blocks = khost::live_blocks();
  khost::outcome o = khost::call(fails_after_creating, 1, {});
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.id, "kelvara:test");
  EXPECT_EQ(o.message, "failed at 7");
  EXPECT_TRUE(o.out.empty());
  EXPECT_TRUE(o.faults.empty());
  EXPECT_EQ(khost::live_arrays(), arrays);
  EXPECT_EQ(khost::live_blocks(), blocks);
}

TEST(host, every_module_exports_the_version_query)
{
  for (const char *m : {"ladder_single", "ladder_double", "heavy_edge", "tree_tags", "tree_cleave",
                        "relabel_sets", "mask_enumerate", "sdd_from_weights", "weights_from_sdd",
                        "twosided_scale", "jitter_lower", "wavefront", "graph_islands",
                        "dag_sequence", "route_unwind"})
    EXPECT_TRUE(harness::exports_version(m)) << m;
}

} // namespace
