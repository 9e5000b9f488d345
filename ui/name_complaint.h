// The message for a name the one name rule refused. The rules that are the
// same everywhere have one text; each dialog words the three that depend on
// what is being named (nothing typed, the name taken, the path too long).
#pragma once
#include "../store/entry_name.h"

struct NameComplaints {
    const char* empty;
    const char* taken;  // NULL: a taken name is passed on in silence
    const char* tooLong;
};

// NULL for NAME_OK, or for a refusal the dialog passes on in silence.
const char* ComplaintForName(NameRule rule, const NameComplaints& own);
