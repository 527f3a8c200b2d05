#include "app/BridgeApp.h"

// The host's command line is not read yet: every run behaves as one started without it, so no
// host window is taken and nothing is posted at the end.
int CBridgeApp::ParseCommandLine(const char* /*text*/)
{
    return 0;
}
