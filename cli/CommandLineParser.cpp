#include "cli/CommandLineParser.h"

#include "platform/ui/CDataExchange.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>
#include <string_view>

namespace {

using Problem = std::optional<std::string>; // what is wrong with a value, or nothing

// ---- values ---------------------------------------------------------------------------------------

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        parts.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Numbers are read as the dialogs read them, so a value means the same typed in either place.
Problem ReadWhole(const std::string& text, int& value) {
    if (!AfxParseInt(CString(text), value))
        return Quoted(text) + " is not a whole number";
    return std::nullopt;
}

Problem ReadNumber(const std::string& text, double& value) {
    if (!AfxParseDouble(CString(text), value))
        return Quoted(text) + " is not a number";
    return std::nullopt;
}

// "PX,PY"
Problem ReadPixel(const std::string& text, QPoint& pixel) {
    const std::vector<std::string> parts = Split(text, ',');
    if (parts.size() != 2)
        return Quoted(text) + " is not a pixel PX,PY";
    int x = 0;
    int y = 0;
    if (Problem problem = ReadWhole(parts[0], x))
        return problem;
    if (Problem problem = ReadWhole(parts[1], y))
        return problem;
    pixel = QPoint(x, y);
    return std::nullopt;
}

// "PX,PY=V" or "PX,PY=X,Y": a pixel and as many values as its reference point takes.
Problem ReadReference(const std::string& text, std::size_t valueCount, std::vector<double>& values,
                      QPoint& pixel) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return Quoted(text) + (valueCount == 2 ? " is not PX,PY=X,Y" : " is not PX,PY=VALUE");
    if (Problem problem = ReadPixel(text.substr(0, equals), pixel))
        return problem;
    const std::vector<std::string> parts = Split(std::string_view(text).substr(equals + 1), ',');
    if (parts.size() != valueCount)
        return Quoted(text.substr(equals + 1)) +
               (valueCount == 2 ? " is not two values X,Y" : " is not one value");
    values.assign(valueCount, 0.0);
    for (std::size_t i = 0; i < valueCount; ++i) {
        if (Problem problem = ReadNumber(parts[i], values[i]))
            return problem;
    }
    return std::nullopt;
}

Problem ReadCount(const std::string& text, std::optional<int>& count) {
    int value = 0;
    if (Problem problem = ReadWhole(text, value))
        return problem;
    if (value <= 0)
        return Quoted(text) + " is not above 0";
    count = value;
    return std::nullopt;
}

Problem ReadPositive(const std::string& text, double& value, bool zeroAllowed) {
    if (Problem problem = ReadNumber(text, value))
        return problem;
    if (value < 0.0 || (value == 0.0 && !zeroAllowed))
        return Quoted(text) + (zeroAllowed ? " is negative" : " is not above 0");
    return std::nullopt;
}

// "RRGGBB", with or without "#".
Problem ReadColour(const std::string& text, QRgb& colour) {
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    const bool hex = digits.size() == 6 && std::all_of(digits.begin(), digits.end(), [](char c) {
                         return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
                     });
    if (!hex)
        return Quoted(text) + " is not a colour RRGGBB";
    colour = static_cast<QRgb>(std::stoul(digits, nullptr, 16));
    return std::nullopt;
}

Problem ReadPath(const std::string& text, std::string& path) {
    if (text.empty())
        return std::string("an empty path");
    path = text;
    return std::nullopt;
}

// ---- the options ----------------------------------------------------------------------------------

struct OptionRow {
    const char* name;
    const char* valueName; // null for a switch
    const char* help;
    bool repeatable;
    Problem (*apply)(CommandLineRequest& request, const std::string& value, const std::string& typed);
};

// Which chart values a reference point is typed with: the origin both, an axis point its own axis's.
enum class ReferenceValues { Both, X, Y };

