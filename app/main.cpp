// The program's entry: the framework's start-up around the one application object.

#include "app/CTallyscopeApp.h"
#include "app/CommandLineSwitches.h"
#include "cli/CommandLineMain.h"

#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv) {
    // --help and --version are answered before anything needs a display.
    if (const std::optional<int> status = AnswerInformationSwitches(argc, argv, std::cout))
        return *status;
    // A run of the command line's options (a calibration, traces, an export) makes no window.
    if (IsCommandLineRun(argc, argv))
        return RunCommandLine(argc, argv, std::cerr);
    // The application object lives in the library; taking its address here links its source file
    // into the program, where AfxWinMain finds it through AfxGetApp.
    [[maybe_unused]] CWinApp* volatile application = &theApp;
    // The desktop entry's id, before the first window: Wayland takes it as the application id.
    QGuiApplication::setDesktopFileName(QStringLiteral(TALLYSCOPE_APP_ID));
    return AfxWinMain(argc, argv);
}
