#pragma once

// The main window's hint line, progress bar and busy cursor as the core's progress display.
// Long work runs on the window's thread; each step lets the window repaint (but takes no
// clicks or keys), so the bar moves and the window does not look hung.

#include "model/ProgressDisplay.h"

class QLabel;
class QProgressBar;

class WindowProgress : public ProgressDisplay
{
public:
    WindowProgress(QLabel &hint, QProgressBar &bar) : m_hint(hint), m_bar(bar) {}
    ~WindowProgress() override;

    void showStatus(const std::string &text) override;
    void clearStatus() override;
    void setMaximum(int value) override;
    void advance(int step) override;
    void resetPosition() override;
    void setBusy(bool on) override;

private:
    void repaint();

    QLabel &m_hint;
    QProgressBar &m_bar;
    int m_busy = 0;
};
