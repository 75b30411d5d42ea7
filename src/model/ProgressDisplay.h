#pragma once

// Where long operations report: a status text, a progress bar and the busy cursor.
// The base class does nothing, which is right for a caller without a window.

#include <string>

class ProgressDisplay
{
public:
    virtual ~ProgressDisplay() = default;

    virtual void showStatus(const std::string &) {}
    virtual void clearStatus() {}
    virtual void setMaximum(int) {}
    virtual void advance(int) {}
    virtual void resetPosition() {}
    virtual void setBusy(bool) {}
};
