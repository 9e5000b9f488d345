// The program's entry. The command line and the show command are not used:
// the base root is the working directory, and the window always opens maximised.
#include <windows.h>
#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return AppMain(instance);
}
