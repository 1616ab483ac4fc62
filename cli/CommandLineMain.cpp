#include "cli/CommandLineMain.h"

#include "cli/CommandLineParser.h"
#include "cli/CommandLineRun.h"

#include <QCoreApplication>

#include <algorithm>
#include <string>
#include <vector>

namespace {
std::vector<std::string> ArgumentsAfterName(int argc, const char* const* argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}
} // namespace

bool IsCommandLineRun(int argc, const char* const* argv) {
    return CommandLineParser::NamesAnOption(ArgumentsAfterName(argc, argv));
}

int RunCommandLine(int argc, char** argv, std::ostream& errors) {
    auto parsed = CommandLineParser::Parse(ArgumentsAfterName(argc, argv));
    if (const auto* error = std::get_if<CommandLineError>(&parsed)) {
        errors << "tallyscope: " << error->message << '\n';
        return kCommandLineUsageError;
    }
    // Pictures are decoded with Qt's image plugins, which want an application object; the core one
    // loads no platform plugin at all, so no display is looked for and no window can appear.
    int qtArgc = 1;
    QCoreApplication application(qtArgc, argv);
    return CommandLineRun(std::get<CommandLineRequest>(parsed), errors).Execute();
}
