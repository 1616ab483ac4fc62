#pragma once
// The two switches people type in a terminal, answered before the application object starts so
// that they open no window and need no display: --help prints how to start the program, --version
// its name with the version of its version resource. Every other argument is left to the
// framework's command-line parsing.

#include <optional>
#include <ostream>

// When one of the arguments after the program's name is --help or --version (the first of them
// counts), writes its text to out and gives the status to exit with; otherwise gives nothing and
// the program starts as usual.
std::optional<int> AnswerInformationSwitches(int argc, const char* const* argv, std::ostream& out);
