#include "TfrmMsgBox_LinkTip.h"

#include "model/MessageSink.h"
#include "platform/SettingsStore.h"
#include "platform/UserSettings.h"
#include "ui_TfrmMsgBox_LinkTip.h"

namespace {

const std::string valueName = "ShowLinkTipDialog";

// Opens with creation level by level, as every writer of the settings does.
bool writeShowTip(SettingsStore &settings, bool show)
{
    return settings.createKey(usersettings::companyKey) &&
           settings.createKey(usersettings::versionKey) &&
           settings.createKey(usersettings::settingsKey) &&
           settings.writeNumber(usersettings::settingsKey, valueName, show ? 1 : 0);
}

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
    const SettingRead<std::int32_t> read =
        settings.readNumber(usersettings::settingsKey, valueName);
    using Status = SettingRead<std::int32_t>::Status;
    return read.status == Status::value ? read.value != 0 : read.status != Status::wrongType;
}

// Switching the tip off may fail quietly; failing to switch it back on is said.
void TfrmMsgBox_LinkTip::chckbxDontShowClick()
{
    const bool show = !m_ui->chckbxDontShow->isChecked();
    bool written = false;
    try {
        written = writeShowTip(m_settings, show);
    } catch (const std::exception &) {
        written = false;
    }
    if (!written && show)
        m_errors.showError("Failed to set data for '" + valueName + "'");
}
