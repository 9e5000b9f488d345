#include "fact_shape.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

std::string MainTextFileName(const std::string& factName)
{
    return factName + Text::MainTextExtension;
}

std::wstring MainTextFileNameW(const std::wstring& factName)
{
    return factName + WideFrom1251(Text::MainTextExtension);
}
