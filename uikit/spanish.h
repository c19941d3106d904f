// Spanish for everything the toolkit itself shows: wx's own texts (stock
// buttons, the find dialog, file dialogs) and GTK's.
#pragma once

namespace ulk {

// Before the toolkit starts (first thing in main): GTK's own texts follow
// the process locale, and gettext ignores the language asked for under the
// "C" locale; so a "C" or unset locale becomes "C.UTF-8" and Spanish is
// asked for. Children inherit it.
void PrepareSpanishEnvironment();

// Once the application object exists: wx's translations of its own texts
// in Spanish (catalog "wxstd"). Needs no generated system locale, unlike
// wxLocale, which would show an error box where Spanish is not generated.
bool SetUpSpanishTranslations();

}  // namespace ulk
