#include "fact_shape.h"
#include "entry_name.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <string.h>

std::string DescriptionFileName()
{
    return Text::DescriptionFile;
}

std::wstring DescriptionFileNameW()
{
    return WideFrom1251(Text::DescriptionFile);
}

std::string DescriptionFileIn(const std::string& factFolder)
{
    return factFolder + "\\" + Text::DescriptionFile;
}

std::wstring DescriptionFileInW(const std::wstring& factFolder)
{
    return factFolder + L"\\" + DescriptionFileNameW();
}

std::string MainTextFileIn(const std::string& factFolder, const std::string& factName)
{
    return factFolder + "\\" + MainTextFileName(factName);
}

std::wstring MainTextFileInW(const std::wstring& factFolder, const std::wstring& factName)
{
    return factFolder + L"\\" + MainTextFileNameW(factName);
}

std::string MainTextFileName(const std::string& factName)
{
    return factName + Text::MainTextExtension;
}

std::wstring MainTextFileNameW(const std::wstring& factName)
{
    return factName + WideFrom1251(Text::MainTextExtension);
}

std::string FactFolderOf(const std::string& root, const FactPlace& place)
{
    std::string folder = root;
    for (int level = 0; level < CATEGORY_LEVELS; level++)
        folder += "\\" + place.categories[level];
    return folder + "\\" + place.name;
}

bool PlaceOfFactFolder(const std::string& root, const std::string& folder, FactPlace* place)
{
    if (folder.compare(0, root.size() + 1, root + "\\") != 0)
        return false;
    std::string rest = folder.substr(root.size() + 1);
    FactPlace found;
    for (int level = 0; level < FACT_LEVEL; level++) {
        size_t separator = rest.find('\\');
        bool last = level == CATEGORY_LEVELS;
        if ((separator == std::string::npos) != last)
            return false;
        std::string part = last ? rest : rest.substr(0, separator);
        if (part.empty())
            return false;
        if (last)
            found.name = part;
        else
            found.categories[level] = part;
        rest = last ? std::string() : rest.substr(separator + 1);
    }
    *place = found;
    return true;
}

int LevelBelowRoot(const char* root, const char* path)
{
    if (!PathPlainBelow(path, root))
        return 0;
    int level = 0;
    size_t length = strlen(root);
    // A drive's top ends in the separator that starts the first segment.
    const char* rest = path + (root[length - 1] == '\\' ? length - 1 : length);
    for (; *rest; rest++)
        if (*rest == '\\')
            level++;
    return level;
}
