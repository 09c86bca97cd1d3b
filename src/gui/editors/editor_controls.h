// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small building blocks the editor pages share: pick-only lists filled from
// tables of texts, captions relabelled from interface text numbers, labelled
// rows.
#include "model/radio_record.h"
#include "model/settings_lists.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <vector>

class QComboBox;
class QFormLayout;

namespace k3n {

// Refills box as a pick-only list and selects position; a position outside the
// list selects nothing (index -1). Emits no change signals, so change handlers
// only ever see the user's picks.
void FillPickList(QComboBox* box, const QStringList& entries, int position);
void FillPickList(QComboBox* box, std::span<const OptionText> entries, int position);
// Empties box (nothing selected) without change signals.
void ClearPickList(QComboBox* box);

// Writes the chosen position of box into field and returns true; with nothing
// chosen (a stored value the list does not hold) the field keeps its value.
bool StoreChosenPosition(const QComboBox* box, RadioRecord& record, U8Field field);
bool StoreChosenPosition(const QComboBox* box, RadioRecord& record, U16Field field);
bool StoreChosenPosition(const QComboBox* box, RadioRecord& record, BitField field);

// Widgets captioned by interface text number, relabelled together on a language change.
class CaptionTable {
public:
    // w is a QLabel, a button (check box, radio button) or a QGroupBox.
    void add(QWidget* w, int textNo);
    void apply() const;

private:
    std::vector<std::pair<QWidget*, int>> captions_;
};

// Adds "label  list" as one row of form: a caption named labelName showing text
// labelText and a pick-only list named listName. Returns the list.
QComboBox* AddLabelledList(QFormLayout* form, CaptionTable& captions, const char* labelName, int labelText,
                           const char* listName);

}   // namespace k3n
