#include "TfrmPublishReport.h"

#include "ui_TfrmPublishReport.h"

#include <QFontDatabase>

TfrmPublishReport::TfrmPublishReport(const QString &report, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmPublishReport>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_ui->memoPublishReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_ui->memoPublishReport->setPlainText(report);
    connect(m_ui->BitBtn1, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

TfrmPublishReport::~TfrmPublishReport() = default;
