#pragma once

#include "ProgressDisplay.h"

#include <string>

// Shows a status text and the busy cursor for one long operation and resets the progress
// display when the operation ends, however it ends.
class ProgressScope
{
public:
    ProgressScope(ProgressDisplay &progress, const std::string &status, int maximum = -1)
        : m_progress(progress)
    {
        if (maximum >= 0)
            m_progress.setMaximum(maximum);
        m_progress.showStatus(status);
        m_progress.setBusy(true);
    }
    ~ProgressScope()
    {
        m_progress.resetPosition();
        m_progress.clearStatus();
        m_progress.setBusy(false);
    }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

private:
    ProgressDisplay &m_progress;
};
