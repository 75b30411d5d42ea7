#pragma once

// Messages the model shows the user itself (a refused file, say) rather than raising
// them: the editor shows a message box, the command-line tool writes to stderr.

#include <string>

class MessageSink
{
public:
    virtual ~MessageSink() = default;

    virtual void showError(const std::string &text) = 0;
};
