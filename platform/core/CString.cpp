#include "platform/core/CString.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

// Numbers are converted with std::to_chars where it gives exactly what printf gives (it is
// specified to), because the data export formats millions of them and glibc's printf is several
// times slower; the rarer conversions (alternate forms, integer precision, hexadecimal, octal)
// still go through snprintf.

namespace {

// One printf conversion, split into its parts.
struct Conversion {
    std::string flags;
    int width = -1;     // -1: none
    int precision = -1; // -1: none
    std::string length; // hh, h, l, ll, L, z, j, t
    char type = 0;

    bool Has(char flag) const { return flags.find(flag) != std::string::npos; }
};

// Room for any double in fixed notation at the default precision, and more.
constexpr std::size_t kNumberBuffer = 512;

std::string PrintOne(const std::string& pattern, auto value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, pattern.c_str(), value);
    if (n < 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof small)
        return std::string(small, static_cast<std::size_t>(n));
    std::vector<char> big(static_cast<std::size_t>(n) + 1);
    std::snprintf(big.data(), big.size(), pattern.c_str(), value);
    return std::string(big.data(), static_cast<std::size_t>(n));
}

// Appends a converted number padded to the field width the way printf does: spaces in front,
// spaces behind with '-', zeros after the sign with '0'.
void AppendPadded(std::string& out, std::string_view body, const Conversion& c, bool allowZeroPad) {
    if (c.width < 0 || static_cast<int>(body.size()) >= c.width) {
        out += body;
        return;
    }
    const std::size_t missing = static_cast<std::size_t>(c.width) - body.size();
    if (c.Has('-')) {
        out += body;
        out.append(missing, ' ');
    } else if (allowZeroPad && c.Has('0')) {
        const std::size_t signEnd =
            (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
        out += body.substr(0, signEnd);
        out.append(missing, '0');
        out += body.substr(signEnd);
    } else {
        out.append(missing, ' ');
        out += body;
    }
}

// glibc writes two exponent digits where the Windows runtime writes at least three. The text
// must have room for one more character.
std::size_t WidenExponent(char* text, std::size_t length) {
    const char* e = static_cast<const char*>(std::memchr(text, 'e', length));
    if (e == nullptr)
        e = static_cast<const char*>(std::memchr(text, 'E', length));
    if (e == nullptr || e + 1 >= text + length || (e[1] != '+' && e[1] != '-'))
        return length;
    const std::size_t digits = static_cast<std::size_t>(e - text) + 2; // past the sign
    std::size_t count = 0;
    while (digits + count < length && std::isdigit(static_cast<unsigned char>(text[digits + count])))
        ++count;
    if (count >= 3)
        return length;
    const std::size_t added = 3 - count;
    std::memmove(text + digits + added, text + digits, length - digits);
    std::memset(text + digits, '0', added);
    return length + added;
}

// The sign printf puts before a non-negative number: '+' or ' ' as the flags ask, else none.
std::size_t PutPositiveSign(char* text, const Conversion& c) {
    if (c.Has('+')) {
        *text = '+';
        return 1;
    }
    if (c.Has(' ')) {
        *text = ' ';
        return 1;
    }
    return 0;
}

void AppendNonFinite(std::string& out, const Conversion& c, double value) {
    char text[8];
    std::size_t length = 0;
    if (std::isnan(value)) {
        length = PutPositiveSign(text, c);
    } else if (value < 0) {
        text[length++] = '-';
    } else {
        length = PutPositiveSign(text, c);
    }
    std::memcpy(text + length, std::isnan(value) ? "nan" : "inf", 3);
    AppendPadded(out, std::string_view(text, length + 3), c, false);
}

// e, E, f, F without the alternate form: to_chars gives printf's digits.
bool AppendFloatingFast(std::string& out, const Conversion& c, double value) {
    const bool exponent = c.type == 'e' || c.type == 'E';
    if (c.Has('#') || !(exponent || c.type == 'f' || c.type == 'F'))
        return false;
    char text[kNumberBuffer];
    // One character is kept free for the widened exponent.
    char* const limit = text + sizeof text - 1;
    const std::size_t sign = std::signbit(value) ? 0 : PutPositiveSign(text, c);
    const auto [end, error] = std::to_chars(
        text + sign, limit, value, exponent ? std::chars_format::scientific : std::chars_format::fixed,
        c.precision >= 0 ? c.precision : 6);
    if (error != std::errc())
        return false;
    std::size_t length = static_cast<std::size_t>(end - text);
    if (exponent) {
        length = WidenExponent(text, length);
        if (c.type == 'E')
            std::replace(text, text + length, 'e', 'E');
    }
    AppendPadded(out, std::string_view(text, length), c, true);
    return true;
}

void AppendFloating(std::string& out, const Conversion& c, double value) {
    if (!std::isfinite(value)) {
        AppendNonFinite(out, c, value);
        return;
    }
    if (AppendFloatingFast(out, c, value))
        return;
    // Convert without a width, fix the exponent, then pad: the width counts the widened exponent.
    std::string pattern = "%";
    for (char f : c.flags)
        if (f != '-' && f != '0')
            pattern += f;
    if (c.precision >= 0)
        pattern += "." + std::to_string(c.precision);
    pattern += c.type;
    std::string body = PrintOne(pattern, value);
    if (c.type == 'e' || c.type == 'E' || c.type == 'g' || c.type == 'G') {
        body.push_back('\0');
        body.resize(WidenExponent(body.data(), body.size() - 1));
    }
    AppendPadded(out, body, c, true);
}

// An integer argument read at its length, kept with its signedness.
struct IntegerArgument {
    long long value = 0;
    bool isSigned = true;
};

IntegerArgument ReadInteger(const Conversion& c, va_list& args) {
    const bool isSigned = c.type == 'd' || c.type == 'i';
    IntegerArgument arg{0, isSigned};
    if (c.length == "ll" || c.length == "j") {
        arg.value = va_arg(args, long long);
    } else if (c.length == "l" || c.length == "z" || c.length == "t") {
        const long v = va_arg(args, long);
        arg.value = isSigned ? v : static_cast<long long>(static_cast<unsigned long>(v));
    } else {
        const int v = va_arg(args, int);
        if (c.length == "hh")
            arg.value = isSigned ? static_cast<signed char>(v) : static_cast<unsigned char>(v);
        else if (c.length == "h")
            arg.value = isSigned ? static_cast<short>(v) : static_cast<unsigned short>(v);
        else
            arg.value = isSigned ? v : static_cast<long long>(static_cast<unsigned>(v));
    }
    return arg;
}

void AppendInteger(std::string& out, const Conversion& c, va_list& args) {
    const IntegerArgument arg = ReadInteger(c, args);
    const bool decimal = c.type == 'd' || c.type == 'i' || c.type == 'u';
    if (decimal && c.precision < 0 && !c.Has('#')) {
        char text[32];
        std::size_t sign = 0;
        std::to_chars_result result{};
        if (arg.isSigned) {
            sign = arg.value < 0 ? 0 : PutPositiveSign(text, c);
            result = std::to_chars(text + sign, text + sizeof text, arg.value);
        } else {
            result = std::to_chars(text, text + sizeof text, static_cast<unsigned long long>(arg.value));
        }
        AppendPadded(out, std::string_view(text, static_cast<std::size_t>(result.ptr - text)), c, true);
        return;
    }
    std::string pattern = "%" + c.flags;
    if (c.width >= 0)
        pattern += std::to_string(c.width);
    if (c.precision >= 0)
        pattern += "." + std::to_string(c.precision);
    pattern += "ll";
    pattern += c.type;
    out +=
        arg.isSigned ? PrintOne(pattern, arg.value) : PrintOne(pattern, static_cast<unsigned long long>(arg.value));
}

void AppendString(std::string& out, const Conversion& c, const char* text) {
    if (text == nullptr)
        text = "(null)";
    std::size_t length = std::strlen(text);
    if (c.precision >= 0)
        length = std::min(length, static_cast<std::size_t>(c.precision));
    AppendPadded(out, std::string_view(text, length), c, false);
}

} // namespace

