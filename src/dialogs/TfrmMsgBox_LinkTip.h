#pragma once

// The tip shown before a local page is chosen as a link: such links may not work in a
// browser. Its check box switches the tip off for good, stored at every change of the box.

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmMsgBox_LinkTip;
}
class MessageSink;
class SettingsStore;

class TfrmMsgBox_LinkTip : public QDialog
{
    Q_OBJECT
public:
    TfrmMsgBox_LinkTip(SettingsStore &settings, MessageSink &errors, QWidget *parent = nullptr);
    ~TfrmMsgBox_LinkTip() override;

    // Whether the tip is to be shown: yes while the value is missing, no when it cannot be
    // read as a number.
    static bool wanted(const SettingsStore &settings);

    Ui::TfrmMsgBox_LinkTip &ui() { return *m_ui; }
    void chckbxDontShowClick();

private:
    std::unique_ptr<Ui::TfrmMsgBox_LinkTip> m_ui;
    SettingsStore &m_settings;
    MessageSink &m_errors;
};
