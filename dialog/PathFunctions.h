#pragma once
// Functions on CP932 path text. Every scan steps over a double-byte character as one unit,
// so a second byte of 0x5C (ソ, 表) or 0x7C is never taken for a backslash or a bar.
// Working buffers hold kPathBufferSize bytes: 260 bytes of text and the terminator.

#include <windows.h>

#include <cstddef>

#include "framework/String.h"

constexpr size_t kPathBufferSize = 261;

// No refused character ("/:,;*?\"><|" after a leading drive letter and its colon), no control
// character and no misplaced double backslash.
BOOL IsValidPathChars(const char* path);
// The path starts with a usable drive letter, its colon and a backslash, or names a usable
// network share.
BOOL IsValidDrive(const char* path);
// Drive type and access test of the drive `letter` (access mode as _waccess takes it).
BOOL IsUsableDriveLetter(int letter, int mode);

CString GetFolderPart(const char* path);     // up to and including the last backslash
CString GetFileNamePart(const char* path);   // after the last backslash; all without one
CString GetDrivePart(const char* path);      // up to and including the last colon
CString GetAfterDrivePart(const char* path); // after the last colon; all without one

// The byte at `index` is the first or the second byte of a double-byte character.
BOOL IsDbcsPosition(const char* text, size_t index);
// Makes `text` end in a backslash; FALSE when it is empty or would not fit `capacity`.
BOOL AddTrailingBackslash(char* text, size_t capacity);
// Reduces the path to its drive and folders ("C:\\a\\b" -> "C:\\a\\"); never lengthens it
// beyond the text given. FALSE for an empty result.
BOOL NormalizeFolderPath(char* path);
// The folder of the path (as NormalizeFolderPath gives it) exists.
BOOL IsExistingFolder(const char* path);
// Creates every missing folder of `folder`, one level at a time; when a level fails, the
// folders this call made are removed again and the result is FALSE.
BOOL CreateFolderTree(const char* folder);
// Removes the folders of `path` below `stopFolder`, deepest first.
BOOL RemoveCreatedFolders(const char* path, const char* stopFolder);
