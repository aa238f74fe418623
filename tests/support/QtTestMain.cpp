// Entry of the GoogleTest programs that use real widgets: one QApplication for the run.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/TestLanguage.h"

int main(int argc, char** argv) {
    if (!mxc9::testing::ChooseTestLanguage()) return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
