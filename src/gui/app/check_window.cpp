// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/check_window.h"
#include <QKeyEvent>
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "widgets/list_windows.h"
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace k3n {

namespace {

enum Column { SeverityColumn, PageColumn, ItemColumn, ProblemColumn, kColumnCount };

} // namespace

CheckWindow::CheckWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("CheckWindow");
    auto* layout = new QVBoxLayout(this);
    sSummary = new QLabel(this);
    sSummary->setObjectName("sSummary");
    layout->addWidget(sSummary);
    tvProblems = new QTreeWidget(this);
    tvProblems->setObjectName("tvProblems");
    tvProblems->setColumnCount(kColumnCount);
    tvProblems->setRootIsDecorated(false);
    tvProblems->setUniformRowHeights(true);
    tvProblems->setAlternatingRowColors(true);
    layout->addWidget(tvProblems);
    // Activation is the double click (or Enter) of the platform.
    connect(tvProblems, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { chooseItem(item); });
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
    tvProblems->clear();
    for (std::size_t i = 0; i < problems_.size(); ++i) {
        const ConfigurationProblem& p = problems_[i];
        const bool error = p.severity == Severity::Error;
        auto* item =
            new QTreeWidgetItem(tvProblems,
                                QStringList{Text(error ? OwnText::CheckSeverityError : OwnText::CheckSeverityWarning),
                                            PlainCaption(UiText(EditorPageText(p.page))), p.item, p.message});
        item->setData(0, Qt::UserRole, qulonglong(i));
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
    for (int column = 0; column < ProblemColumn; ++column)
        tvProblems->resizeColumnToContents(column);
    // A window just opened fits its list and opens over the window it belongs to.
    if (!isVisible()) {
        FitToListContent(*this, *tvProblems, TreeListSize(*tvProblems));
        PlaceOver(*this, parentWidget());
    }
}

void CheckWindow::chooseItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const auto i = std::size_t(item->data(0, Qt::UserRole).toULongLong());
    if (i < problems_.size())
        emit problemChosen(problems_[i].page, problems_[i].channel);
}

} // namespace k3n
