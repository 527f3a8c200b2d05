#include "aggregate/StatementEntry.h"

#include <cstring>
#include <string_view>

#include "framework/CodePage.h"

void CopyEntryName(char (&name)[17], const char* hostName, size_t hostNameSize)
{
    std::memset(name, 0, sizeof name);
    if (hostName == nullptr) return;
    const std::string_view text(hostName, strnlen(hostName, hostNameSize));
    size_t length = 0;
    for (size_t width; (width = Cp932CharLength(text, length)) != 0 && length + width < sizeof name;)
        length += width;
    std::memcpy(name, hostName, length);
}
