#pragma once

#include <string>

// The modal message boxes the program shows, so that the controller and the
// window can warn and ask without knowing how it is shown (or, in tests and
// on the command line, recorded). Every box carries the caption "Velkaris
// v1.1.2".
class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A warning with one OK button; returns when it is dismissed.
    virtual void Warning(const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
};
