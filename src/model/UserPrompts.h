#pragma once

// Every question a command asks the user, and every file it asks for. The editor answers
// with message boxes and file dialogs; tests answer from a script and check what was asked.

#include "MessageSink.h"

#include <optional>
#include <string>

class UserPrompts : public MessageSink
{
public:
    enum class Answer { yes, no, cancel };

    // A warning with the buttons Yes, No and Cancel.
    virtual Answer askYesNoCancel(const std::string &question) = 0;
    // A warning whose buttons read Reload (yes), Overwrite (no) and Cancel.
    virtual Answer askReloadOverwriteCancel(const std::string &question)
    {
        return askYesNoCancel(question);
    }
    // A warning whose buttons read Replace (true) and Cancel.
    virtual bool askToReplace(const std::string &question) { return askYesNo(question); }
    // A warning with the buttons Yes and No.
    virtual bool askYesNo(const std::string &question) = 0;
    // A file to open or to save as, the dialog starting in initialFolder (where it likes
    // when empty); nothing when the user cancels. The filter reads
    // "Velloria Files (*.jfs)|*.jfs": a description and its pattern, separated by "|".
    virtual std::optional<std::string> chooseFileToOpen(const std::string &filter,
                                                        const std::string &initialFolder) = 0;
    virtual std::optional<std::string> chooseFileToSave(const std::string &filter,
                                                        const std::string &initialFolder) = 0;
};
