// The file-system and process facts the program asks Windows for, as CP932 text.
#pragma once

#include <windows.h>

#include "framework/String.h"

// The full path of the program's executable.
CString GetModulePath();
// The folder of the program's executable with its trailing backslash ("C:\\Tools\\").
CString GetModuleFolder();
// `path` cut after its last backslash, the backslash kept; the whole text when it has none.
// A 0x5C byte that is the second half of a double-byte character is not a backslash.
CString FolderOfPath(const char* path);
// The process's current directory ("C:\\Tools", "C:\\"); empty when it cannot be read.
CString GetCurrentFolder();
// Makes `folder` the process's current directory.
BOOL SetCurrentFolder(const char* folder);
// The value of an environment variable; "" when it is not set.
CString GetEnvironmentText(const char* name);
