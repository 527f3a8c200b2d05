#include "framework/String.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

CString::CString(const char* text)
{
    if (text) m_text = text;
}

CString::CString(const char* text, int length)
{
    if (text && length > 0) m_text.assign(text, static_cast<size_t>(length));
}

CString& CString::operator=(const char* text)
{
    // `text` may point into this very string; assign() copes with that.
    if (text) m_text.assign(text);
    else m_text.clear();
    return *this;
}

void CString::Format(const char* format, ...)
{
    if (!format) {
        m_text.clear();
        return;
    }
    // Format into a separate buffer: an argument may be this string's own text.
    std::string result(256, '\0');
    for (;;) {
        va_list args;
        va_start(args, format);
        const int needed = std::vsnprintf(result.data(), result.size() + 1, format, args);
        va_end(args);
        if (needed < 0) {  // an encoding error in the format: nothing sensible to show
            result.clear();
            break;
        }
        if (static_cast<size_t>(needed) <= result.size()) {
            result.resize(static_cast<size_t>(needed));
            break;
        }
        result.resize(static_cast<size_t>(needed));
    }
    m_text = std::move(result);
}

CString& CString::operator+=(const char* text)
{
    if (text) m_text.append(text);
    return *this;
}

bool CString::operator==(const char* text) const
{
    return m_text == (text ? text : "");
}
