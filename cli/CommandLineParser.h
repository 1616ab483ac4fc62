#pragma once
// The command line's options: which arguments start a run without windows, how each option's
// value is read, and the lines --help shows for them. Options are rows of one table; each takes
// its value as the next argument or after "=" ("--spacing 4", "--spacing=4"). Everything else is a
// picture; "--" ends the options.

#include "cli/CommandLineRequest.h"

#include <string>
#include <variant>
#include <vector>

struct CommandLineError {
    std::string message; // one line, without the program's name
};

class CommandLineParser {
public:
    // Whether the arguments after the program's name hold one of the options, so that the run
    // belongs to the command line rather than to the window.
    static bool NamesAnOption(const std::vector<std::string>& arguments);
    // The request the arguments make, or what is wrong with the first argument that is wrong. Only
    // the form is checked here; whether pixels lie on the picture is the run's business.
    static std::variant<CommandLineRequest, CommandLineError>
    Parse(const std::vector<std::string>& arguments);
    // The option lines of --help, each ended by a newline.
    static std::string OptionsHelp();
};
