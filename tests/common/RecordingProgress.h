#pragma once

#include "model/MessageSink.h"
#include "model/ProgressDisplay.h"

#include <string>
#include <vector>

// Remembers what a long operation showed, for tests that check the user saw it.
class RecordingProgress : public ProgressDisplay
{
public:
    void showStatus(const std::string &text) override { statuses.push_back(text), status = text; }
    void clearStatus() override { status.clear(); }
    void setMaximum(int value) override { maximum = value; }
    void advance(int step) override { position += step, advanced += step; }
    void resetPosition() override { position = 0; }
    void setBusy(bool on) override { busy = on; }

    std::vector<std::string> statuses;
    std::string status;
    int maximum = 0;
    int position = 0;
    int advanced = 0;
    bool busy = false;
};

class RecordingMessages : public MessageSink
{
public:
    void showError(const std::string &text) override { errors.push_back(text); }
    std::vector<std::string> errors;
};
