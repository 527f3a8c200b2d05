#include "res/Edition.h"

// Edition C. The full-width digits of the name are double-byte characters in code page 932.
const EditionConstants kEdition = {4, "Ledgora１７ Zephrin", "QuorlinC.env"};
