#pragma once

// The template chooser: the project files of the templates folder, one of which OK or a
// double click opens, while Cancel or Esc starts a new project. Its check box is kept in the
// settings at every change; nothing else of the program reads it.

#include "TemplateChoice.h"

#include <QDialog>
#include <filesystem>
#include <memory>
#include <string>

namespace Ui {
class TfrmTemplet;
}
class MessageSink;
class SettingsStore;

class TfrmTemplet : public QDialog
{
    Q_OBJECT
public:
    TfrmTemplet(std::filesystem::path folder, SettingsStore &settings, MessageSink &errors,
                QWidget *parent = nullptr);
    ~TfrmTemplet() override;

    Ui::TfrmTemplet &ui() { return *m_ui; }
    const TemplateChoice &choice() const { return m_choice; }

    void BitBtn1Click();
    void BitBtn2Click();
    void TempletListDblClick();
    void chckbxDontShowClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillList(MessageSink &errors);
    std::string selectedPath() const;

    std::unique_ptr<Ui::TfrmTemplet> m_ui;
    std::filesystem::path m_folder;
    SettingsStore &m_settings;
    MessageSink &m_errors;
    TemplateChoice m_choice;
};
