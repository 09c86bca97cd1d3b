// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/check_window.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>

namespace k3n {

namespace {

enum Column { SeverityColumn, PageColumn, ItemColumn, ProblemColumn, kColumnCount };

}   // namespace

CheckWindow::CheckWindow(QWidget* parent)
    : PlaceListWindow("CheckWindow", "tvProblems", kColumnCount, parent), tvProblems(list())
{
    tvProblems->setFocus();   // the list is what the keys work when the window comes up
}

void CheckWindow::keyPressEvent(QKeyEvent* event)
{
    // Closed from the keyboard as a dialog is.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

void CheckWindow::setProblems(std::vector<ConfigurationProblem> problems)
{
    problems_ = std::move(problems);
    setWindowTitle(Text(OwnText::CheckWindowTitle));
    tvProblems->setAccessibleName(windowTitle());
    tvProblems->setHeaderLabels({Text(OwnText::CheckColumnSeverity), Text(OwnText::CheckColumnPage),
                                 Text(OwnText::CheckColumnItem), Text(OwnText::CheckColumnProblem)});
    clearRows();
    for (const ConfigurationProblem& p : problems_) {
        const bool error = p.severity == Severity::Error;
        QTreeWidgetItem* item = addRow({Text(error ? OwnText::CheckSeverityError : OwnText::CheckSeverityWarning),
                                        PlainCaption(UiText(EditorPageText(p.page))), p.item, p.message},
                                       p.page, p.channel);
        if (error)
            item->setForeground(SeverityColumn, Qt::red);
    }
    const auto errors = std::count_if(problems_.begin(), problems_.end(),
                                      [](const ConfigurationProblem& p) { return p.severity == Severity::Error; });
    sSummary->setText(problems_.empty()
                          ? Text(OwnText::CheckNoProblems)
                          : Text(OwnText::CheckCounts)
                                .arg(CountedText(errors, OwnText::CheckErrorCountOne, OwnText::CheckErrorCount),
                                     CountedText(qsizetype(problems_.size()) - errors, OwnText::CheckWarningCountOne,
                                                 OwnText::CheckWarningCount)));
    fitToRows(ProblemColumn);   // the problem's text may run on
}

}   // namespace k3n
