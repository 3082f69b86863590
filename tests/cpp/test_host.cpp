// The harness itself: what it reports for modules that break the contract is
// checked with the ladder modules, which exercise every host operation kind.
#include "harness.h"

#include <gtest/gtest.h>

TEST(host, modules_export_the_version_query)
{
  for (const char *m : {"ladder_single", "ladder_double"})
    EXPECT_TRUE(harness::exports_version(m)) << m;
}
