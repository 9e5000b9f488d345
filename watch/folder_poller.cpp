#include "folder_poller.h"
#include "../platform/platform_text.h"
#include "../store/folder_walk.h"

namespace {

// FNV-1a, over every byte that tells one look from another.
void Mix(unsigned long long* hash, const void* bytes, size_t size)
{
    for (size_t i = 0; i < size; i++) {
        *hash ^= ((const unsigned char*)bytes)[i];
        *hash *= 1099511628211ull;
    }
}

bool MixEntry(const FolderEntry& entry, void* context)
{
    // Order-free: the file system may list the same folder in another order.
    unsigned long long one = 14695981039346656037ull;
    Mix(&one, entry.name, wcslen(entry.name) * sizeof(wchar_t));
    Mix(&one, &entry.stamp.size, sizeof entry.stamp.size);
    Mix(&one, &entry.stamp.lastWrite, sizeof entry.stamp.lastWrite);
    *(unsigned long long*)context += one * 2 + 1;
    return true;
}

}  // namespace

unsigned long long FolderSignature(const std::string& folder)
{
    unsigned long long signature = 0;
    if (!VisitFolder(WideFrom1251(folder.c_str()), MixEntry, &signature))
        return ~0ull;
    return signature;
}

std::vector<std::string> PollFolders(std::map<std::string, unsigned long long>* seen, const std::set<std::string>& open)
{
    std::vector<std::string> changed;
    std::map<std::string, unsigned long long> now;
    for (const std::string& folder : open) {
        unsigned long long signature = FolderSignature(folder);
        auto before = seen->find(folder);
        if (before != seen->end() && before->second != signature)
            changed.push_back(folder);
        now[folder] = signature;
    }
    seen->swap(now);
    return changed;
}