std::string AfxFormatV(const char* format, va_list args) {
    std::string out;
    AfxAppendFormatV(out, format, args);
    return out;
}

void AfxAppendFormatV(std::string& out, const char* format, va_list argsIn) {
    va_list args;
    va_copy(args, argsIn);
    for (const char* p = format; *p;) {
        if (*p != '%') {
            const char* next = std::strchr(p, '%');
            const std::size_t run = next != nullptr ? static_cast<std::size_t>(next - p) : std::strlen(p);
            out.append(p, run);
            p += run;
            continue;
        }
        ++p;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        Conversion c;
        while (*p && std::strchr("-+ #0", *p))
            c.flags += *p++;
        if (*p == '*') {
            c.width = va_arg(args, int);
            if (c.width < 0) {
                c.flags += '-';
                c.width = -c.width;
            }
            ++p;
        } else if (std::isdigit(static_cast<unsigned char>(*p))) {
            c.width = 0;
            while (std::isdigit(static_cast<unsigned char>(*p)))
                c.width = c.width * 10 + (*p++ - '0');
        }
        if (*p == '.') {
            ++p;
            c.precision = 0;
            if (*p == '*') {
                c.precision = va_arg(args, int);
                ++p;
            } else {
                while (std::isdigit(static_cast<unsigned char>(*p)))
                    c.precision = c.precision * 10 + (*p++ - '0');
            }
        }
        while (*p && std::strchr("hlLzjt", *p))
            c.length += *p++;
        c.type = *p;
        if (*p)
            ++p;
        switch (c.type) {
        case 'c': {
            const char ch = static_cast<char>(va_arg(args, int));
            AppendPadded(out, std::string_view(&ch, 1), c, false);
            break;
        }
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            AppendInteger(out, c, args);
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
            AppendFloating(out, c,
                           c.length == "L" ? static_cast<double>(va_arg(args, long double))
                                           : va_arg(args, double));
            break;
        case 's':
            AppendString(out, c, va_arg(args, const char*));
            break;
        case 'p':
            out += PrintOne("%p", va_arg(args, void*));
            break;
        default:
            out += '%';
            if (c.type)
                out += c.type;
            break;
        }
    }
    va_end(args);
}

std::string AfxFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string result = AfxFormatV(format, args);
    va_end(args);
    return result;
}

void CString::FormatV(const char* format, va_list args) {
    m_text = AfxFormatV(format, args);
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    m_text = AfxFormatV(format, args);
    va_end(args);
}

// Formatted apart first: an argument may point into this very string, which appending could move.
void CString::AppendFormat(const char* format, ...) {
    std::string piece;
    va_list args;
    va_start(args, format);
    AfxAppendFormatV(piece, format, args);
    va_end(args);
    m_text += piece;
}
