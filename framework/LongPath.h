// The form of a path that the file functions take at any length, whatever the system's
// long-path setting.
#pragma once

#include <string>

// The full path in extended-length form: "C:\out\a.xml" becomes "\\?\C:\out\a.xml" and
// "\\server\share\a.xml" becomes "\\?\UNC\server\share\a.xml". The path is made full first as
// Windows makes every path it is given (current folder, "/" as "\", "." and ".."), so the
// file named is the one the plain path names. A device ("\\.\NUL"), a path already in that
// form and one Windows cannot make full are handed on as they are.
std::wstring ExtendedLengthPath(const std::wstring& path);
