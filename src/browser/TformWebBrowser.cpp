#include "TformWebBrowser.h"

#include "EditorPrompts.h"
#include "QtText.h"
#include "ui_TformWebBrowser.h"

#include <QPushButton>

TformWebBrowser::TformWebBrowser(SettingsStore &settings, EditorPrompts &prompts,
                                 const std::vector<std::filesystem::path> &programFolders,
                                 QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TformWebBrowser>()), m_settings(settings),
      m_prompts(prompts), m_known(browserchoice::detect(programFolders))
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    for (const TBrowserEntry &entry : m_known)
        m_ui->ComboBoxBrowserList->addItem(toQString(entry.Name));
    m_ui->ComboBoxBrowserList->setCurrentIndex(-1);
    show(browserchoice::restore(m_settings, static_cast<int>(m_known.size())));
    connect(m_ui->RadioButtonBrowserKnownInSystem, &QRadioButton::toggled, this,
            &TformWebBrowser::RadioButtonBrowserKnownInSystemClick);
    connect(m_ui->ComboBoxBrowserList, &QComboBox::activated, this,
            &TformWebBrowser::ComboBoxBrowserListChange);
    connect(m_ui->spdbtnOpenExeFile, &QToolButton::clicked, this,
            &TformWebBrowser::spdbtnOpenExeFileClick);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &TformWebBrowser::bitbtnOkClick);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TformWebBrowser::~TformWebBrowser() = default;

// With all three flags false no button is checked, which radio buttons in one group do not
// allow unless the group lets go of exclusiveness for the moment.
void TformWebBrowser::show(const BrowserChoice &choice)
{
    QRadioButton *buttons[] = {m_ui->RadioButtonBrowserDefault,
                               m_ui->RadioButtonBrowserKnownInSystem,
                               m_ui->RadioButtonBrowserUserSpecify};
    const bool checked[] = {choice.useDefault, choice.useKnown, choice.useSpecified};
    for (int i = 0; i < 3; ++i) {
        buttons[i]->setAutoExclusive(false);
        buttons[i]->setChecked(checked[i]);
        buttons[i]->setAutoExclusive(true);
    }
    m_ui->ComboBoxBrowserList->setCurrentIndex(choice.selected);
    m_ui->editSpecifiedBrowserFileName->setText(toQString(choice.specifiedPath));
}

BrowserChoice TformWebBrowser::choice() const
{
    BrowserChoice choice;
    choice.useDefault = m_ui->RadioButtonBrowserDefault->isChecked();
    choice.useKnown = m_ui->RadioButtonBrowserKnownInSystem->isChecked();
    choice.useSpecified = m_ui->RadioButtonBrowserUserSpecify->isChecked();
    choice.selected = m_ui->ComboBoxBrowserList->currentIndex();
    choice.specifiedPath = toBytes(m_ui->editSpecifiedBrowserFileName->text());
    return choice;
}

void TformWebBrowser::RadioButtonBrowserKnownInSystemClick()
{
    if (m_ui->RadioButtonBrowserKnownInSystem->isChecked() && m_known.empty())
        m_ui->RadioButtonBrowserDefault->setChecked(true);
}

void TformWebBrowser::ComboBoxBrowserListChange()
{
    m_ui->RadioButtonBrowserKnownInSystem->setChecked(true);
}

void TformWebBrowser::spdbtnOpenExeFileClick()
{
    if (const std::optional<std::string> chosen = m_prompts.chooseProgram())
        m_ui->editSpecifiedBrowserFileName->setText(toQString(*chosen));
}

void TformWebBrowser::bitbtnOkClick()
{
    browserchoice::store(m_settings, choice());
    accept();
}

void TformWebBrowser::OpenInBrowser(const std::string &folder, const std::string &fileName,
                                    Launcher &launcher)
{
    browserchoice::openInBrowser(choice(), m_known, folder + fileName, launcher);
}
