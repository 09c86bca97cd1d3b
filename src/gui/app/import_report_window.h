// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an import of channels did not take as written and its summary, shown
// before anything changes: Yes applies the import, No leaves the configuration
// as it is. An import of no row only says why, with one button to close.
#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace k3n {

class ImportReportWindow : public QDialog {
    Q_OBJECT
public:
    ImportReportWindow(const QString& fileName, const QStringList& report, const QString& summary, bool canApply,
                       QWidget* parent = nullptr);

    QLabel* sIntro;
    QPlainTextEdit* tReport;
    QLabel* sSummary;
    QLabel* sQuestion;
    QPushButton* bApply;
    QPushButton* bCancel;
};

}   // namespace k3n
