#include "aggregate/StatementEntry.h"

#include <cstring>

#include "framework/CodePage.h"

void CopyEntryName(char (&name)[17], const char* hostName, size_t hostNameSize)
{
    std::memset(name, 0, sizeof name);
    if (hostName == nullptr)
        return;

    const size_t limit = hostNameSize < kEntryNameBytes ? hostNameSize : kEntryNameBytes;
    size_t pos = 0;
    while (pos < limit && hostName[pos] != '\0') {
        const bool lead = IsCp932LeadByte(static_cast<unsigned char>(hostName[pos]));
        if (!lead) {
            name[pos] = hostName[pos];
            ++pos;
            continue;
        }
        // The trail byte must lie inside both the field and the source, and be present.
        if (pos + 1 >= limit || hostName[pos + 1] == '\0')
            break;
        name[pos] = hostName[pos];
        name[pos + 1] = hostName[pos + 1];
        pos += 2;
    }
}
