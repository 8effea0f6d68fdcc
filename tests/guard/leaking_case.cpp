// A test program whose one case leaves a name in the registry: the test main must name the
// case and fail the program although the case itself passes.
#include <gtest/gtest.h>

#include "nubra/ixo.h"

namespace {

IXO g_forgotten;

TEST(LeakingCase, RegistersAndForgets) {
    EXPECT_EQ(IXO::Register(L"ForgottenService", &g_forgotten), 1);
}

} // namespace
