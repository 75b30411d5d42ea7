#include "TfrmMsgBox_LinkTip.h"

#include "model/MessageSink.h"
#include "platform/SettingsStore.h"
#include "platform/UserSettings.h"
#include "ui_TfrmMsgBox_LinkTip.h"

namespace {

const std::string valueName = "ShowLinkTipDialog";

} // namespace

TfrmMsgBox_LinkTip::TfrmMsgBox_LinkTip(SettingsStore &settings, MessageSink &errors,
                                       QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmMsgBox_LinkTip>()), m_settings(settings),
      m_errors(errors)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowCloseButtonHint);
    connect(m_ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->chckbxDontShow, &QCheckBox::toggled, this,
            &TfrmMsgBox_LinkTip::chckbxDontShowClick);
}

TfrmMsgBox_LinkTip::~TfrmMsgBox_LinkTip() = default;

bool TfrmMsgBox_LinkTip::wanted(const SettingsStore &settings)
{
    return readShowFlag(settings, valueName);
}

// Switching the tip off may fail quietly; failing to switch it back on is said.
void TfrmMsgBox_LinkTip::chckbxDontShowClick()
{
    const bool show = !m_ui->chckbxDontShow->isChecked();
    if (!writeFlag(m_settings, valueName, show) && show)
        m_errors.showError("Failed to set data for '" + valueName + "'");
}
