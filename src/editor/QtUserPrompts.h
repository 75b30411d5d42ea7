#pragma once

// The editor's questions as message boxes and file and colour dialogs, over a parent window.

#include "EditorPrompts.h"

class QWidget;
class Launcher;
class SettingsStore;

class QtUserPrompts : public EditorPrompts
{
public:
    QtUserPrompts(QWidget *parent, SettingsStore &settings, Launcher &launcher)
        : m_parent(parent), m_settings(settings), m_launcher(launcher)
    {}

    void showError(const std::string &text) override;
    Answer askYesNoCancel(const std::string &question) override;
    Answer askReloadOverwriteCancel(const std::string &question) override;
    bool askToReplace(const std::string &question) override;
    bool askYesNo(const std::string &question) override;
    std::optional<std::string> chooseFileToOpen(const std::string &filter,
                                                const std::string &initialFolder) override;
    std::optional<std::string> chooseFileToSave(const std::string &filter,
                                                const std::string &initialFolder) override;
    std::vector<std::string> choosePictures(const std::string &initialFolder) override;
    std::optional<std::string> choosePictureFolder(const std::string &initialFolder) override;
    std::optional<QColor> chooseColour(const QColor &initial) override;
    std::optional<std::string> chooseProgram() override;
    void showLinkTip() override;
    void showAbout() override;
    void showWebBrowser() override;
    TemplateChoice chooseTemplate(const std::filesystem::path &folder) override;
    void showHtmlCode(const std::string &page) override;
    void showPublishReport(const std::string &report) override;

    // "Velloria Files (*.jfs)|*.jfs" as Qt writes filters: "Velloria Files (*.jfs)".
    static QString qtFilter(const std::string &filter);

private:
    QWidget *m_parent;
    SettingsStore &m_settings;
    Launcher &m_launcher;
};
