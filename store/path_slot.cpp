#include "path_slot.h"
#include <string.h>

bool SlotCopy(char* slot, const char* text)
{
    size_t length = strlen(text);
    if (length > (size_t)SLOT_CHARS)
        return false;
    memmove(slot, text, length + 1);
    return true;
}

bool SlotJoin(char* slot, const char* a, const char* b, const char* c, const char* d)
{
    const char* parts[4] = { a, b, c, d };
    char joined[SLOT_SIZE];
    size_t used = 0;
    for (int i = 0; i < 4; i++) {
        size_t length = strlen(parts[i]);
        if (used + length > (size_t)SLOT_CHARS)
            return false;
        memcpy(joined + used, parts[i], length);
        used += length;
    }
    joined[used] = '\0';
    memcpy(slot, joined, used + 1);
    return true;
}

bool SlotEquals(const char* slot, const char* text)
{
    return strcmp(slot, text) == 0;
}

bool PathAtOrBelow(const char* path, const char* folder)
{
    size_t length = strlen(folder);
    return strncmp(path, folder, length) == 0 && (path[length] == '\0' || path[length] == '\\');
}