Problem ReadReferenceOption(const std::string& value, ReferenceValues which, std::optional<ReferenceOption>& target) {
    std::vector<double> values;
    ReferenceOption reference;
    if (Problem problem = ReadReference(value, which == ReferenceValues::Both ? 2 : 1, values, reference.pixel))
        return problem;
    if (which != ReferenceValues::Y)
        reference.valueX = values[0];
    if (which != ReferenceValues::X)
        reference.valueY = values.back();
    target = reference;
    return std::nullopt;
}

Problem ApplyOrigin(CommandLineRequest& request, const std::string& value, const std::string&) {
    return ReadReferenceOption(value, ReferenceValues::Both, request.origin);
}

Problem ApplyXAxis(CommandLineRequest& request, const std::string& value, const std::string&) {
    return ReadReferenceOption(value, ReferenceValues::X, request.xAxis);
}

Problem ApplyYAxis(CommandLineRequest& request, const std::string& value, const std::string&) {
    return ReadReferenceOption(value, ReferenceValues::Y, request.yAxis);
}

Problem ApplyTrace(CommandLineRequest& request, const std::string& value, const std::string& typed) {
    TraceOption trace{TraceOption::Start::Pixel, {}, 0, typed};
    if (Problem problem = ReadPixel(value, trace.pixel))
        return problem;
    request.traces.push_back(trace);
    return std::nullopt;
}

Problem ApplyTraceColour(CommandLineRequest& request, const std::string& value, const std::string& typed) {
    TraceOption trace{TraceOption::Start::Colour, {}, 0, typed};
    if (Problem problem = ReadColour(value, trace.colour))
        return problem;
    request.traces.push_back(trace);
    return std::nullopt;
}

constexpr OptionRow kOptions[] = {
    {"--origin", "PX,PY=X,Y", "the origin: its picture pixel and its chart values", false, &ApplyOrigin},
    {"--x-axis", "PX,PY=X", "a point on the X axis: its pixel and its X value", false, &ApplyXAxis},
    {"--y-axis", "PX,PY=Y", "a point on the Y axis: its pixel and its Y value", false, &ApplyYAxis},
    {"--log-x", nullptr, "the X axis is logarithmic (base 10)", true,
     [](CommandLineRequest& request, const std::string&, const std::string&) -> Problem {
         request.logX = true;
         return std::nullopt;
     }},
    {"--log-y", nullptr, "the Y axis is logarithmic (base 10)", true,
     [](CommandLineRequest& request, const std::string&, const std::string&) -> Problem {
         request.logY = true;
         return std::nullopt;
     }},
    {"--trace", "PX,PY", "the curve through this pixel becomes the next series", true, &ApplyTrace},
    {"--trace-colour", "RRGGBB", "the longest curve of this colour becomes the next series", true,
     &ApplyTraceColour},
    {"--spacing", "N", "pixels of curve between two points (default 5)", false,
     [](CommandLineRequest& request, const std::string& value, const std::string&) {
         request.settingsGiven = true;
         return ReadPositive(value, request.settings.pointSpacing, false);
     }},
    {"--tolerance", "DE", "colour difference (CIELAB Delta E) still taken as the curve's (default 20)", false,
     [](CommandLineRequest& request, const std::string& value, const std::string&) {
         request.settingsGiven = true;
         return ReadPositive(value, request.settings.colourTolerance, false);
     }},
    {"--gap", "N", "longest gap along a curve that is bridged, in pixels (default 24)", false,
     [](CommandLineRequest& request, const std::string& value, const std::string&) {
         request.settingsGiven = true;
         return ReadPositive(value, request.settings.largestGap, true);
     }},
    {"--inside-axes", nullptr, "traces stay inside the box the three reference points span", true,
     [](CommandLineRequest& request, const std::string&, const std::string&) -> Problem {
         request.insideReferenceBox = true;
         request.settingsGiven = true;
         return std::nullopt;
     }},
    {"--page", "N", "the page of a PDF picture that is digitised, from 1 (default: the --work file's page, else 1)",
     false,
     [](CommandLineRequest& request, const std::string& value, const std::string&) {
         return ReadCount(value, request.pdfPage);
     }},
    {"--dpi", "D", "the resolution a PDF page is rendered at, in dots per inch (default: the --work file's, else 300)",
     false,
     [](CommandLineRequest& request, const std::string& value, const std::string&) {
         return ReadCount(value, request.pdfDpi);
     }},
    {"--export", "OUT.dat|DIR", "writes the data file, exactly as the window's export writes it; with several "
     "pictures, DIR/<picture name>.dat for each", false,
     [](CommandLineRequest& request, const std::string& value, const std::string&) {
         return ReadPath(value, request.exportPath);
     }},
    {"--work", "FILE", "takes the calibration and the traces by colour from a work file (.tallyscope.json)",
     false,
     [](CommandLineRequest& request, const std::string& value, const std::string&) {
         return ReadPath(value, request.workPath);
     }},
    {"--save-work", "FILE", "writes the run's work (calibration, series, traces) to a work file", false,
     [](CommandLineRequest& request, const std::string& value, const std::string&) {
         return ReadPath(value, request.saveWorkPath);
     }},
};

