#pragma once
// Test programs that run part of a test in a child process of their own, one that may be killed
// at any moment: the test program starts itself with TALLYSCOPE_TEST_CHILD naming a routine, and
// its main() runs that routine instead of the tests.

#include <QProcess>
#include <QProcessEnvironment>

#include <optional>

#include <memory>

using ChildRoutine = int (*)();

// Registers a routine under a name, from a static object in the test's source file.
struct ChildRoutineRegistration {
    ChildRoutineRegistration(const char* name, ChildRoutine routine);
};

// Runs the routine named by TALLYSCOPE_TEST_CHILD, if any; its exit status, or nothing.
std::optional<int> RunRequestedChildRoutine();

// Starts this test program as a child running the named routine, with the extra environment.
std::unique_ptr<QProcess> StartChildRoutine(const char* name, const QProcessEnvironment& extra);
