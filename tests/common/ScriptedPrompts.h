#pragma once

// Answers the commands' questions and dialogs from a script, and records what was asked:
// "question: ...", "confirm: ...", "error: ...", "open: <filter>" (with " in <folder>" when a
// folder is given), "save: <filter> in <folder>".
// A dialog's answer is a path, or "" to cancel it; a question's is "yes", "no" or "cancel".

#include "model/UserPrompts.h"

#include <deque>
#include <string>
#include <vector>

class ScriptedPrompts : public UserPrompts
{
public:
    void showError(const std::string &text) override { asked.push_back("error: " + text); }
    Answer askYesNoCancel(const std::string &question) override
    {
        asked.push_back("question: " + question);
        const std::string answer = next();
        return answer == "yes" ? Answer::yes : answer == "no" ? Answer::no : Answer::cancel;
    }
    bool askYesNo(const std::string &question) override
    {
        asked.push_back("confirm: " + question);
        return next() == "yes";
    }
    std::optional<std::string> chooseFileToOpen(const std::string &filter,
                                                const std::string &folder) override
    {
        asked.push_back("open: " + filter + (folder.empty() ? "" : " in " + folder));
        return chosen();
    }
    std::optional<std::string> chooseFileToSave(const std::string &filter,
                                                const std::string &folder) override
    {
        asked.push_back("save: " + filter + " in " + folder);
        return chosen();
    }

    std::deque<std::string> answers;
    std::vector<std::string> asked;

    // The next dialog's answer: a path, or nothing for "" (cancel).
    std::optional<std::string> chosen()
    {
        std::string path = next();
        if (path.empty() || path == "unanswered")
            return std::nullopt;
        return path;
    }

private:
    std::string next()
    {
        if (answers.empty())
            return "unanswered";
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
