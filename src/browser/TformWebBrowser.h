#pragma once

// The browser choice: the desktop's default browser, one of those found installed, or a
// program of the user's. Made afresh for each use: shown by Option > Web Browser, where OK
// keeps the choice, or only built by Preview to open its page with the stored choice.

#include "platform/BrowserChoice.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TformWebBrowser;
}
class EditorPrompts;

class TformWebBrowser : public QDialog
{
    Q_OBJECT
public:
    TformWebBrowser(SettingsStore &settings, EditorPrompts &prompts,
                    const std::vector<std::filesystem::path> &programFolders,
                    QWidget *parent = nullptr);
    ~TformWebBrowser() override;

    Ui::TformWebBrowser &ui() { return *m_ui; }
    const std::vector<TBrowserEntry> &KnownBrowsers() const { return m_known; }
    BrowserChoice choice() const;

    void OpenInBrowser(const std::string &folder, const std::string &fileName, Launcher &launcher);
    void bitbtnOkClick();
    void RadioButtonBrowserKnownInSystemClick();
    void ComboBoxBrowserListChange();
    void spdbtnOpenExeFileClick();

private:
    void show(const BrowserChoice &choice);

    std::unique_ptr<Ui::TformWebBrowser> m_ui;
    SettingsStore &m_settings;
    EditorPrompts &m_prompts;
    std::vector<TBrowserEntry> m_known;
};
