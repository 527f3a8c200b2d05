// CString: the program's text type, code page 932 bytes held in a std::string. It converts
// to const char* like the text type the program was written against, so it can be handed to
// any function that takes a NUL-terminated string.
#pragma once

#include <string>

#if defined(__MINGW32__)
#define BRIDGE_PRINTF_FORMAT(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#else
#define BRIDGE_PRINTF_FORMAT(fmt, args)
#endif

class CString {
public:
    CString() = default;
    CString(const char* text);            // null gives the empty text
    CString(const char* text, int length); // the first `length` bytes; none when length <= 0
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* text);

    operator const char*() const { return m_text.c_str(); }

    int GetLength() const { return static_cast<int>(m_text.size()); }  // in bytes
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    // printf-style formatting of any length; the arguments may include this string's own text.
    void Format(const char* format, ...) BRIDGE_PRINTF_FORMAT(2, 3);

    CString& operator+=(const char* text);
    // != and the mirrored forms ("text" == s) come from these by the language's rewriting.
    bool operator==(const char* text) const;
    bool operator==(const CString& other) const { return m_text == other.m_text; }

    const std::string& Bytes() const { return m_text; }  // the bytes, for std:: algorithms

private:
    std::string m_text;
};
