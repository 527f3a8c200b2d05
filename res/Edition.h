#pragma once
// The three constants in which the editions differ. Each edition's executable links exactly
// one of EditionA.cpp, EditionB.cpp and EditionC.cpp.

struct EditionConstants {
    long appType;                  // app type handed to the host connection
    const char* editionName;       // code page 932; written to the XML file when the host's
                                   // support information names no product
    const char* settingsFileName;  // the last-conditions file in the host's settings folder
};

extern const EditionConstants kEdition;
