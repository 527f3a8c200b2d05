#include "app/BridgeApp.h"

// The receiving program's interface level is not checked yet: every run may go on.
int CBridgeApp::CheckCompatibility(int /*showMessage*/)
{
    return 1;
}
