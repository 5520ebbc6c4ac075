#pragma once

#include <cstddef>
#include <functional>

#include "settings/Preferences.h"

// The preferences dialog as the controller sees it: it shows a form for the
// user to edit and says how it was closed. The main window supplies the real
// dialog; tests supply a scripted one. The controller creates it once and
// keeps it, so that it opens again on the page last used.
class PreferencesDialog {
public:
    enum Result { Cancel, Apply, Save };

    // A catalogue moved from one list to the other: load is true when it is
    // now among those to load. Taken over at once, whichever button then
    // closes the dialog.
    using CatalogueMove = std::function<void(std::size_t slot, bool load)>;

    virtual ~PreferencesDialog() = default;

    // Shows the form modally and leaves the user's edits in it. Apply and
    // Save come back only with a form that PreferencesProblem finds nothing
    // wrong with.
    virtual Result Execute(PreferencesForm& form, const CatalogueMove& move) = 0;
};
