#include "host/standin/Cp932Text.h"

#include "framework/CodePage.h"
#include "host/standin/Utf8.h"

namespace standin {

bool Cp932FromUtf8(std::string_view utf8, std::string& out)
{
    std::wstring wide;
    if (!WideFromUtf8(utf8, wide)) return false;
    return Cp932FromWide(wide, out);
}

std::string Utf8FromCp932(std::string_view cp932)
{
    return Utf8FromWide(WideFromCp932(cp932));
}

}  // namespace standin
