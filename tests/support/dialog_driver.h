// What a user does to a dialog, as the messages the controls would send.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Dispatches whatever is waiting in the thread's queue.
void PumpMessages();

// Selects entry index (or clears the selection for -1) and notifies the
// dialog with LBN_SELCHANGE, as a click would.
void SelectEntry(HWND dialog, int listId, int index);
// Selects the entry with that text; fails the test when there is none.
void SelectNamed(HWND dialog, int listId, const std::string& name);
void DoubleClickEntry(HWND dialog, int listId, int index);
void ClickButton(HWND dialog, int id);
// Esc with the focus on a control, through the dialog's keyboard handling.
void PressEscape(HWND dialog, int controlId);
// The close box of the caption.
void CloseByCaptionBox(HWND dialog);

std::vector<std::string> ListEntries(HWND dialog, int listId);
int SelectedIndex(HWND dialog, int listId);
std::string ControlText(HWND dialog, int id);
std::wstring ControlTextWide(HWND dialog, int id);
void TypeText(HWND dialog, int id, const std::string& text);
void TypeTextWide(HWND dialog, int id, const std::wstring& text);
// Replaces the edit's text the way typing does, so that it counts as changed
// by the user (TypeText sets it as the program would).
void TypeAsUser(HWND dialog, int id, const std::string& text);
