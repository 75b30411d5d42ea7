#pragma once

// The publish report window: the list of files a web site needs, made for one Publish.

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmPublishReport;
}

class TfrmPublishReport : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPublishReport(const QString &report, QWidget *parent = nullptr);
    ~TfrmPublishReport() override;

private:
    std::unique_ptr<Ui::TfrmPublishReport> m_ui;
};
