#include "res/Edition.h"

// EditionConstants.h is the one the build made for the edition being linked. The full-width
// digits of the names are double-byte characters in code page 932.
#include "EditionConstants.h"

const EditionConstants kEdition = {BRIDGE_EDITION_APP_TYPE, BRIDGE_EDITION_NAME, BRIDGE_EDITION_SETTINGS_FILE};
