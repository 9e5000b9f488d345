#include "branch_outline.h"
#include "../store/fact_shape.h"
#include "../store/fact_store.h"

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

bool OutlineBranch(const std::string& root, const std::string& folder, BranchOutline* outline)
{
    outline->entries.clear();
    outline->facts = 0;
    int level = folder == root ? 0 : LevelBelowRoot(root.c_str(), folder.c_str());
    std::vector<std::string> probe;
    if ((level == 0 && folder != root) || level > FACT_LEVEL || !ListSubfolders(folder.c_str(), &probe))
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
