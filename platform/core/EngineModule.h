#pragma once
// The parts of the program that stand on a large library of their own, PDF pages on poppler and the
// curve tracer on OpenCV, are built as modules and loaded the first time they are needed rather
// than at every launch: each of those libraries pulls in a dozen more, and mapping and relocating
// them all took about 20 ms of every start-up before the window could show, for users who may
// never open a PDF or trace a curve.
//
// A module is looked for beside the program and one folder up (a build tree, its tests and
// benchmarks), then in the installation's module folder. Once loaded it stays for the rest of the
// run. Safe to call from any thread.

#include <QString>
#include <QStringList>

class EngineModule {
public:
    // The module's function of that name, loading the module first if need be; null when the
    // module or the function cannot be had, with why in error when given.
    static void* Function(const char* moduleName, const char* functionName, QString* error = nullptr);
    // Whether the module is loaded now (without loading it).
    static bool IsLoaded(const char* moduleName);
    // The folders searched, in order.
    static QStringList Folders();
};
