#pragma once
// The host starts the program with "window,message,function id,output path".

#include <cstdint>
#include <optional>
#include <string>
#include <windows.h>

const int16_t kDefaultFunctionId = 1;  // a run the host did not start

// What a complete command line tells the run.
struct HostCommandLine {
    HWND hostWnd = nullptr;  // disabled for the run, told at its end
    uint32_t notifyMsg = 0;  // posted to the host window at the end
    int16_t functionId = kDefaultFunctionId;  // written to the XML file, posted as wParam
    std::string outputPath;  // fixed by the host; may be empty
    bool operator==(const HostCommandLine&) const = default;
};

// The line's four fields; nothing when the line lacks one of its three commas.
std::optional<HostCommandLine> ParseHostCommandLine(const char* text);

// The window the line's first field names, as soon as that field ends in its comma: a line cut
// short after it still names the window that owns the compatibility message. Null otherwise.
HWND WindowNamedBy(const char* text);
