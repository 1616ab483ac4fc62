#include "app/CommandLineSwitches.h"

#include "cli/CommandLineParser.h"
#include "platform/res/AfxResource.h"
#include "res/Resource.h"

#include <string_view>

namespace {
constexpr std::string_view kUsage =
    "Usage: tallyscope [PICTURE]\n"
    "       tallyscope --origin PX,PY=X,Y --x-axis PX,PY=X --y-axis PX,PY=Y [--log-x] [--log-y]\n"
    "                  [--trace PX,PY]... [--trace-colour RRGGBB]... [--spacing N]\n"
    "                  [--page N] [--dpi D] [--save-work FILE] --export OUT.dat PICTURE\n"
    "       tallyscope --work FILE [--trace...] --export DIR PICTURE...\n"
    "Reads the values of plotted curves off a chart picture (BMP, JPEG, GIF, PNG, ... or a page of a\n"
    "PDF, whose page and resolution are asked for): calibrate the axes with three reference points,\n"
    "pick the curve points and export them as a tab-separated .dat file. Without PICTURE the program\n"
    "starts with no picture open.\n"
    "\n"
    "The second form runs without a window or a display: it calibrates the picture with the three\n"
    "reference points (picture pixels, x to the right and y down, with the values the axis dialogs\n"
    "take), extracts one series per --trace or --trace-colour in the order given, and writes the\n"
    "data file the window's export would write after the same steps. A problem is named on stderr\n"
    "and the exit status is not 0; the file is then left as it was. A PDF's page (--page, default 1)\n"
    "is rendered at --dpi dots per inch (default 300); pixels count on that rendering.\n"
    "\n"
    "The third form applies the calibration and the traces by colour of a work file (saved with\n"
    "--save-work or in the window) to every picture given, in parallel, and writes\n"
    "DIR/<picture name>.dat for each; stderr gets a line per picture and a summary, a failing\n"
    "picture is named and the others go on, and the exit status is 0 only when all succeeded.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

// "Tallyscope 1.2.0.0": the application's name and the file version of its version resource.
CString VersionLine() {
    CString line = AfxLoadString(AFX_IDS_APP_TITLE);
    if (const VersionResource* version = AfxGetResourceModule().version)
        line += " " + version->FileVersionText();
    return line;
}
} // namespace

std::optional<int> AnswerInformationSwitches(int argc, const char* const* argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            out << kUsage << CommandLineParser::OptionsHelp();
            return 0;
        }
        if (argument == "--version") {
            out << VersionLine().str() << '\n';
            return 0;
        }
    }
    return std::nullopt;
}
