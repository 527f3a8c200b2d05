// The program's version, defined here and nowhere else: string 1 of every edition, each
// edition's version block and the names of the release packages (tools/package) are made
// from it. The manifests repeat the file version, which their own format requires; the
// tests check that they agree with this file.
// Only #define lines: the resource compiler and tools/package read this file as well.

#ifndef BRIDGE_RES_VERSION_H
#define BRIDGE_RES_VERSION_H

// The version as the program names it (string 1, the report's connected-program version).
#define BRIDGE_VERSION_TEXT       "17.00.00"
// The same version as Windows' version block holds it: four numbers, and as text.
#define BRIDGE_FILE_VERSION       17, 0, 0, 0
#define BRIDGE_FILE_VERSION_TEXT  "17.0.0.0"

#endif
