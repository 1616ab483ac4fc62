// The dialogs' number fields as DDX_Text reads them, against a reference written from the rule
// the fields follow: an int is an optional sign and decimal digits within 32 bits; a double is a
// finite decimal number in fixed or exponent notation; spaces, tabs and line ends around either
// are allowed, nothing else. The reference reads the value with the C library in the C locale.
#include "platform/ui/CDataExchange.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

std::size_t Digits(std::string_view s, std::size_t at) {
    std::size_t end = at;
    while (end < s.size() && IsDigit(s[end]))
        ++end;
    return end - at;
}

// The reference int: sign, digits, value within 32 bits.
bool ReferenceInt(std::string_view text, int& value) {
    std::string_view s = Trim(text);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || Digits(s, 0) != s.size())
        return false;
    long long magnitude = 0;
    for (char c : s) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL)
            return false;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > 2147483647LL)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

// The reference double: [sign] (digits [. [digits]] | . digits) [(e|E) [sign] digits], finite.
bool ReferenceDouble(std::string_view text, double& value) {
    const std::string_view s = Trim(text);
    std::size_t at = 0;
    if (at < s.size() && (s[at] == '+' || s[at] == '-'))
        ++at;
    const std::size_t whole = Digits(s, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < s.size() && s[at] == '.') {
        ++at;
        fraction = Digits(s, at);
        at += fraction;
    }
    if (whole + fraction == 0)
        return false;
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
        ++at;
        if (at < s.size() && (s[at] == '+' || s[at] == '-'))
            ++at;
        const std::size_t exponent = Digits(s, at);
        if (exponent == 0)
            return false;
        at += exponent;
    }
    if (at != s.size())
        return false;
    const std::string copy(s);
    errno = 0;
    const double parsed = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

[[noreturn]] void Report(const char* what, std::string_view text) {
    std::fprintf(stderr, "%s differs from the reference for \"%.*s\"\n", what, static_cast<int>(text.size()),
                 text.data());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (text.find('\0') != std::string_view::npos)
        return 0; // a control's text never holds a NUL
    const CString field{std::string(text)};

    int parsedInt = 12345;
    int expectedInt = 0;
    const bool intAccepted = AfxParseInt(field, parsedInt);
    if (intAccepted != ReferenceInt(text, expectedInt) || (intAccepted && parsedInt != expectedInt))
        Report("integer", text);
    if (!intAccepted && parsedInt != 12345)
        Report("a refused integer changed the value", text);

    double parsedDouble = 0.0;
    double expectedDouble = 0.0;
    const bool doubleAccepted = AfxParseDouble(field, parsedDouble);
    if (doubleAccepted != ReferenceDouble(text, expectedDouble) ||
        (doubleAccepted && std::memcmp(&parsedDouble, &expectedDouble, sizeof(double)) != 0))
        Report("floating-point number", text);

    // What a field shows of a value it accepted (15 significant digits) is accepted in turn and
    // shows the same again, so confirming a dialog unchanged changes a value once at most.
    if (doubleAccepted) {
        const CString shown = AfxFormatDouble(parsedDouble);
        double again = 0.0;
        if (!AfxParseDouble(shown, again) || AfxFormatDouble(again) != shown)
            Report("a shown value read back", text);
    }
    return 0;
}
