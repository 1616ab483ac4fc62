#pragma once
// The command line's entry, called by main() before anything needs a display: whether the
// arguments are the command line's, and the run itself, with Qt's core application only, so that
// no window can appear and DISPLAY and WAYLAND_DISPLAY do not matter.

#include <ostream>

// Whether the arguments after the program's name hold one of the command line's options.
bool IsCommandLineRun(int argc, const char* const* argv);
// Parses the arguments and carries them out; the exit status. Messages go to errors, one line each.
int RunCommandLine(int argc, char** argv, std::ostream& errors);

// Exit status for arguments that do not make a request (as for a usage error).
inline constexpr int kCommandLineUsageError = 2;
