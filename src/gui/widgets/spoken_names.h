// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader is told about controls the layout alone does not name:
// the caption a control sits under, controls it must not see at all, lines
// whose changes it says as they come, and message windows it reads out whole.
#include <QAccessible>
#include <QString>
#include <QTableWidgetItem>
#include <functional>

class QAccessibleInterface;
class QLabel;
class QWidget;

namespace k3n {

// The caption of the place w sits in: the tab of the tab page holding it, else
// the title of the nearest window or editor page around it.
QString CaptionAround(const QWidget* w);

// w never appears to a screen reader (a focus sink the user cannot reach).
// Call it before anything asks for w's accessibility interface.
void HideFromScreenReaders(QWidget* w);

// label is a line that reports what is going on (a session's phase or port):
// a screen reader hears each new text as a notification, wherever the focus is.
// Call it before anything asks for label's accessibility interface.
void MakeLiveLine(QLabel* label);
// Shows text on a live line and says it when it differs from what it showed.
void SayOnLiveLine(QLabel* label, const QString& text);

// window is a message window: a screen reader reads it as an alert whose
// description is message's text, the moment it comes up.
void SpeakAsMessage(QWidget* window, QLabel* message);

// A table cell as a screen reader reads it: its text, and a word for an empty
// one (a cell that says nothing cannot be told from a cell that was skipped).
class SpokenCell : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    QVariant data(int role) const override;
};

// Tells a screen reader that object now says something else (a value changed
// in place, with the focus staying where it is).
void AnnounceNameChange(QAccessibleInterface* object);
// Sees every announcement of this file too, with its kind (Qt passes its
// events on only while a screen reader listens); an empty function stops it.
using AnnouncementWatcher = std::function<void(QAccessibleInterface*, QAccessible::Event)>;
void WatchAnnouncements(AnnouncementWatcher watcher);

}   // namespace k3n
