#include "platform/core/CString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {
struct FormatCase {
    const char* format;
    std::string actual;
    const char* expected;
};

template <class... Args> std::string Formatted(const char* format, Args... args) {
    CString text;
    text.Format(format, args...);
    return text.str();
}

void ExpectAll(std::initializer_list<FormatCase> cases) {
    for (const FormatCase& c : cases)
        EXPECT_EQ(c.actual, c.expected) << "format \"" << c.format << "\"";
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(CStringFormat, Exponent_HasAtLeastThreeDigitsAndTheWidthCountsThem) {
    ExpectAll({
        {"% 10.6le", Formatted("% 10.6le", 15.89793), " 1.589793e+001"},
        {"% 10.6le", Formatted("% 10.6le", -0.0025), "-2.500000e-003"},
        {"% 10.6le", Formatted("% 10.6le", 0.0), " 0.000000e+000"},
        {"% 10.6le", Formatted("% 10.6le", 6.25), " 6.250000e+000"},
        {"% 10.6le", Formatted("% 10.6le", 1e100), " 1.000000e+100"},
        {"% 10.6le", Formatted("% 10.6le", -1.5e-300), "-1.500000e-300"},
        {"% 10.6le", Formatted("% 10.6le", 9.9999999), " 1.000000e+001"},
        {"%e", Formatted("%e", 1.5), "1.500000e+000"},
        {"%E", Formatted("%E", 1.5), "1.500000E+000"},
        {"%.0e", Formatted("%.0e", 2.0), "2e+000"},
        {"%g", Formatted("%g", 1e10), "1e+010"},
        {"%g", Formatted("%g", 0.5), "0.5"},
        {"%16.3e", Formatted("%16.3e", 12345.0), "      1.234e+004"},
        {"%-12.2e|", Formatted("%-12.2e|", 12345.0), "1.23e+004   |"},
        {"%012.3e", Formatted("%012.3e", -1.5), "-01.500e+000"},
        {"%s=% 10.6le;", Formatted("%s=% 10.6le;", "a", 1.0), "a= 1.000000e+000;"},
    });
}

TEST(CStringFormat, Integers_SpaceFlagAndFieldWidth) {
    ExpectAll({
        {"% 10d", Formatted("% 10d", 0), "         0"},
        {"% 10d", Formatted("% 10d", 100), "       100"},
        {"% 10d", Formatted("% 10d", -100), "      -100"},
        {"% 10d", Formatted("% 10d", 2147483647), " 2147483647"},
        {"% 10lld", Formatted("% 10lld", -2147483649LL), "-2147483649"},
        {"%d\t", Formatted("%d\t", 12), "12\t"},
        {"Series%d_x", Formatted("\tSeries%d_x\tSeries%d_y", 3, 3), "\tSeries3_x\tSeries3_y"},
        {"%5s|%-4d|", Formatted("%5s|%-4d|", "ab", 7), "   ab|7   |"},
        {"100%%", Formatted("100%%"), "100%"},
    });
}

TEST(CStringFormat, Fixed_WidthIsAMinimum) {
    ExpectAll({
        {"%3lf", Formatted("%3lf", 7.0), "7.000000"},
        {"%3lf", Formatted("%3lf", 38.28427124746), "38.284271"},
        {"%3lf", Formatted("%3lf", -0.5), "-0.500000"},
        {"%.2f", Formatted("%.2f", 2.675), "2.67"},
        {"%10.3f", Formatted("%10.3f", 3.14159), "     3.142"},
    });
}

TEST(CStringFormat, OtherConversions_AsPrintfWrites) {
    ExpectAll({
        {"%05d", Formatted("%05d", -42), "-0042"},
        {"%+d", Formatted("%+d", 5), "+5"},
        {"%.3d", Formatted("%.3d", 5), "005"},
        {"%u", Formatted("%u", 4294967295u), "4294967295"},
        {"%lu", Formatted("%lu", 18446744073709551615ul), "18446744073709551615"},
        {"%hd", Formatted("%hd", 70000), "4464"},
        {"%hhu", Formatted("%hhu", 300), "44"},
        {"%#x", Formatted("%#x", 255), "0xff"},
        {"%08X", Formatted("%08X", 48879), "0000BEEF"},
        {"%o", Formatted("%o", 8), "10"},
        {"%3c|", Formatted("%3c|", 'A'), "  A|"},
        {"%.2s|%-4s|", Formatted("%.2s|%-4s|", "abcdef", "ab"), "ab|ab  |"},
        {"%e", Formatted("%e", -0.0), "-0.000000e+000"},
        {"% f", Formatted("% f", 2.5), " 2.500000"},
        {"%+.1f", Formatted("%+.1f", 0.25), "+0.2"},
        {"%f", Formatted("%f", 1e20), "100000000000000000000.000000"},
        {"%#.0e", Formatted("%#.0e", 2.0), "2.e+000"},
        {"%G", Formatted("%G", 1e-10), "1E-010"},
        {"%*d|%-*d|", Formatted("%*d|%-*d|", 4, 7, 3, 8), "   7|8  |"},
        {"%.*f", Formatted("%.*f", 2, 3.14159), "3.14"},
        {"%Le", Formatted("%Le", 1.5L), "1.500000e+000"},
    });
}

TEST(CStringFormat, NonFinite_WrittenAsWordsAndPaddedInTheField) {
    ExpectAll({
        {"% 10.6le", Formatted("% 10.6le", kInf), "       inf"},
        {"% 10.6le", Formatted("% 10.6le", -kInf), "      -inf"},
        {"% 10.6le", Formatted("% 10.6le", kNaN), "       nan"},
        {"% 10.6le", Formatted("% 10.6le", -kNaN), "       nan"},
        {"%3lf", Formatted("%3lf", kNaN), "nan"},
        {"%3lf", Formatted("%3lf", -kInf), "-inf"},
        {"%-6e|", Formatted("%-6e|", kInf), "inf   |"},
        {"%+e", Formatted("%+e", kInf), "+inf"},
        {"%08.2f", Formatted("%08.2f", -kInf), "    -inf"},
    });
}

TEST(CStringFormat, AppendFormat_KeepsTheTextBeforeIt) {
    CString line("1");
    line.AppendFormat("\t% 10d", -5);
    line.AppendFormat("\t% 10.6le", 0.25);
    EXPECT_EQ(line.str(), "1\t        -5\t 2.500000e-001");

    // An argument that points into the string being appended to must survive the string growing.
    CString grown(std::string(100, 'x'));
    grown.AppendFormat("|%s|%s", grown.GetString(), grown.GetString());
    EXPECT_EQ(grown.str(), std::string(100, 'x') + "|" + std::string(100, 'x') + "|" + std::string(100, 'x'));
}
