#include "capture_places.h"
#include "capture_base.h"
#include "../store/path_slot.h"
#include "../ui/app_state.h"

#include <process.h>
#include <string>

namespace {

SRWLOCK newestLock = SRWLOCK_INIT;
bool newestKnown;
char newestDirective[SLOT_SIZE];

struct Look {
    std::string root;
    HWND window;
    UINT message;
};

unsigned __stdcall LookForNewest(void* parameter)
{
    Look* look = (Look*)parameter;
    // Never in the way of the windows or of the search index's first walk.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    char found[SLOT_SIZE];
    bool any = NewestFactDirective(look->root.c_str(), found);
    AcquireSRWLockExclusive(&newestLock);
    SlotCopy(newestDirective, any ? found : "");
    newestKnown = true;
    ReleaseSRWLockExclusive(&newestLock);
    PostMessageW(look->window, look->message, 0, 0);
    delete look;
    return 0;
}

}  // namespace

void StartLookingForNewestPlace(const char* root, HWND window, UINT message)
{
    LetWalksGiveWay();
    Look* look = new Look{ root, window, message };
    uintptr_t thread = _beginthreadex(NULL, 0, LookForNewest, look, 0, NULL);
    if (thread)
        CloseHandle((HANDLE)thread);
    else
        delete look;
}

bool NewestPlaceFound(char* directive)
{
    AcquireSRWLockShared(&newestLock);
    bool found = newestKnown && newestDirective[0] && SlotCopy(directive, newestDirective);
    ReleaseSRWLockShared(&newestLock);
    if (!found)
        directive[0] = '\0';
    return found;
}

bool PlaceForCapture(const char* root, char* directive)
{
    if (IsDirectiveOf(root, App.LastDirective) && SlotCopy(directive, App.LastDirective))
        return true;
    if (NewestPlaceFound(directive) && IsDirectiveOf(root, directive))
        return true;
    directive[0] = '\0';
    return false;
}
