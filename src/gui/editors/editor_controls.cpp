// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/editor_controls.h"
#include "text/ui_text.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <cmath>

namespace k3n {

void FillPickList(QComboBox* box, const QStringList& entries, int position)
{
    const QSignalBlocker blocker(box);
    box->setEditable(false);
    box->clear();
    box->addItems(entries);
    box->setCurrentIndex(position >= 0 && position < entries.size() ? position : -1);
}

void FillPickList(QComboBox* box, std::span<const OptionText> entries, int position)
{
    FillPickList(box, OptionTexts(entries), position);
}

void ClearPickList(QComboBox* box)
{
    const QSignalBlocker blocker(box);
    box->setEditable(false);
    box->clear();
}

bool StoreChosenPosition(const QComboBox* box, RadioRecord& record, U8Field field)
{
    if (box->currentIndex() < 0)
        return false;
    record.set(field, uint8_t(box->currentIndex()));
    return true;
}

bool StoreChosenPosition(const QComboBox* box, RadioRecord& record, U16Field field)
{
    if (box->currentIndex() < 0)
        return false;
    record.set(field, uint16_t(box->currentIndex()));
    return true;
}

bool StoreChosenPosition(const QComboBox* box, RadioRecord& record, BitField field)
{
    if (box->currentIndex() < 0)
        return false;
    record.set(field, unsigned(box->currentIndex()));
    return true;
}

void CaptionTable::add(QWidget* w, int textNo)
{
    captions_.emplace_back(w, textNo);
}

void CaptionTable::apply() const
{
    for (const auto& [w, textNo] : captions_) {
        const QString text = UiText(textNo);
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            group->setTitle(text);
    }
}

QComboBox* AddLabelledList(QFormLayout* form, CaptionTable& captions, const char* labelName, int labelText,
                           const char* listName)
{
    QWidget* parent = form->parentWidget();
    auto* label = new QLabel(parent);
    label->setObjectName(labelName);
    captions.add(label, labelText);
    auto* list = new QComboBox(parent);
    list->setObjectName(listName);
    list->setEditable(false);
    // Lists are refilled on a language change; their width follows the new texts.
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(list);
    form->addRow(label, list);
    return list;
}

}   // namespace k3n
