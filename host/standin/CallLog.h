#pragma once

// The call log: when BRIDGE_HOST_LOG names a file, every host call appends one UTF-8 line
// to it, so that tests can see which calls a run made, in which order and with what.
// The file is opened and closed for every line; nothing is lost when the program ends
// abruptly, and another process may read it at any time.

#include <stdexcept>
#include <string>
#include <string_view>

#include "host/HostRecords.h"

namespace standin {

// What a host call throws when [faults] Throw names it.
struct HostCallThrew : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Builds one line: the call's name, then its arguments, then " -> result" and what the
// call handed back. Text arguments are code page 932; line breaks in them become \n.
// When no log is written and no call is to throw, nothing is built: every row the program
// reads costs several host calls.
class CallLogLine {
public:
    explicit CallLogLine(const char* call);
    CallLogLine(const char* className, const char* operation);   // "Class::Operation"
    CallLogLine& Arg(long value);
    CallLogLine& Arg(const char* cp932Text);                    // (null) for a null pointer
    CallLogLine& Named(const char* name, const char* cp932Text); // name=text
    CallLogLine& Named(const char* name, long value);            // name=value
    CallLogLine& Raw(std::string_view text);                     // appended as it stands
    CallLogLine& Condition(const StFINDITEM* item);              // " [..]" or " (null)", the full value
    CallLogLine& Result(long result);                            // " -> result"
    // Appends the line to the log. When [faults] names this call to throw, throws
    // HostCallThrew after writing it, so the call has done its work but never returns.
    void Write() const;

private:
    bool wanted_;                                                // the line is written or a call may throw
    std::string call_;                                           // "Class::Operation"
    std::string line_;                                           // code page 932
};

// "[field operator type value connector]"; `sixteenBitValue` reads only the low half of the value.
std::string ConditionText(const StFINDITEM& item, bool sixteenBitValue);

// " [..][..]": the summation conditions up to the item that ends the list.
std::string ConditionsText(const StFINDINFO* conditions);

}  // namespace standin
