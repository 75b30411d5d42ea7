// The File and Script menus, the recent files and the connections of menus and pages.

#include "QtText.h"
#include "TMainForm.h"
#include "TformWebBrowser.h"
#include "TfrmHelp.h"
#include "ui_TMainForm.h"

#include <QTimer>

void TMainForm::connectMenus()
{
    const std::pair<QAction *, void (TMainForm::*)()> handlers[] = {
        {m_ui->New1, &TMainForm::New1Click},
        {m_ui->Open1, &TMainForm::Open1Click},
        {m_ui->Save1, &TMainForm::Save1Click},
        {m_ui->Save2, &TMainForm::Save2Click},
        {m_ui->SaveAsTemplate1, &TMainForm::SaveAsTemplate1Click},
        {m_ui->Exit1, &TMainForm::Exit1Click},
        {m_ui->Insert2, &TMainForm::Insert1Click},
        {m_ui->Delete2, &TMainForm::Delete1Click},
        {m_ui->MoveUp2, &TMainForm::MoveUp1Click},
        {m_ui->MoveDown2, &TMainForm::MoveDown1Click},
        {m_ui->AddPictures1, &TMainForm::AddPictures1Click},
        {m_ui->AddPictureFolder1, &TMainForm::AddPictureFolder1Click},
        {m_ui->BuildHTML1, &TMainForm::BuildHTML1Click},
        {m_ui->Publish1, &TMainForm::Publish1Click},
        {m_ui->ToolBar1, &TMainForm::ToolBar1Click},
        {m_ui->StatusBar2, &TMainForm::StatusBar2Click},
        {m_ui->Homepage1, &TMainForm::Homepage1Click},
        {m_ui->ContactUs1, &TMainForm::ContactUs1Click},
        {m_ui->About1, &TMainForm::About1Click},
        {m_ui->WebBrowser1, &TMainForm::WebBrowser1Click},
        {m_ui->Templet1, &TMainForm::Templet1Click},
        {m_ui->Topic1, &TMainForm::Topic1Click},
        {m_ui->ViewSample1, &TMainForm::ViewSample1Click},
        {m_ui->Preview1, &TMainForm::Preview1Click},
    };
    for (const auto &[action, handler] : handlers)
        connect(action, &QAction::triggered, this, handler);
}

void TMainForm::New1Click()
{
    run([&] { m_commands->newProject(); });
    UpdateItemCommands();
}

void TMainForm::Open1Click()
{
    run([&] { m_commands->open(); });
    UpdateItemCommands();
}

void TMainForm::Save1Click()
{
    run([&] { m_commands->save(); });
    updateTitle();
}

void TMainForm::Save2Click()
{
    run([&] { m_commands->saveAs(); });
    updateTitle();
}

void TMainForm::SaveAsTemplate1Click()
{
    run([&] { m_commands->saveAsTemplate(); });
}

void TMainForm::openFromCommandLine(const QStringList &arguments)
{
    std::vector<std::string> parts;
    for (const QString &argument : arguments)
        parts.push_back(toBytes(argument));
    m_commands->openFromCommandLine(parts);
}

void TMainForm::LoadRecentFilesMenu()
{
    m_ui->mnitRecentFiles->clear();
    for (const std::string &caption : m_recent.menuCaptions()) {
        const QString text = toQString(caption);
        QAction *entry = m_ui->mnitRecentFiles->addAction(text);
        connect(entry, &QAction::triggered, this, [this, text] { RecentFileClick(text); });
    }
}

void TMainForm::RecentFileClick(const QString &caption)
{
    run([&] { m_commands->openProjectFile(RecentFiles::pathOfCaption(toBytes(caption))); });
    UpdateItemCommands();
}

// With only the root, the window still opens, with the text of the last build.
void TMainForm::BuildHTML1Click()
{
    std::optional<std::string> text;
    if (!run([&] { text = m_commands->buildHtmlText(); }))
        return;
    m_prompts.showHtmlCode(text ? *text : m_commands->lastHtmlText());
}

void TMainForm::Publish1Click()
{
    std::string report;
    if (!run([&] { report = m_commands->publishReport(); }))
        return;
    m_prompts.showPublishReport(report);
}

void TMainForm::WebBrowser1Click()
{
    m_prompts.showWebBrowser();
}

// The page, scripts and slides are put together in the preview folder and the page is
// opened with the stored browser choice, read afresh for each preview.
void TMainForm::Preview1Click()
{
    std::filesystem::path page;
    if (!run([&] { page = m_commands->assemblePreview(); }))
        return;
    TformWebBrowser browser(m_settings, m_prompts, m_programFolders, this);
    m_previewShown = run([&] {
        browser.OpenInBrowser(page.parent_path().string() + "/", page.filename().string(),
                              m_launcher);
    });
}

// Steps come in bursts (a drop of pictures, undo held down): the preview is made once the
// burst is over, and well inside a second of the last step.
void TMainForm::setUpLivePreview()
{
    m_previewRefresh = new QTimer(this);
    m_previewRefresh->setSingleShot(true);
    m_previewRefresh->setInterval(250);
    connect(m_previewRefresh, &QTimer::timeout, this, &TMainForm::refreshPreview);
}

// A project the build refuses while being edited says why in the hint line, not in a box
// at every step; the page keeps showing the last good preview.
void TMainForm::refreshPreview()
{
    try {
        m_commands->refreshPreview();
    } catch (const std::exception &e) {
        m_hint->setText(QStringLiteral("Preview not updated: ") + toQString(e.what()));
    }
}

// OK opens the chosen template as any project is opened; Cancel starts a new project.
void TMainForm::Templet1Click()
{
    const TemplateChoice choice = m_prompts.chooseTemplate(m_folders.templates());
    if (choice.newProject)
        New1Click();
    else if (!choice.path.empty())
        run([&] { m_commands->openTemplate(choice.path); });
    UpdateItemCommands();
}

// The topics and the samples' index open in the one help window; the sample shows themselves
// go from there to the browser.
void TMainForm::Topic1Click()
{
    m_help->showPage(m_folders.help() / "index.html");
}

void TMainForm::ViewSample1Click()
{
    m_help->showPage(m_folders.samples() / "index.html");
}

void TMainForm::SpeedButton1Click(int tag)
{
    m_help->showPage(m_folders.help() / TfrmHelp::pageForTag(tag));
}
