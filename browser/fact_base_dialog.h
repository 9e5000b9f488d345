// The fact base browser: five cascading folder lists, a fact's texts shown,
// edited and written back, and the doors to the category editor and the wizard.
#pragma once
#include <windows.h>
#include "../store/fact_shape.h"
#include "../ui/app_messages.h"

INT_PTR CALLBACK FactBaseDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The browser opened or activated last, NULL when none is open.
HWND MostRecentBrowser();

// WM_FACTS_SHOW_FACT, sent to a browser with this in lParam: walk its lists down to a fact as clicks would, show its
// main text (its description when the main text cannot be read) and select
// the first place that answers the query. The unsaved-text question comes
// first. The result is TRUE when the fact is on show.
struct FactToShow {
    const char* categories[CATEGORY_LEVELS];
    const char* name;
    const char* query;  // Windows-1251, as typed into the search
};
