#include "TfrmTemplet.h"

#include "QtText.h"
#include "model/MessageSink.h"
#include "platform/SettingsStore.h"
#include "platform/UserSettings.h"
#include "ui_TfrmTemplet.h"

#include <QKeyEvent>

namespace {

const std::string valueName = "ShowTempletsDialog";

} // namespace

TfrmTemplet::TfrmTemplet(std::filesystem::path folder, SettingsStore &settings, MessageSink &errors,
                         QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmTemplet>()), m_folder(std::move(folder)),
      m_settings(settings), m_errors(errors)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    fillList(errors);
    // Checking the box writes the value again, as every change of the box does.
    m_ui->chckbxDontShow->setChecked(!readShowFlag(m_settings, valueName));
    connect(m_ui->chckbxDontShow, &QCheckBox::toggled, this, &TfrmTemplet::chckbxDontShowClick);
    if (m_ui->chckbxDontShow->isChecked())
        chckbxDontShowClick();
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &TfrmTemplet::BitBtn1Click);
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, &TfrmTemplet::BitBtn2Click);
    connect(m_ui->TempletList, &QListWidget::itemDoubleClicked, this,
            &TfrmTemplet::TempletListDblClick);
}

TfrmTemplet::~TfrmTemplet() = default;

// A missing folder is made, empty; one that cannot be made is said, and the list stays empty.
void TfrmTemplet::fillList(MessageSink &errors)
{
    std::error_code error;
    if (!std::filesystem::is_directory(m_folder, error)) {
        if (!std::filesystem::create_directory(m_folder, error))
            errors.showError("Cannot create " + m_folder.string());
        return;
    }
    for (const auto &entry : std::filesystem::directory_iterator(m_folder, error))
        if (entry.path().extension() == ".jfs" && entry.is_regular_file(error))
            m_ui->TempletList->addItem(toQString(entry.path().filename().string()));
}

// The selected entry, not the current one: the list puts its cursor on the first entry when
// it takes the focus, and OK must not open a template nobody chose.
std::string TfrmTemplet::selectedPath() const
{
    const QList<QListWidgetItem *> selected = m_ui->TempletList->selectedItems();
    return selected.isEmpty() ? std::string()
                              : (m_folder / toBytes(selected.front()->text())).string();
}

// Esc is the Cancel button, which starts a new project; QDialog would only reject.
void TfrmTemplet::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel))
        return BitBtn2Click();
    QDialog::keyPressEvent(event);
}

void TfrmTemplet::BitBtn1Click()
{
    m_choice = {false, selectedPath()};
    accept();
}

void TfrmTemplet::TempletListDblClick()
{
    BitBtn1Click();
}

void TfrmTemplet::BitBtn2Click()
{
    m_choice = {true, {}};
    reject();
}

// Switching the chooser off may fail quietly; failing to switch it back on is said.
void TfrmTemplet::chckbxDontShowClick()
{
    const bool show = !m_ui->chckbxDontShow->isChecked();
    if (!writeFlag(m_settings, valueName, show) && show)
        m_errors.showError("Failed to set data for '" + valueName + "'");
}
