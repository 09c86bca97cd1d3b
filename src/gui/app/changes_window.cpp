// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/changes_window.h"
#include "app/compare_window.h"
#include "model/channel_cells.h"
#include "text/own_texts.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace k3n {

ChangesWindow::ChangesWindow(const RadioData& radio, const RadioRecord& toWrite, QWidget* parent) : QDialog(parent)
{
    setObjectName("ChangesWindow");
    setWindowTitle(Text(OwnText::ChangesWindowTitle));
    // The comparison's list itself, inside this window; its pages cannot be opened while the write waits.
    wDifferences =
        new CompareWindow(CompareSide::Radio, SerialNumberText(radio.radio_serial_number), radio.record, this);
    wDifferences->setWindowFlags(Qt::Widget);
    wDifferences->compare(toWrite);
    wDifferences->sSummary->hide();   // the question says it
    const std::size_t count = wDifferences->differences().size();
    sQuestion =
        new QLabel(count == 0 ? Text(OwnText::ChangesNoneAskWrite)
                              : CountedText(qint64(count), OwnText::ChangesAskWriteOne, OwnText::ChangesAskWrite),
                   this);
    sQuestion->setObjectName("sQuestion");
    sQuestion->setWordWrap(true);
    bWrite = new QPushButton(Text(OwnText::ChangesWrite), this);
    bWrite->setObjectName("bWrite");
    bWrite->setDefault(true);
    bStop = new QPushButton(Text(OwnText::ChangesStop), this);
    bStop->setObjectName("bStop");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bWrite);
    buttons->addWidget(bStop);
    auto* column = new QVBoxLayout(this);
    column->addWidget(sQuestion);
    column->addWidget(wDifferences);
    column->addLayout(buttons);
    connect(bWrite, &QPushButton::clicked, this, &QDialog::accept);
    connect(bStop, &QPushButton::clicked, this, &QDialog::reject);
    resize(860, 420);
}

}   // namespace k3n
