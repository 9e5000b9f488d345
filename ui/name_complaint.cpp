#include "name_complaint.h"
#include "../resources/ui_strings.h"

const char* ComplaintForName(NameRule rule, const NameComplaints& own)
{
    switch (rule) {
    case NAME_EMPTY: return own.empty;
    case NAME_DOTS: return Text::NameDots;
    case NAME_BAD_CHARACTERS: return Text::NameBadCharacters;
    case NAME_NOT_1251: return Text::NameNot1251;
    case NAME_TRAILING: return Text::NameTrailing;
    case NAME_RESERVED: return Text::NameReserved;
    case NAME_TAKEN: return own.taken;
    case NAME_TOO_LONG: return own.tooLong;
    default: return 0;
    }
}
