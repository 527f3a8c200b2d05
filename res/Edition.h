#pragma once
// The three constants in which the editions differ, from the table res/Editions.txt. Each
// edition's executable links the constants the build made for it (bridge_edition_<program>).

struct EditionConstants {
    long appType;                  // app type handed to the host connection
    const char* editionName;       // code page 932; written to the XML file when the host's
                                   // support information names no product
    const char* settingsFileName;  // the last-conditions file in the host's settings folder
};

extern const EditionConstants kEdition;
