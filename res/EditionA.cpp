#include "res/Edition.h"

// Edition A. The full-width digits of the name are double-byte characters in code page 932.
const EditionConstants kEdition = {0, "Ledgora１７", "QuorlinA.env"};
