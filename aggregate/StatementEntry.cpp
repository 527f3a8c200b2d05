#include "aggregate/StatementEntry.h"

#include <cstring>

#include "framework/CodePage.h"

void CopyEntryName(char (&name)[17], const char* hostName, size_t hostNameSize)
{
    std::memset(name, 0, sizeof name);
    CopyCp932Text(name, sizeof name, hostName, hostNameSize);
}
