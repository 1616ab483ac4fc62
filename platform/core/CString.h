#pragma once
// The framework's string: UTF-8 text in a std::string. Format follows the printf conventions of
// the Windows runtime library rather than glibc's where they differ: %e, %E, %g and %G write an
// exponent of at least three digits ("1.589793e+001"), and non-finite values are written as
// "inf", "-inf" or "nan" (never "-nan"), padded to the field width like any number.

#include "platform/core/AfxTypes.h"

#include <compare>
#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(std::string text) : m_text(std::move(text)) {}

    void Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(const char* format, va_list args);
    // Formats as Format does and appends the result, without rebuilding the text before it.
    void AppendFormat(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char* GetString() const { return m_text.c_str(); }
    operator const char*() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(const char* other) {
        m_text += other;
        return *this;
    }
    friend CString operator+(CString a, const CString& b) { return a += b; }

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == b; }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_text <=> b.m_text; }

private:
    std::string m_text;
};

// printf with the Windows runtime's conventions, as described above; the one formatter in the program.
std::string AfxFormatV(const char* format, va_list args);
// Appends the formatted text to out.
void AfxAppendFormatV(std::string& out, const char* format, va_list args);
std::string AfxFormat(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
