#include "capture_dialog.h"
#include "capture_base.h"
#include "capture_name.h"
#include "capture_places.h"
#include "capture_save.h"
#include "capture_text.h"
#include "clipboard_grab.h"
#include "place_dialog.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../store/base_changes.h"
#include "../store/fact_shape.h"
#include "../store/path_slot.h"
#include "../store/text_file.h"
#include "../ui/app_messages.h"
#include "../ui/app_state.h"
#include "../ui/name_complaint.h"
#include "../ui/platform_ui.h"
#include "../ui/text_drop.h"
#include "../ui/unsaved_text.h"

#include <process.h>
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

struct CaptureState {
    char root[SLOT_SIZE];
    char directive[SLOT_SIZE];  // "" while there is no place
    HWND returnTo;
    HWND servedBefore;          // the dialog whose keyboard the message loop served before this window opened
    int look;                   // the number of the latest look for a duplicate: older answers are stale
    bool placeChosen;           // by the user, through МЕСТО…
    std::wstring took;          // the note's first part
    std::wstring duplicateOf;   // the path of a fact with the same text, below the root; "" for none
};

// Every open capture window, for what reaches them all (the newest place,
// the key taken).
std::vector<HWND> openCaptures;
bool captureKeyTaken;

CaptureState* StateOf(HWND dialog)
{
    return (CaptureState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

const NameComplaints FACT_NAME_COMPLAINTS = { Text::FactNameEmpty, Text::FactNameTaken, Text::FactPathTooLong };

// A text of the program with its %s filled in by a text that may hold any
// character, in order.
std::wstring FillIn(const char* pattern, const std::wstring& first, const std::wstring& second = std::wstring())
{
    std::wstring text = WideFrom1251(pattern);
    const std::wstring* values[] = { &first, &second };
    size_t at = 0;
    for (const std::wstring* value : values) {
        at = text.find(L"%s", at);
        if (at == std::wstring::npos)
            break;
        text.replace(at, 2, *value);
        at += value->size();
    }
    return text;
}

// A folder below the root as the window shows it: "Раздел › Тема › …".
std::wstring ShownPath(const char* root, const char* folder)
{
    size_t rootLength = strlen(root);
    if (strncmp(folder, root, rootLength) != 0 || folder[rootLength] != '\\')
        return WideFrom1251(folder);
    std::string shown;
    for (const char* c = folder + rootLength + 1; *c; c++) {
        if (*c == '\\')
            shown += Text::SearchPathSeparator;
        else
            shown += *c;
    }
    return WideFrom1251(shown.c_str());
}

std::wstring TextOf(HWND dialog, int id)
{
    return WindowTextWide(GetDlgItem(dialog, id));
}

bool Modified(HWND dialog, int id)
{
    return SendDlgItemMessageW(dialog, id, EM_GETMODIFY, 0, 0) != 0;
}

// Touched: something typed into a field, or another place chosen.
bool Touched(HWND dialog)
{
    CaptureState* state = StateOf(dialog);
    return state->placeChosen || Modified(dialog, IDC_CAPTURE_NAME) || Modified(dialog, IDC_CAPTURE_DESCRIPTION) ||
           Modified(dialog, IDC_CAPTURE_TEXT);
}

void ShowNote(HWND dialog)
{
    CaptureState* state = StateOf(dialog);
    std::vector<std::wstring> parts;
    if (!state->took.empty())
        parts.push_back(state->took);
    if (!state->duplicateOf.empty())
        parts.push_back(FillIn(Text::CaptureDuplicate, state->duplicateOf));
    if (!state->directive[0])
        parts.push_back(WideFrom1251(Text::CaptureNoPlace));
    if (!FitsWindows1251(TextOf(dialog, IDC_CAPTURE_TEXT)) || !FitsWindows1251(TextOf(dialog, IDC_CAPTURE_DESCRIPTION)))
        parts.push_back(WideFrom1251(Text::CaptureOutside1251));
    if (captureKeyTaken)
        parts.push_back(WideFrom1251(Text::CaptureKeyTaken));
    std::wstring note;
    for (const std::wstring& part : parts)
        note += (note.empty() ? L"" : WideFrom1251(Text::CaptureNoteJoint)) + part;
    SetDlgItemTextW(dialog, IDC_CAPTURE_NOTE, note.c_str());
}

// The suggested name follows the place until the user types one.
void SuggestName(HWND dialog)
{
    CaptureState* state = StateOf(dialog);
    if (Modified(dialog, IDC_CAPTURE_NAME))
        return;
    char name[SLOT_SIZE];
    SuggestFactName(TextOf(dialog, IDC_CAPTURE_TEXT), state->directive, name);
    SetDlgItemText1251(dialog, IDC_CAPTURE_NAME, name);
}

void SetPlace(HWND dialog, const char* directive)
{
    CaptureState* state = StateOf(dialog);
    SlotCopy(state->directive, directive);
    SetDlgItemTextW(dialog, IDC_CAPTURE_PLACE, directive[0] ? ShownPath(state->root, directive).c_str() : L"");
    SuggestName(dialog);
    ShowNote(dialog);
}

// ---- the look for the same text, on a thread of its own

struct DuplicateLook {
    HWND window;
    int number;
    std::string root;
    std::wstring text;
};

unsigned __stdcall LookForDuplicate(void* parameter)
{
    DuplicateLook* look = (DuplicateLook*)parameter;
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    char found[SLOT_SIZE];
    // A window closed meanwhile needs no answer: the look ends with it.
    FindDuplicateFact(look->root.c_str(), look->text, found, [](void* window) { return IsWindow((HWND)window) != 0; },
                      look->window);
    std::string* result = new std::string(found);
    if (!PostMessageW(look->window, WM_FACTS_CAPTURE_DUPLICATE, (WPARAM)look->number, (LPARAM)result))
        delete result;
    delete look;
    return 0;
}

void StartDuplicateLook(HWND dialog, const std::wstring& text)
{
    if (DuplicateKey(text).empty())
        return;
    LetWalksGiveWay();
    DuplicateLook* look = new DuplicateLook{ dialog, ++StateOf(dialog)->look, StateOf(dialog)->root, text };
    uintptr_t thread = _beginthreadex(NULL, 0, LookForDuplicate, look, 0, NULL);
    if (thread)
        CloseHandle((HANDLE)thread);
    else
        delete look;
}

void OnDuplicateFound(HWND dialog, int look, std::string* factFolder)
{
    CaptureState* state = StateOf(dialog);
    if (state && look == state->look && !factFolder->empty()) {
        state->duplicateOf = ShownPath(state->root, factFolder->c_str());
        ShowNote(dialog);
    }
    delete factFolder;
}

// ---- following the program's own moves of the place

void FollowMoves(const BaseChange& change, void* context)
{
    HWND dialog = (HWND)context;
    CaptureState* state = StateOf(dialog);
    if (!state || change.kind != BASE_FOLDER_MOVED || !state->directive[0] ||
        !PathAtOrBelow(state->directive, change.folder))
        return;
    std::string moved = std::string(change.newFolder) + (state->directive + strlen(change.folder));
    if (SlotCopy(state->directive, moved.c_str()))
        SetDlgItemTextW(dialog, IDC_CAPTURE_PLACE, ShownPath(state->root, state->directive).c_str());
}

// ---- text dropped on the window

// Dropped on a window without text, the text fills it, name and all; on a
// window holding text, captured or typed, it goes in at the caret, so that
// nothing the window holds is lost.
void OnTextDropped(HWND dialog, const std::wstring& dropped, void*)
{
    CaptureState* state = StateOf(dialog);
    std::wstring text = TakenText(dropped);
    if (!state || text.empty())
        return;
    if (GetWindowTextLengthW(GetDlgItem(dialog, IDC_CAPTURE_TEXT)) > 0) {
        SendDlgItemMessageW(dialog, IDC_CAPTURE_TEXT, EM_REPLACESEL, TRUE, (LPARAM)text.c_str());
        return;
    }
    SetDlgItemTextW(dialog, IDC_CAPTURE_TEXT, text.c_str());
    state->took = WideFrom1251(Text::CaptureTookDrop);
    state->duplicateOf.clear();
    SuggestName(dialog);
    ShowNote(dialog);
    StartDuplicateLook(dialog, text);
}

// ---- opening and closing

void OnInitDialog(HWND dialog, const CaptureOpening* opening)
{
    CaptureState* state = new CaptureState();
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);
    if (GetCurrentDirectory1251(state->root, SLOT_SIZE) != TEXT_FITS)
        state->root[0] = '\0';
    state->returnTo = opening->returnTo;
    state->servedBefore = App.ActiveDialog;
    state->took = opening->took ? WideFrom1251(opening->took) : std::wstring();
    openCaptures.push_back(dialog);
    ListenToBaseChanges(FollowMoves, dialog);
    AcceptTextDrops(dialog, OnTextDropped, NULL);

    std::wstring text = TakenText(opening->text);
    // The window holds the text whole, however long: saving says when it
    // is longer than a fact may be.
    SendDlgItemMessageW(dialog, IDC_CAPTURE_TEXT, EM_SETLIMITTEXT, std::max<size_t>(EDIT_TEXT_MAX, text.size()), 0);
    SendDlgItemMessageW(dialog, IDC_CAPTURE_NAME, EM_SETLIMITTEXT, SLOT_CHARS, 0);
    SetDlgItemTextW(dialog, IDC_CAPTURE_TEXT, text.c_str());
    SetDlgItemTextW(dialog, IDC_CAPTURE_DESCRIPTION, opening->source.c_str());

    char directive[SLOT_SIZE] = "";
    if (!(opening->directive && IsDirectiveOf(state->root, opening->directive) &&
          SlotCopy(directive, opening->directive)))
        PlaceForCapture(state->root, directive);
    SetPlace(dialog, directive);
    StartDuplicateLook(dialog, text);

    HWND name = GetDlgItem(dialog, IDC_CAPTURE_NAME);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
}

void OnDestroy(HWND dialog)
{
    MSG late;
    while (PeekMessageW(&late, dialog, WM_FACTS_CAPTURE_DUPLICATE, WM_FACTS_CAPTURE_DUPLICATE, PM_REMOVE))
        delete (std::string*)late.lParam;
    StopListeningToBaseChanges(FollowMoves, dialog);
    StopTextDrops(dialog);
    openCaptures.erase(std::remove(openCaptures.begin(), openCaptures.end(), dialog), openCaptures.end());
    delete StateOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

// The focus goes back where it was before the capture: to the program in
// front, or the dialog it was opened from; given away before the window
// goes, so that its owner, the main window, is not raised instead.
void CloseCapture(HWND dialog)
{
    CaptureState* state = StateOf(dialog);
    HWND back = state->returnTo;
    // The keyboard goes back to the dialog served before, the browser the
    // capture was opened from among them.
    if (App.ActiveDialog == dialog)
        App.ActiveDialog = IsWindow(state->servedBefore) ? state->servedBefore : NULL;
    if (back && IsWindow(back))
        SetForegroundWindow(back);
    DestroyWindow(dialog);
}

bool MayDropTouched(HWND dialog)
{
    return !Touched(dialog) ||
           MessageBox1251(dialog, Text::TypedTextWillBeLost, Text::CaptionWarning, MB_OKCANCEL) == IDOK;
}

// As the program ends nothing that the window holds is stored anywhere
// else (the clipboard has been given back), so any text counts as typed.
bool MayEnd(HWND dialog)
{
    bool holds = Touched(dialog) || GetWindowTextLengthW(GetDlgItem(dialog, IDC_CAPTURE_TEXT)) > 0;
    return !holds || MessageBox1251(dialog, Text::TypedTextWillBeLost, Text::CaptionWarning, MB_OKCANCEL) == IDOK;
}

void OnCancel(HWND dialog)
{
    if (MayDropTouched(dialog))
        CloseCapture(dialog);
}

void OnChoosePlace(HWND dialog)
{
    CaptureState* state = StateOf(dialog);
    char chosen[SLOT_SIZE];
    if (!AskCapturePlace(dialog, state->root, state->directive, chosen))
        return;
    state->placeChosen = true;
    SetPlace(dialog, chosen);
}

// ---- saving

// The user's choice for a text with characters Windows-1251 cannot hold,
// each listed with what would stand for it. False: back to the text.
bool ChooseEncoding(HWND dialog, const std::wstring& description, const std::wstring& text, CaptureEncoding* how)
{
    if (FitsWindows1251(description) && FitsWindows1251(text)) {
        *how = CAPTURE_REPLACE_INTO_1251;
        return true;
    }
    std::vector<Replacement> made;
    ReplaceOutside1251(description + L"\n" + text, &made);
    std::wstring question = WideFrom1251(Text::CaptureOutsideQuestion) + L"\r\n\r\n";
    // A page in another alphabet has hundreds of them: the box must still
    // fit the screen with its buttons.
    const size_t LISTED_AT_MOST = 12;
    if (made.size() > LISTED_AT_MOST) {
        char more[64];
        snprintf(more, sizeof more, Text::CaptureMoreOutside, (int)(made.size() - LISTED_AT_MOST));
        made.resize(LISTED_AT_MOST);
        made.push_back(Replacement{ L"", WideFrom1251(more), 0 });
    }
    for (const Replacement& replacement : made) {
        if (replacement.character.empty()) {
            question += replacement.replacement + L"\r\n";
            continue;
        }
        if (replacement.replacement.empty()) {
            wchar_t code[16];
            swprintf(code, 16, L"U+%04X", (unsigned)replacement.character[0]);
            question += FillIn(Text::CaptureDroppedLine, replacement.character, code);
        } else {
            question += FillIn(Text::CaptureReplacedLine, replacement.character, replacement.replacement);
        }
        question += L"\r\n";
    }
    question += L"\r\n" + WideFrom1251(Text::CaptureOutsideChoice);
    int answer = MessageBoxW(dialog, question.c_str(), WideFrom1251(Text::CaptionWarning).c_str(), MB_YESNOCANCEL);
    if (answer == IDCANCEL)
        return false;
    *how = answer == IDYES ? CAPTURE_KEEP_EXACTLY : CAPTURE_REPLACE_INTO_1251;
    return true;
}

const char* SaveComplaint(const CaptureSave& save)
{
    switch (save.result) {
    case CAPTURE_NAME_REFUSED: return ComplaintForName(save.rule, FACT_NAME_COMPLAINTS);
    case CAPTURE_PLACE_GONE: return Text::CapturePlaceGone;
    case CAPTURE_TEXT_TOO_LONG: return Text::CaptureTooLong;
    default: return Text::CaptureWriteFailed;
    }
}

void OnSave(HWND dialog)
{
    CaptureState* state = StateOf(dialog);
    std::wstring text = TextOf(dialog, IDC_CAPTURE_TEXT);
    std::wstring description = TextOf(dialog, IDC_CAPTURE_DESCRIPTION);
    if (DuplicateKey(text).empty()) {
        Complain(dialog, Text::CaptureTextEmpty);
        return;
    }
    if (!state->directive[0]) {
        OnChoosePlace(dialog);
        if (!state->directive[0])
            return;
    }
    char name[SLOT_SIZE];
    switch (GetDlgItemText1251(dialog, IDC_CAPTURE_NAME, name, SLOT_SIZE)) {
    case TEXT_FITS: break;
    case TEXT_NOT_1251: Complain(dialog, Text::NameNot1251); return;
    default: Complain(dialog, Text::FactPathTooLong); return;
    }
    CaptureEncoding how;
    if (!ChooseEncoding(dialog, description, text, &how))
        return;
    PauseFactWalks();
    CaptureSave save = SaveCapturedFact(state->root, state->directive, name, description, text, how);
    ResumeFactWalks();
    if (save.result != CAPTURE_SAVED) {
        // Everything typed stays, to be corrected or saved elsewhere.
        Complain(dialog, SaveComplaint(save));
        return;
    }
    SlotCopy(App.LastDirective, state->directive);
    CloseCapture(dialog);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (!StateOf(dialog))
        return;
    switch (id) {
    case IDOK: OnSave(dialog); break;
    case IDCANCEL: OnCancel(dialog); break;
    case IDC_CAPTURE_CHOOSE_PLACE: OnChoosePlace(dialog); break;
    case IDC_CAPTURE_TEXT:
    case IDC_CAPTURE_DESCRIPTION:
        if (notification == EN_CHANGE)
            ShowNote(dialog);
        break;
    default: break;
    }
}

// Ctrl+Enter saves from the text, where Enter is a new line; a key meant
// for another window of the program is not this window's.
INT_PTR OnKey(HWND dialog, WPARAM wParam, HWND focus)
{
    bool save = LOWORD(wParam) == VK_RETURN && HIWORD(wParam) != 0 && IsChild(dialog, focus);
    if (save)
        OnSave(dialog);
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, save ? TRUE : FALSE);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK CaptureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, (const CaptureOpening*)lParam); return FALSE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    case WM_FACTS_CLOSE_QUERY: return AnswerCloseQuery(dialog, MayEnd(dialog));
    case WM_FACTS_DIALOG_KEY: return OnKey(dialog, wParam, (HWND)lParam);
    case WM_FACTS_CAPTURE_DUPLICATE: OnDuplicateFound(dialog, (int)wParam, (std::string*)lParam); return TRUE;
    case WM_ACTIVATE:
        // The message loop serves the keyboard of the capture window in front.
        if (LOWORD(wParam) != WA_INACTIVE)
            App.ActiveDialog = dialog;
        return FALSE;
    default: return FALSE;
    }
}

