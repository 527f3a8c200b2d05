#include "app/BridgeApp.h"

// The one application object; the framework's entry point runs it.
CBridgeApp theApp;
