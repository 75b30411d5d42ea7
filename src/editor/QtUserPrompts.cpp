#include "QtUserPrompts.h"

#include "QtText.h"
#include "TformAbout.h"
#include "TformHTML.h"
#include "TformWebBrowser.h"
#include "TfrmMsgBox_LinkTip.h"
#include "TfrmPublishReport.h"
#include "TfrmTemplet.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

void QtUserPrompts::showError(const std::string &text)
{
    QMessageBox::critical(m_parent, QStringLiteral("Velloria"), toQString(text));
}

UserPrompts::Answer QtUserPrompts::askYesNoCancel(const std::string &question)
{
    const auto button = QMessageBox::warning(
        m_parent, QStringLiteral("Velloria"), toQString(question),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return button == QMessageBox::Yes  ? Answer::yes
           : button == QMessageBox::No ? Answer::no
                                       : Answer::cancel;
}

bool QtUserPrompts::askToReplace(const std::string &question)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velloria"), toQString(question),
                    QMessageBox::Cancel, m_parent);
    QPushButton *replace = box.addButton(QStringLiteral("&Replace"), QMessageBox::DestructiveRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == replace;
}

bool QtUserPrompts::askYesNo(const std::string &question)
{
    return QMessageBox::warning(m_parent, QStringLiteral("Velloria"), toQString(question),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

// Pairs of description and patterns; patterns are separated by ";" and Qt wants blanks.
QString QtUserPrompts::qtFilter(const std::string &filter)
{
    const QStringList parts = toQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString description = parts[i];
        // A description that names its patterns already shows them; Qt would add them again.
        const qsizetype open = description.indexOf(QLatin1Char('('));
        if (open >= 0)
            description = description.left(open).trimmed();
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtUserPrompts::chooseFileToOpen(const std::string &filter,
                                                           const std::string &initialFolder)
{
    const QString chosen = QFileDialog::getOpenFileName(m_parent, QString(),
                                                        toQString(initialFolder), qtFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return toBytes(chosen);
}

// The commands ask before replacing a project themselves, for the file the save really
// writes ("demo" writes demo.jfs); the dialog's own question would ask about "demo".
std::optional<std::string> QtUserPrompts::chooseFileToSave(const std::string &filter,
                                                           const std::string &initialFolder)
{
    QFileDialog dialog(m_parent, QString(), toQString(initialFolder), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QStringLiteral("jfs"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return toBytes(dialog.selectedFiles().front());
}

// File names on Linux keep their case: a camera's "IMG_0001.JPG" must show as well.
std::vector<std::string> QtUserPrompts::choosePictures(const std::string &initialFolder)
{
    QFileDialog dialog(m_parent, QStringLiteral("Add Pictures"), toQString(initialFolder),
                       QStringLiteral("JPEG pictures (*.jpg *.jpeg *.jpe *.jfif *.JPG *.JPEG "
                                      "*.JPE *.JFIF *.Jpg *.Jpeg)"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Add"));
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString &path : dialog.selectedFiles())
            chosen.push_back(toBytes(path));
    return chosen;
}

std::optional<std::string> QtUserPrompts::choosePictureFolder(const std::string &initialFolder)
{
    const QString chosen = QFileDialog::getExistingDirectory(
        m_parent, QStringLiteral("Add Picture Folder"), toQString(initialFolder));
    if (chosen.isEmpty())
        return std::nullopt;
    return toBytes(chosen);
}

UserPrompts::Answer QtUserPrompts::askReloadOverwriteCancel(const std::string &question)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velloria"), toQString(question),
                    QMessageBox::NoButton, m_parent);
    QPushButton *reload = box.addButton(QStringLiteral("&Reload"), QMessageBox::AcceptRole);
    QPushButton *overwrite =
        box.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == reload      ? Answer::yes
           : box.clickedButton() == overwrite ? Answer::no
                                              : Answer::cancel;
}

// Programs on Linux have no extension to filter by: the dialog filters by permission.
std::optional<std::string> QtUserPrompts::chooseProgram()
{
    QFileDialog dialog(m_parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    dialog.setDirectory(QStringLiteral("/usr/bin"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return toBytes(dialog.selectedFiles().front());
}

std::optional<QColor> QtUserPrompts::chooseColour(const QColor &initial)
{
    const QColor chosen = QColorDialog::getColor(initial, m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

void QtUserPrompts::showLinkTip()
{
    TfrmMsgBox_LinkTip tip(m_settings, *this, m_parent);
    tip.exec();
}

void QtUserPrompts::showAbout()
{
    TformAbout about(m_launcher, m_parent);
    about.exec();
}

void QtUserPrompts::showWebBrowser()
{
    TformWebBrowser dialog(m_settings, *this, browserchoice::standardProgramFolders(), m_parent);
    dialog.exec();
}

TemplateChoice QtUserPrompts::chooseTemplate(const std::filesystem::path &folder)
{
    TfrmTemplet chooser(folder, m_settings, *this, m_parent);
    chooser.exec();
    return chooser.choice();
}

void QtUserPrompts::showHtmlCode(const std::string &page)
{
    TformHTML window(m_parent);
    window.setText(toQString(page));
    window.exec();
}

void QtUserPrompts::showPublishReport(const std::string &report)
{
    TfrmPublishReport window(toQString(report), m_parent);
    window.exec();
}
