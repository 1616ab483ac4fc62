#include "platform/CString.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// One conversion specification, split into its parts.
struct Conversion {
    std::string flags;
    int width = -1;     // -1: none
    int precision = -1; // -1: none
    std::string length; // h, l, ll, L, z, j, t
    char type = 0;
};

std::string PrintOne(const std::string& spec, auto value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (n < 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof small)
        return std::string(small, static_cast<std::size_t>(n));
    std::vector<char> big(static_cast<std::size_t>(n) + 1);
    std::snprintf(big.data(), big.size(), spec.c_str(), value);
    return std::string(big.data(), static_cast<std::size_t>(n));
}

// Pads a converted number to the field width the way printf does: spaces in front, spaces behind
// with '-', zeros after the sign (and any 0x prefix) with '0'.
std::string PadToWidth(std::string body, const Conversion& c, bool allowZeroPad) {
    if (c.width < 0 || static_cast<int>(body.size()) >= c.width)
        return body;
    const std::size_t missing = static_cast<std::size_t>(c.width) - body.size();
    if (c.flags.find('-') != std::string::npos)
        return body + std::string(missing, ' ');
    if (allowZeroPad && c.flags.find('0') != std::string::npos) {
        std::size_t signEnd = (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) ? 1 : 0;
        return body.insert(signEnd, missing, '0');
    }
    return std::string(missing, ' ') + body;
}

// glibc writes two exponent digits where the Windows runtime writes at least three.
void WidenExponent(std::string& text) {
    std::size_t e = text.find_first_of("eE");
    if (e == std::string::npos || e + 1 >= text.size())
        return;
    std::size_t digits = e + 2; // past the sign
    if (text[e + 1] != '+' && text[e + 1] != '-')
        return;
    std::size_t count = 0;
    while (digits + count < text.size() && std::isdigit(static_cast<unsigned char>(text[digits + count])))
        ++count;
    if (count < 3)
        text.insert(digits, 3 - count, '0');
}

std::string FormatFloating(const Conversion& c, double value) {
    std::string body;
    if (!std::isfinite(value)) {
        if (std::isnan(value))
            body = "nan";
        else
            body = value < 0 ? "-inf" : "inf";
        if (body[0] != '-' && c.flags.find('+') != std::string::npos)
            body.insert(0, 1, '+');
        else if (body[0] != '-' && c.flags.find(' ') != std::string::npos)
            body.insert(0, 1, ' ');
        return PadToWidth(body, c, false);
    }
    // Convert without a width, fix the exponent, then pad: the width counts the widened exponent.
    std::string spec = "%";
    for (char f : c.flags)
        if (f != '-' && f != '0')
            spec += f;
    if (c.precision >= 0)
        spec += "." + std::to_string(c.precision);
    spec += c.type;
    body = PrintOne(spec, value);
    if (c.type == 'e' || c.type == 'E' || c.type == 'g' || c.type == 'G')
        WidenExponent(body);
    return PadToWidth(body, c, true);
}

std::string BuildSpec(const Conversion& c, bool keepLength) {
    std::string spec = "%" + c.flags;
    if (c.width >= 0)
        spec += std::to_string(c.width);
    if (c.precision >= 0)
        spec += "." + std::to_string(c.precision);
    if (keepLength)
        spec += c.length;
    spec += c.type;
    return spec;
}

// int-sized and long-sized integers; long long is handled by the caller.
std::string FormatInteger(const Conversion& c, va_list& args) {
    const bool isSigned = c.type == 'd' || c.type == 'i';
    if (c.length == "l" || c.length == "z" || c.length == "t") {
        long v = va_arg(args, long);
        Conversion cc = c;
        cc.length = "l";
        return isSigned ? PrintOne(BuildSpec(cc, true), v) : PrintOne(BuildSpec(cc, true), static_cast<unsigned long>(v));
    }
    int v = va_arg(args, int);
    Conversion cc = c;
    if (c.length == "h")
        v = isSigned ? static_cast<short>(v) : static_cast<unsigned short>(v);
    cc.length.clear();
    return isSigned ? PrintOne(BuildSpec(cc, false), v) : PrintOne(BuildSpec(cc, false), static_cast<unsigned>(v));
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
            out += *p++;
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
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
        case 'c':
            if (c.type == 'c') {
                out += PrintOne(BuildSpec(c, false), va_arg(args, int));
            } else if (c.length == "ll" || c.length == "j") {
                long long v = va_arg(args, long long);
                Conversion cc = c;
                cc.length = "ll";
                out += PrintOne(BuildSpec(cc, true), v);
            } else {
                out += FormatInteger(c, args);
            }
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
            out += FormatFloating(c, c.length == "L" ? static_cast<double>(va_arg(args, long double))
                                                     : va_arg(args, double));
            break;
        case 's': {
            const char* s = va_arg(args, const char*);
            out += PrintOne(BuildSpec(c, false), s ? s : "(null)");
            break;
        }
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

void CString::FormatV(const char* format, va_list args) { m_text = AfxFormatV(format, args); }

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
