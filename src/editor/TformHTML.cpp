#include "TformHTML.h"

#include "ui_TformHTML.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>

TformHTML::TformHTML(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TformHTML>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowCloseButtonHint);
    m_ui->memoHTMLBuild->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(m_ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TformHTML::Button2Click);
}

TformHTML::~TformHTML() = default;

void TformHTML::setText(const QString &text)
{
    m_ui->memoHTMLBuild->setPlainText(text);
}

QString TformHTML::text() const
{
    return m_ui->memoHTMLBuild->toPlainText();
}

// All of it, whatever part the user had selected.
void TformHTML::Button2Click()
{
    m_ui->memoHTMLBuild->selectAll();
    QGuiApplication::clipboard()->setText(m_ui->memoHTMLBuild->toPlainText());
}
