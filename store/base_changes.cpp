#include "base_changes.h"

#include <stddef.h>

namespace {

struct Listener {
    BaseChangeListener listener;
    void* context;
};

Listener Listeners[MAX_BASE_LISTENERS];

}  // namespace

bool ListenToBaseChanges(BaseChangeListener listener, void* context)
{
    int free = -1;
    for (int i = 0; i < MAX_BASE_LISTENERS; i++) {
        if (Listeners[i].listener == listener && Listeners[i].context == context)
            return true;
        if (!Listeners[i].listener && free < 0)
            free = i;
    }
    if (free < 0)
        return false;
    Listeners[free].listener = listener;
    Listeners[free].context = context;
    return true;
}

void StopListeningToBaseChanges(BaseChangeListener listener, void* context)
{
    for (int i = 0; i < MAX_BASE_LISTENERS; i++)
        if (Listeners[i].listener == listener && Listeners[i].context == context)
            Listeners[i] = Listener();
}

void AnnounceBaseChange(const BaseChange& change)
{
    // A slot is read afresh for every call, so a listener that stopped
    // meanwhile is never called; one that began meanwhile may be.
    for (int i = 0; i < MAX_BASE_LISTENERS; i++) {
        Listener slot = Listeners[i];
        if (slot.listener)
            slot.listener(change, slot.context);
    }
}

void AnnounceFactChanged(const char* factFolder)
{
    AnnounceBaseChange(BaseChange{ BASE_FACT_CHANGED, factFolder, NULL });
}

void AnnounceFolderCreated(const char* folder)
{
    AnnounceBaseChange(BaseChange{ BASE_FOLDER_CREATED, folder, NULL });
}

void AnnounceFolderMoved(const char* from, const char* to)
{
    AnnounceBaseChange(BaseChange{ BASE_FOLDER_MOVED, from, to });
}

void AnnounceFolderRemoved(const char* folder)
{
    AnnounceBaseChange(BaseChange{ BASE_FOLDER_REMOVED, folder, NULL });
}

void AnnounceFolderChanged(const char* folder)
{
    AnnounceBaseChange(BaseChange{ BASE_FOLDER_CHANGED, folder, NULL });
}

void AnnounceAnythingChanged(const char* root)
{
    AnnounceBaseChange(BaseChange{ BASE_ANYTHING_CHANGED, root, NULL });
}

void AnnounceChangeComing(const char* folder, const char* newFolder)
{
    AnnounceBaseChange(BaseChange{ BASE_CHANGE_COMING, folder, newFolder });
}

void AnnounceChangeOver(const char* folder, const char* newFolder)
{
    AnnounceBaseChange(BaseChange{ BASE_CHANGE_OVER, folder, newFolder });
}
