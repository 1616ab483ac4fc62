// Every test program owns one QApplication, offscreen unless told otherwise. A scripted modal host
// stays installed underneath every test, so that a message box nobody expected fails the test
// instead of waiting forever for a click; tests that drive real dialogs install QtModalHost.
#include "ScriptedModalHost.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ScriptedModalHost strictHost;
    return RUN_ALL_TESTS();
}
