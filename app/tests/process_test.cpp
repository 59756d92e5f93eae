// The end of the process.

#include "app/process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "signin/signin.h"

namespace {

void ReportReleasedTexts() {
    std::fprintf(stderr, "released=%d\n", CurrentUserName.empty() && CurrentUserPassword.empty());
}

TEST(EndProcess, RunsTheCleanupAndExitsWithTheCode) {
    EXPECT_EXIT(
        {
            CurrentUserName = "admin";
            CurrentUserPassword = "secret";
            std::atexit(ReportReleasedTexts);
            EndProcess(0);
        },
        ::testing::ExitedWithCode(0), "released=1");
    EXPECT_EXIT(EndProcess(3), ::testing::ExitedWithCode(3), "");
}

}  // namespace
