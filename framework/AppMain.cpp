// The process entry point of the program executables. It constructs nothing: the one
// application object is the program's global `theApp`, already registered by its constructor.
#include <windows.h>

#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(instance);
}
