#include "report/SupportInfo.h"

#include <cstring>
#include <new>
#include <string_view>

#include "framework/CodePage.h"
#include "framework/File.h"
#include "framework/MessageBox.h"
#include "framework/MessageQueue.h"

namespace {

const char kFileName[] = "SUPPORT.INF";
const char kProductNameKey[] = "[=製品名=]";
const char kProductVersionKey[] = "[=製品ﾊﾞｰｼﾞｮﾝ=]";
const char kNoMemoryMessage[] = "ﾒﾓﾘが不足しています。";
const char kEmpty[] = "";
const char kEndOfFile = 0x1A;

size_t ReadUpTo(CFile& file, char* buffer, size_t size)
{
    // What could be read is kept; an unreadable file is no failure of the report.
    size_t total = 0;
    UINT read = 0;
    while (total < size && file.Read(buffer + total, static_cast<UINT>(size - total), read) && read > 0) total += read;
    return total;
}

// Every line becomes a NUL-terminated string in place: CR LF ends a line, and so does a lone
// CR or LF (a file saved with bare line ends); an end-of-file mark ends the text.
void TerminateLines(char* text, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        if (text[i] == '\r' || text[i] == '\n' || text[i] == kEndOfFile) text[i] = '\0';
    }
}

}  // namespace

int SupportInfo::Load()
{
    if (block) return 1;
    block.reset(new (std::nothrow) char[kBlockBytes + 1]);
    if (!block) {
        // Read while the report is written, with the progress window up and taking no input.
        const QueueReadyForBox queueReady;
        AfxMessageBox(kNoMemoryMessage, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    blockText = block.get();
    std::memset(blockText, 0xFF, kBlockBytes);
    contentBytes = 0;

    CFile file;
    if (!file.Open(kFileName, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary)) return 0;
    contentBytes = ReadUpTo(file, blockText, kBlockBytes);
    blockText[contentBytes] = '\0';
    TerminateLines(blockText, contentBytes);
    return 1;
}

const char* SupportInfo::GetProductName()
{
    return ValueOf(kProductNameKey);
}

const char* SupportInfo::GetProductVersion()
{
    return ValueOf(kProductVersionKey);
}

// The first place, at a character boundary, where the key stands; its value runs to the end
// of its line, or of the content.
const char* SupportInfo::ValueOf(const char* key)
{
    if (Load() != 1) return kEmpty;
    const std::string_view content(blockText, contentBytes);
    const std::string_view wanted(key);
    for (size_t pos = 0; pos < content.size(); pos += Cp932CharLength(content, pos)) {
        if (content.substr(pos, wanted.size()) == wanted) return blockText + pos + wanted.size();
    }
    return kEmpty;
}
