#include "branch_outline.h"
#include "../store/fact_shape.h"
#include "../store/fact_store.h"

#include <string.h>

namespace {

void OutlineFolder(const std::string& folder, int level, int depth, const std::string& number, BranchOutline* outline)
{
    std::vector<std::string> names;
    ListSubfolders(folder.c_str(), &names);
    int place = 0;
    for (const std::string& name : names) {
        if (name == "..")
            continue;
        std::string path = folder + "\\" + name;
        std::string numbered = number.empty() ? std::to_string(++place) : number + "." + std::to_string(++place);
        bool fact = level + 1 == FACT_LEVEL;
        outline->entries.push_back(OutlineEntry{ depth, numbered, name, path, fact });
        if (fact)
            outline->facts++;
        else
            OutlineFolder(path, level + 1, depth + 1, numbered, outline);
    }
}

}  // namespace

int LevelBelow(const std::string& root, const std::string& folder)
{
    std::string top = root;
    if (!top.empty() && top.back() == '\\')
        top.pop_back();
    if (folder.size() < top.size() || _strnicmp(folder.c_str(), top.c_str(), top.size()) != 0)
        return -1;
    if (folder.size() == top.size())
        return 0;
    if (folder[top.size()] != '\\' || folder.back() == '\\')
        return -1;
    int level = 0;
    for (size_t at = top.size(); at < folder.size(); at++)
        level += folder[at] == '\\';
    return level;
}

bool OutlineBranch(const std::string& root, const std::string& folder, BranchOutline* outline)
{
    outline->entries.clear();
    outline->facts = 0;
    int level = LevelBelow(root, folder);
    std::vector<std::string> probe;
    if (level < 0 || level > FACT_LEVEL || !ListSubfolders(folder.c_str(), &probe))
        return false;
    outline->title = level == 0 ? std::string() : folder.substr(folder.rfind('\\') + 1);
    if (level == FACT_LEVEL) {
        outline->entries.push_back(OutlineEntry{ 1, "1", outline->title, folder, true });
        outline->facts = 1;
        return true;
    }
    OutlineFolder(folder, level, 1, "", outline);
    return true;
}
