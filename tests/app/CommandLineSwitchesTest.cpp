#include "app/CommandLineSwitches.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

TEST(CommandLineSwitches, HelpAndVersion_AnsweredAloneEverythingElseLeftToTheFramework) {
    const struct {
        std::vector<const char*> arguments; // after the program's name
        bool answered;
        const char* printed; // the start of the text
    } cases[] = {
        {{"--version"}, true, "Tallyscope 1.2.0.0\n"},
        {{"--help"}, true, "Usage: tallyscope [PICTURE]\n"},
        {{"chart.bmp", "--version"}, true, "Tallyscope 1.2.0.0\n"},
        {{"--help", "--version"}, true, "Usage: "}, // the first switch counts
        {{"--version", "--help"}, true, "Tallyscope 1.2.0.0\n"},
        {{}, false, ""},
        {{"chart.bmp"}, false, ""},
        {{"-version"}, false, ""}, // a framework flag, which it ignores
        {{"--Help"}, false, ""},   // switches are spelt exactly
        {{"--help=1"}, false, ""},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"tallyscope"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        std::ostringstream out;
        const std::optional<int> status =
            AnswerInformationSwitches(static_cast<int>(argv.size()), argv.data(), out);
        const std::string label = c.arguments.empty() ? "(none)" : c.arguments.front();
        EXPECT_EQ(status.has_value(), c.answered) << label;
        if (status) {
            EXPECT_EQ(*status, 0) << label;
        }
        EXPECT_EQ(out.str().rfind(c.printed, 0), 0u) << label << ": " << out.str();
        if (!c.answered) {
            EXPECT_TRUE(out.str().empty()) << label;
        }
    }
}