HWND OpenCaptureWindow(HWND owner, const CaptureOpening& opening)
{
    return OpenDialog(IDD_QUICK_CAPTURE, CaptureDialog, owner, (LPARAM)&opening);
}

HWND CaptureSelectionInFront(HWND mainWindow)
{
    HWND front = GetForegroundWindow();
    GrabbedSelection grabbed = GrabSelection(mainWindow, front);
    std::wstring title = front ? WindowTextWide(front) : std::wstring();
    CaptureOpening opening = { grabbed.taken.text, SourceOfCapture(grabbed.taken.html, title), NULL, front, NULL };
    std::string took;
    if (grabbed.taken.text.empty()) {
        opening.took = Text::CaptureNothingTaken;
    } else if (grabbed.fresh) {
        char shownTitle[SLOT_SIZE];
        // The note is narrow; a title it cannot hold is left out of it.
        if (TextTo1251(title.c_str(), (int)title.size(), shownTitle, SLOT_SIZE) != TEXT_FITS)
            shownTitle[0] = '\0';
        char note[SLOT_SIZE + 64];
        snprintf(note, sizeof note, Text::CaptureTookSelection, shownTitle);
        took = note;
        opening.took = took.c_str();
    } else {
        opening.took = Text::CaptureTookClipboard;
    }
    HWND window = OpenCaptureWindow(mainWindow, opening);
    if (window)
        SetForegroundWindow(window);
    return window;
}

HWND CaptureClipboard(HWND owner, HWND returnTo, const char* directive)
{
    ClipboardText taken = ReadClipboardText(owner);
    CaptureOpening opening = { taken.text, SourceOfCapture(taken.html, std::wstring()), directive, returnTo,
                               taken.text.empty() ? Text::CaptureNothingTaken : Text::CaptureTookClipboard };
    return OpenCaptureWindow(owner, opening);
}

HWND CaptureDroppedText(HWND owner, HWND returnTo, const char* directive, const std::wstring& text)
{
    CaptureOpening opening = { text, std::wstring(), directive, returnTo, Text::CaptureTookDrop };
    return OpenCaptureWindow(owner, opening);
}

void OfferNewestPlaceToCaptures()
{
    std::vector<HWND> windows = openCaptures;
    for (HWND dialog : windows) {
        CaptureState* state = StateOf(dialog);
        char directive[SLOT_SIZE];
        if (state && !state->directive[0] && PlaceForCapture(state->root, directive))
            SetPlace(dialog, directive);
    }
}

void NoteCaptureKeyTaken(bool taken)
{
    captureKeyTaken = taken;
    for (HWND dialog : openCaptures)
        ShowNote(dialog);
}
