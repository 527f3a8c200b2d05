// Drives and folders as the program asks Windows about them, paths given as CP932 text.
// Each function is the W call it names, with the path converted explicitly; every path but
// GetDriveTypeOf's root goes in extended-length form (framework/LongPath.h): depth is no limit.
#pragma once

#include <windows.h>

#include "framework/String.h"

// GetDriveTypeW of a root ("Q:\\"): DRIVE_UNKNOWN, DRIVE_NO_ROOT_DIR, DRIVE_FIXED, ...
UINT GetDriveTypeOf(const char* root);
// _waccess: TRUE when `path` exists and allows `mode` (0 exists, 2 write, 4 read, 6 both).
BOOL IsAccessible(const char* path, int mode);
// GetFileAttributesW: TRUE when `path` names an existing folder.
BOOL IsFolder(const char* path);
// CreateDirectoryW with default security.
BOOL CreateFolder(const char* path);
// RemoveDirectoryW: the folder must be empty.
BOOL RemoveFolder(const char* path);
// GetTempPathW; "" when there is none or it has no CP932 form.
CString GetTempFolder();
