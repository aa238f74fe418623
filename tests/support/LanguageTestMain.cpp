// Entry of the GoogleTest programs without widgets whose texts depend on the language.
#include <gtest/gtest.h>

#include "tests/support/TestLanguage.h"

int main(int argc, char** argv) {
    if (!mxc9::testing::ChooseTestLanguage()) return 2;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
