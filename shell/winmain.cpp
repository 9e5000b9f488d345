// The program's entry. The command line and the show command are not used:
// the base root is the working directory, and the window always opens maximised.
#include <windows.h>
#include <commctrl.h>
#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The manifest asks for the controls of Common Controls 6; loading the
    // library here makes sure its classes are there before the first dialog.
    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);
    return AppMain(instance);
}
