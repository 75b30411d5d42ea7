#pragma once

// The editor's dialogs and questions answered from a script (ScriptedPrompts), and modal
// windows closed once they show: what the editor's window tests share.

#include "EditorPrompts.h"
#include "common/ScriptedPrompts.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>

class EditorScript : public ScriptedPrompts
{
public:
    std::optional<QColor> chooseColour(const QColor &)
    {
        asked.push_back("colour");
        return std::nullopt;
    }
};

// ScriptedPrompts answers the core's questions; the editor adds the colour dialog.
class ScriptedEditorPrompts : public EditorPrompts
{
public:
    void showError(const std::string &text) override { script.showError(text); }
    Answer askYesNoCancel(const std::string &q) override { return script.askYesNoCancel(q); }
    bool askYesNo(const std::string &q) override { return script.askYesNo(q); }
    std::optional<std::string> chooseFileToOpen(const std::string &f, const std::string &d) override
    {
        return script.chooseFileToOpen(f, d);
    }
    std::optional<std::string> chooseFileToSave(const std::string &f, const std::string &d) override
    {
        return script.chooseFileToSave(f, d);
    }
    // The answer lists the chosen paths, one a line; "" cancels.
    std::vector<std::string> choosePictures(const std::string &folder) override
    {
        script.asked.push_back("pictures in " + folder);
        const std::optional<std::string> answer = script.chosen();
        std::vector<std::string> chosen;
        for (std::size_t start = 0; answer && start <= answer->size();) {
            const std::size_t end = std::min(answer->find('\n', start), answer->size());
            chosen.push_back(answer->substr(start, end - start));
            start = end + 1;
        }
        return chosen;
    }
    std::optional<std::string> choosePictureFolder(const std::string &folder) override
    {
        script.asked.push_back("picture folder in " + folder);
        return script.chosen();
    }
    std::optional<QColor> chooseColour(const QColor &initial) override
    {
        return script.chooseColour(initial);
    }
    std::optional<std::string> chooseProgram() override
    {
        return script.chooseFileToOpen("program", "");
    }
    void showLinkTip() override { script.asked.push_back("link tip"); }
    void showAbout() override { script.asked.push_back("about"); }
    void showWebBrowser() override { script.asked.push_back("web browser"); }
    // "new" starts a new project, "" chooses nothing, anything else is a template's path.
    TemplateChoice chooseTemplate(const std::filesystem::path &folder) override
    {
        script.asked.push_back("templates in " + folder.string());
        const std::string answer = script.answers.empty() ? "" : script.answers.front();
        if (!script.answers.empty())
            script.answers.pop_front();
        return answer == "new" ? TemplateChoice{true, {}} : TemplateChoice{false, answer};
    }
    void showHtmlCode(const std::string &page) override
    {
        script.asked.push_back("html code");
        shownText = page;
    }
    void showPublishReport(const std::string &report) override
    {
        script.asked.push_back("publish report");
        shownText = report;
    }
    EditorScript script;
    std::string shownText; // of the last HTML code or publish report window
};

// Closes the next modal window once it shows, after reading its text.
inline void closeNextModal(QString *text = nullptr)
{
    QTimer::singleShot(10, [text] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return closeNextModal(text);
        if (auto *memo = modal->findChild<QPlainTextEdit *>(); memo && text)
            *text = memo->toPlainText();
        modal->close();
    });
}
