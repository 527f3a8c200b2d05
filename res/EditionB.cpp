#include "res/Edition.h"

// Edition B. The full-width digits of the name are double-byte characters in code page 932.
const EditionConstants kEdition = {3, "Ledgora１７ Vantel", "QuorlinB.env"};
