// Text dragged from another program and dropped on a window of this one
// (OLE drag and drop): the window's handler gets the text as Unicode. A
// window may take files dropped from Explorer too (CF_HDROP): its files
// handler then gets their full paths.
// Needs OLE started on the thread (OleInitialize, done by WinMain).
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>
#include <vector>

typedef void (*TextDropHandler)(HWND window, const std::wstring& text, void* context);
typedef void (*FilesDropHandler)(HWND window, const std::vector<std::wstring>& paths, void* context);

// From now on window takes dropped text (CF_UNICODETEXT, or CF_TEXT in the
// system's code page) and hands it to handler, and, when files is given,
// dropped files to files: a drop that holds both is taken as files. False
// when OLE refused the registration (not started on this thread); the
// window then takes no drops.
bool AcceptTextDrops(HWND window, TextDropHandler handler, void* context, FilesDropHandler files = NULL);
// Before the window goes.
void StopTextDrops(HWND window);

// What a drop of data on window does: the handler called with its text, or
// the files handler with its paths. False when window takes no drops or
// data holds nothing it takes. Tests call it with a data object of their own.
// A real drop does the same in two halves: the data is taken while the drop
// lasts, and handed to the handler only after the drop returned to the
// program the drag came from, when this thread's message loop next turns.
bool DeliverTextDrop(HWND window, IDataObject* data);
// The drop target registered for window, or NULL: for tests that drop the
// way OLE does.
IDropTarget* DropTargetOf(HWND window);
