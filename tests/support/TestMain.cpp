// Every test program owns one QApplication, offscreen unless told otherwise, and a recovery folder
// of its own, so that no test reads or leaves work in the user's. A scripted modal host
// stays installed underneath every test, so that a message box nobody expected fails the test
// instead of waiting forever for a click; tests that drive real dialogs install QtModalHost.
#include "ChildProcess.h"
#include "ScriptedModalHost.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir state;
    if (qEnvironmentVariableIsEmpty("TALLYSCOPE_TEST_CHILD")) // a child works in its parent's
        qputenv("XDG_STATE_HOME", state.path().toUtf8());
    QApplication app(argc, argv);
    if (const std::optional<int> status = RunRequestedChildRoutine())
        return *status;
    ::testing::InitGoogleTest(&argc, argv);
    ScriptedModalHost strictHost;
    return RUN_ALL_TESTS();
}
