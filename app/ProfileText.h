// Values of INI files read the way the Windows profile functions read them, on the file's own
// bytes (code page 932), whatever the system's code page is.
#pragma once

#include <string>
#include <string_view>

// The value of `key` in `[section]` of the INI text `text`: section and key names compared
// without regard to ASCII case and without their surrounding blanks, the value with its
// surrounding blanks and one pair of enclosing quotes removed. The first section of that name
// is the one searched. `defaultValue` when the section or the key is missing, or when the key
// has no equals sign; an empty value stays empty.
std::string ProfileValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view defaultValue);

// `key` of `[section]` in the INI file at `path` (CP932), as ProfileValue reads it. A file
// that cannot be read gives the default, as it does for the profile functions.
std::string ReadProfileValue(const char* path, std::string_view section, std::string_view key,
                             std::string_view defaultValue);
