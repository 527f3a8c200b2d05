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
// GetPrivateProfileStringW: `key` of `[section]` in the INI file at `path`, read into a
// buffer of `capacity` characters (the terminator included) and given back as CP932;
// `defaultValue` when the section or the key is missing.
CString GetProfileText(const char* path, const char* section, const char* key, const char* defaultValue,
                       size_t capacity);
// The value of an environment variable; "" when it is not set.
CString GetEnvironmentText(const char* name);
