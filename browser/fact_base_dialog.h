// The fact base browser: five cascading folder lists, a fact's texts shown,
// edited and written back, the entry menu (rename, delete), and the doors to
// the category editor and the wizard.
#pragma once
#include <windows.h>

INT_PTR CALLBACK FactBaseDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The browser opened or activated last, NULL when none is open. It answers
// WM_FACTS_SHOW_FACT (a FactToShow, ui/fact_opening.h, in lParam).
HWND MostRecentBrowser();
