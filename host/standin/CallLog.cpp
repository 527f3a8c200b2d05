#include "host/standin/CallLog.h"

#include <windows.h>

#include <cstdio>

#include "framework/CodePage.h"
#include "host/standin/Cp932Text.h"
#include "host/standin/HostState.h"

namespace standin {
namespace {

constexpr int kConditionItems = 4;

// Line breaks and other control characters would split or garble the line.
std::string Escaped(const char* text)
{
    std::string escaped;
    for (const char* p = text; *p != '\0'; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte == '\n') escaped += "\\n";
        else if (byte == '\r') escaped += "\\r";
        else if (byte >= 0x20) escaped += *p;
        else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            escaped += code;
        }
    }
    return escaped;
}

void AppendToFile(const std::wstring& path, const std::string& utf8Line)
{
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, utf8Line.data(), static_cast<DWORD>(utf8Line.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Before the data is loaded, [faults] and [timing] are not known yet: the line may be needed.
bool LineWanted()
{
    const HostData* data = ServedDataIfLoaded();   // logging never loads the data
    return data == nullptr || !data->faults.throwingCall.empty() || !data->timing.delayMsByCall.empty() ||
           !CallLogPath().empty();
}

// A call that [timing] names takes that long before it returns.
void TakeTime(const HostData* data, const std::string& call)
{
    if (data == nullptr) return;
    const auto delay = data->timing.delayMsByCall.find(call);
    if (delay != data->timing.delayMsByCall.end() && delay->second > 0) ::Sleep(static_cast<DWORD>(delay->second));
}

}  // namespace

CallLogLine::CallLogLine(const char* call) : wanted_(LineWanted())
{
    if (!wanted_) return;
    call_ = call;
    line_ = call;
}

CallLogLine::CallLogLine(const char* className, const char* operation) : wanted_(LineWanted())
{
    if (!wanted_) return;
    call_ = std::string(className) + "::" + operation;
    line_ = call_;
}

CallLogLine& CallLogLine::Arg(long value)
{
    if (!wanted_) return *this;
    line_ += ' ' + std::to_string(value);
    return *this;
}

CallLogLine& CallLogLine::Arg(const char* cp932Text)
{
    if (!wanted_) return *this;
    line_ += ' ';
    line_ += cp932Text != nullptr ? Escaped(cp932Text) : "(null)";
    return *this;
}

CallLogLine& CallLogLine::Named(const char* name, const char* cp932Text)
{
    if (!wanted_) return *this;
    line_ += ' ';
    line_ += name;
    line_ += '=';
    line_ += cp932Text != nullptr ? Escaped(cp932Text) : "(null)";
    return *this;
}

CallLogLine& CallLogLine::Named(const char* name, long value)
{
    if (!wanted_) return *this;
    return Named(name, std::to_string(value).c_str());
}

CallLogLine& CallLogLine::Raw(std::string_view text)
{
    if (!wanted_) return *this;
    line_ += text;
    return *this;
}

CallLogLine& CallLogLine::Condition(const StFINDITEM* item)
{
    if (!wanted_) return *this;
    line_ += ' ';
    line_ += item != nullptr ? ConditionText(*item, false) : "(null)";
    return *this;
}

CallLogLine& CallLogLine::Result(long result)
{
    if (!wanted_) return *this;
    line_ += " -> " + std::to_string(result);
    return *this;
}

void CallLogLine::Write() const
{
    if (!wanted_) return;
    const HostData* data = ServedDataIfLoaded();
    TakeTime(data, call_);
    const bool named = data != nullptr && !data->faults.throwingCall.empty() && data->faults.throwingCall == call_;
    const bool throws = named && (data->faults.throwingCallNumber == 0 ||
                                  ++data->faults.throwingCallsMade == data->faults.throwingCallNumber);
    const std::string& path = CallLogPath();
    if (!path.empty())
        AppendToFile(WideFromCp932(path), Utf8FromCp932(throws ? line_ + " !! throws" : line_) + "\n");
    if (throws) throw HostCallThrew(call_ + " threw, as [faults] asked");
}

std::string ConditionText(const StFINDITEM& item, bool sixteenBitValue)
{
    // The summation conditions carry 16-bit values in the low half of the value field.
    const long value = sixteenBitValue ? static_cast<int16_t>(item.nValue & 0xFFFF) : static_cast<long>(item.nValue);
    char text[80];
    std::snprintf(text, sizeof text, "[%ld %d %d %ld %d]", static_cast<long>(item.nField), item.nOperator,
                  item.nValueType, value, item.nConnector);
    return text;
}

std::string ConditionsText(const StFINDINFO* conditions)
{
    if (conditions == nullptr) return " (null)";
    std::string text = " ";
    for (int i = 0; i < kConditionItems; ++i) {
        text += ConditionText(conditions->items[i], true);
        if (conditions->items[i].nConnector == 0) break;
    }
    return text;
}

}  // namespace standin
