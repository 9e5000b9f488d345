// The text on show in the browser: a fact's description or main text, read
// for showing, and written back over its file when the user asks.
#include "browser_state.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../store/base_changes.h"
#include "../store/conflict_copy.h"
#include "../store/entry_name.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"

#include <string.h>
#include <vector>

namespace {

bool TextEdited(HWND dialog)
{
    return StateOf(dialog)->ShownFileKind != SHOWN_NONE &&
           SendDlgItemMessageW(dialog, IDC_BROWSER_TEXT_VIEW, EM_GETMODIFY, 0, 0) != 0;
}

// The one reason the view's text may not go over the file on show, or NULL.
const char* WriteRefusal(const BrowserState* state)
{
    // Characters the view could not hold are in the file only: never write over them.
    if (state->ShownFormat.lossy)
        return Text::LostCharactersNotWritten;
    // Nor over what follows a NUL or 0x1A that ended the text on show.
    if (state->ShownFormat.cut)
        return Text::CutTextNotWritten;
    // A file reached through ".." lies outside the base, or at another place
    // than its path says: it is shown, never written.
    if (!PathPlainBelow(state->ShownFilePath, state->root))
        return Text::OutsideBase;
    return NULL;
}

void AnnounceShownFactChanged(const char* shownFile)
{
    char factFolder[SLOT_SIZE];
    if (SlotCopy(factFolder, shownFile) && strrchr(factFolder, '\\')) {
        *strrchr(factFolder, '\\') = '\0';
        AnnounceFactChanged(factFolder);
    }
}

// Writes the view over the file on show. A file changed or removed since it
// was shown is replaced only when the user says so. False when nothing was
// written; the text then stays in the view.
bool StoreShownText(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    if (const char* refusal = WriteRefusal(state)) {
        Complain(dialog, refusal);
        return false;
    }
    // The view holds at most a whole shown text, so the fetch takes all of it.
    std::vector<char> text(TEXT_BUFFER_SIZE);
    TextFit fetched = GetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, text.data(), TEXT_BUFFER_SIZE);
    if (fetched == TEXT_NOT_1251) {
        Complain(dialog, Text::TextNot1251);
        return false;
    }
    WriteResult result = WRITE_FAILED;
    if (fetched == TEXT_FITS) {
        FileState written;
        TextEncoding encoding = state->ShownFormat.encoding;
        result = ReplaceTextFile(state->ShownFilePath, text.data(), &state->ShownFileState, &written, encoding);
        if (result == WRITE_CHANGED_ELSEWHERE || result == WRITE_GONE) {
            const char* question = result == WRITE_GONE ? Text::GoneElsewhere : Text::ChangedElsewhere;
            if (MessageBox1251(dialog, question, Text::CaptionWarning, MB_YESNO) != IDYES)
                return false;
            result = ReplaceTextFile(state->ShownFilePath, text.data(), NULL, &written, encoding);
        }
        if (result == WRITE_DONE) {
            AnnounceShownFactChanged(state->ShownFilePath);
            state->ShownFileState = written;
            SetDlgItemText1251(dialog, IDC_BROWSER_NOTE, "");
            SendDlgItemMessageW(dialog, IDC_BROWSER_TEXT_VIEW, EM_SETMODIFY, FALSE, 0);
            return true;
        }
    }
    MessageBox1251(NULL, Text::FileNotWritten, Text::CaptionFile, MB_OK);
    return false;
}

// The file of the selected fact that kind names, into path.
bool ShownFileOf(HWND dialog, ShownFile kind, const char* factFolder, char* path)
{
    if (kind == SHOWN_DESCRIPTION)
        return DescriptionFilePath(factFolder, path);
    HWND list = GetDlgItem(dialog, IDC_BROWSER_FACT_LIST);
    char factName[SLOT_SIZE];
    int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    return FolderNameAt(list, selected, factName) == TEXT_FITS && MainTextFilePath(factFolder, factName, path);
}

}  // namespace

void ClearShownText(HWND dialog)
{
    SetDlgItemText1251(dialog, IDC_BROWSER_NOTE, "");
    SetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, Text::TextViewCleared);
    StateOf(dialog)->ShownFileKind = SHOWN_NONE;
}

bool MayLeaveText(HWND dialog)
{
    if (!TextEdited(dialog))
        return true;
    switch (MessageBox1251(dialog, Text::UnsavedFactText, Text::CaptionWarning, MB_YESNOCANCEL)) {
    case IDYES: return StoreShownText(dialog);
    case IDNO: return true;
    default: return false;
    }
}

bool ShowFactFile(HWND dialog, ShownFile kind, bool quiet)
{
    BrowserState* state = StateOf(dialog);
    // Nothing is on show from here on until the new text is: a write-back
    // pressed meanwhile must not store the blanks over the old file.
    ClearShownText(dialog);

    char factFolder[SLOT_SIZE];
    if (ComposeSelectionPath(dialog, BrowserCascade(dialog), FACT_LEVEL, factFolder) != SELECTION_COMPOSED)
        return false;
    SetCurrentDirectory1251(factFolder);
    SlotCopy(App.LastFolderPath, factFolder);

    char path[SLOT_SIZE];
    std::vector<char> text(TEXT_BUFFER_SIZE);
    FileState fileState;
    TextFormat format;
    bool read =
        ShownFileOf(dialog, kind, factFolder, path) && ReadTextFile(path, text.data(), &fileState, &format) == READ_OK;
    SetCurrentDirectory1251(state->root);
    if (!read) {
        if (!quiet)
            MessageBox1251(NULL, kind == SHOWN_DESCRIPTION ? Text::DescriptionNotFound : Text::MainTextNotFound,
                           Text::CaptionOpeningFile, MB_OK);
        return false;
    }
    SlotCopy(state->ShownFilePath, path);
    state->ShownFileState = fileState;
    state->ShownFormat = format;
    SetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, text.data());
    state->ShownFileKind = kind;
    // Someone's changes wait beside the file: a person decides which text wins.
    if (FactHasConflictCopy(factFolder))
        SetDlgItemText1251(dialog, IDC_BROWSER_NOTE, Text::ConflictCopyNote);
    if (format.cut)
        MessageBox1251(dialog, Text::CutTextShown, Text::CaptionWarning, MB_OK);
    else if (format.lossy)
        MessageBox1251(dialog, Text::LostCharactersShown, Text::CaptionWarning, MB_OK);
    return true;
}

void WriteBack(HWND dialog)
{
    if (StateOf(dialog)->ShownFileKind == SHOWN_NONE) {
        MessageBox1251(dialog, Text::SelectFactFirst, Text::CaptionChangeFact, MB_OK);
        return;
    }
    if (MessageBox1251(dialog, Text::ConfirmChange, Text::CaptionAttention, MB_OKCANCEL) != IDOK)
        return;
    StoreShownText(dialog);
}