// The row an argument names, exactly or before "=".
const OptionRow* FindOption(std::string_view argument) {
    const std::string_view name = argument.substr(0, argument.find('='));
    for (const OptionRow& row : kOptions) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

// What must be there once every argument has been read.
std::optional<CommandLineError> CheckComplete(const CommandLineRequest& request) {
    // A work file brings the calibration; options given beside it change it.
    const bool fromWork = !request.workPath.empty();
    const std::pair<bool, const char*> required[] = {
        {fromWork || request.origin.has_value(), "--origin"},
        {fromWork || request.xAxis.has_value(), "--x-axis"},
        {fromWork || request.yAxis.has_value(), "--y-axis"},
        {!request.exportPath.empty() || !request.saveWorkPath.empty(), "--export"}};
    for (const auto& [given, name] : required) {
        if (!given)
            return CommandLineError{std::string(name) + " is missing"};
    }
    if (request.pictures.empty())
        return CommandLineError{"no picture given"};
    if (request.pictures.size() > 1 && !request.saveWorkPath.empty())
        return CommandLineError{"--save-work takes the work of one picture: " + Quoted(request.pictures[1]) +
                                " is a second"};
    if (request.pictures.size() > 1 && request.exportPath.empty())
        return CommandLineError{"--export DIR is missing for the pictures' data files"};
    return std::nullopt;
}

} // namespace

bool CommandLineParser::NamesAnOption(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--")
            return false;
        if (FindOption(argument) != nullptr)
            return true;
    }
    return false;
}

std::variant<CommandLineRequest, CommandLineError>
CommandLineParser::Parse(const std::vector<std::string>& arguments) {
    CommandLineRequest request;
    std::set<std::string> seen;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            request.pictures.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionRow* row = FindOption(argument);
        if (row == nullptr)
            return CommandLineError{"unknown option " + argument + " (see --help)"};
        const std::size_t equals = argument.find('=');
        std::string value;
        if (row->valueName == nullptr) {
            if (equals != std::string::npos)
                return CommandLineError{std::string(row->name) + " takes no value"};
        } else if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size() && FindOption(arguments[i + 1]) == nullptr) {
            value = arguments[++i];
        } else {
            return CommandLineError{std::string(row->name) + " needs a value " + row->valueName};
        }
        if (!row->repeatable && !seen.insert(row->name).second)
            return CommandLineError{std::string(row->name) + " is given twice"};
        const std::string typed =
            row->valueName != nullptr ? std::string(row->name) + " " + value : row->name;
        if (Problem problem = row->apply(request, value, typed))
            return CommandLineError{typed + ": " + *problem};
    }
    if (std::optional<CommandLineError> missing = CheckComplete(request))
        return *missing;
    return request;
}

std::string CommandLineParser::OptionsHelp() {
    std::string help;
    for (const OptionRow& row : kOptions) {
        std::string left = std::string("  ") + row.name;
        if (row.valueName != nullptr)
            left += std::string(" ") + row.valueName;
        left.resize(std::max<std::size_t>(left.size() + 2, 28), ' ');
        help += left + row.help + "\n";
    }
    return help;
}
