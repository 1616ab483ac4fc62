// CString::Format with the export's conversions (%d, "% 10d", "% 10.6le") against a reference
// built on the C library's snprintf, adjusted to the conventions the program writes in: at least
// three exponent digits, and "nan" never signed. The input's first four bytes are the integer,
// the next eight the bits of the double, so infinities, NaNs and subnormal values all come up.
#include "platform/core/CString.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Printf(const char* format, auto value) {
    char text[512];
    const int length = std::snprintf(text, sizeof text, format, value);
    return std::string(text, static_cast<std::size_t>(length));
}

// The C library's exponent has two digits at least; the program's has three.
std::string ThreeDigitExponent(std::string text) {
    const std::size_t e = text.find('e');
    if (e == std::string::npos || e + 1 >= text.size())
        return text;
    std::size_t digits = e + 2;
    std::size_t count = text.size() - digits;
    if (count < 3)
        text.insert(digits, 3 - count, '0');
    return text;
}

std::string ReferenceExponent(double value) {
    std::string text = Printf("% 10.6le", value);
    const std::size_t nan = text.find("-nan");
    if (nan != std::string::npos)
        text.replace(nan, 4, " nan");
    // Finite values take more than the 10 places of the field, so widening needs no re-padding.
    return ThreeDigitExponent(text);
}

void Expect(const CString& actual, const std::string& expected, const char* format) {
    if (actual.str() == expected)
        return;
    std::fprintf(stderr, "%s: \"%s\", expected \"%s\"\n", format, actual.GetString(), expected.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 12)
        return 0;
    int integer = 0;
    double real = 0.0;
    std::memcpy(&integer, data, sizeof integer);
    std::memcpy(&real, data + 4, sizeof real);

    CString text;
    text.Format("%d", integer);
    Expect(text, Printf("%d", integer), "%d");
    text.Format("% 10d", integer);
    Expect(text, Printf("% 10d", integer), "% 10d");
    text.Format("% 10.6le", real);
    Expect(text, ReferenceExponent(real), "% 10.6le");
    // Appending works on what is already there.
    text.AppendFormat("\t% 10d", integer);
    Expect(text, ReferenceExponent(real) + "\t" + Printf("% 10d", integer), "AppendFormat");
    return 0;
}
