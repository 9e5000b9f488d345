// The program's entry. The show command is not used: the base root is the
// working directory, and the window always opens maximised. The command line
// is read only for an export or an import, which run without a window.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <ole2.h>
#include "main_window.h"
#include "../export/export_command.h"
#include "../import/import_command.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && AsksForExport(argc, argv)) {
        int code = RunExportCommand(argc, argv);
        LocalFree(argv);
        return code;
    }
    if (argv && AsksForImport(argc, argv)) {
        int code = RunImportCommand(argc, argv);
        LocalFree(argv);
        return code;
    }
    LocalFree(argv);
    // The manifest asks for the controls of Common Controls 6; loading the
    // library here makes sure its classes are there before the first dialog.
    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);
    // Text dropped from another program arrives through OLE.
    bool ole = SUCCEEDED(OleInitialize(NULL));
    int code = AppMain(instance);
    if (ole)
        OleUninitialize();
    return code;
}
