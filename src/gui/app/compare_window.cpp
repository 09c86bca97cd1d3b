// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/compare_window.h"
#include "programming/radio_configuration.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include <QLabel>
#include <QTreeWidget>

namespace k3n {

namespace {

enum Column { PageColumn, ItemColumn, OpenColumn, FileColumn, kColumnCount };

}   // namespace

CompareWindow::CompareWindow(const QString& fileName, const RadioRecord& fileRecord, QWidget* parent)
    : CompareWindow(CompareSide::File, fileName, fileRecord, parent)
{}

CompareWindow::CompareWindow(CompareSide side, const QString& name, const RadioRecord& otherRecord, QWidget* parent)
    : PlaceListWindow("CompareWindow", "tvDifferences", kColumnCount, parent), tvDifferences(list()), side_(side),
      name_(name), otherRecord_(otherRecord)
{}

void CompareWindow::compare(const RadioRecord& open)
{
    const bool radio = side_ == CompareSide::Radio;
    differences_ = DiffConfigurations(radio ? AsTheRadioHoldsIt(open) : open, otherRecord_, appLang());
    setWindowTitle(Text(radio ? OwnText::CompareWithRadioTitle : OwnText::CompareWindowTitle).arg(name_));
    tvDifferences->setAccessibleName(windowTitle());
    tvDifferences->setHeaderLabels({Text(OwnText::CheckColumnPage), Text(OwnText::CheckColumnItem),
                                    Text(OwnText::CompareColumnOpen),
                                    Text(radio ? OwnText::CompareColumnRadio : OwnText::CompareColumnFile)});
    clearRows();
    for (const ConfigurationDifference& d : differences_)
        addRow({d.pageName, d.item, d.oldText, d.newText}, d.page, d.channel);
    sSummary->setText(differences_.empty()
                          ? Text(OwnText::CompareNoDifferences)
                          : CountedText(qint64(differences_.size()), OwnText::CompareCountOne, OwnText::CompareCount));
    fitToRows(kColumnCount);
}

}   // namespace k3n
