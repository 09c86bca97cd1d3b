// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader is told about controls the layout alone does not name:
// the caption a control sits under, and controls it must not see at all.
#include <QString>
#include <functional>

class QAccessibleInterface;
class QWidget;

namespace k3n {

// The caption of the place w sits in: the tab of the tab page holding it, else
// the title of the nearest window or editor page around it.
QString CaptionAround(const QWidget* w);

// w never appears to a screen reader (a focus sink the user cannot reach).
// Call it before anything asks for w's accessibility interface.
void HideFromScreenReaders(QWidget* w);

// Tells a screen reader that object now says something else (a value changed
// in place, with the focus staying where it is).
void AnnounceNameChange(QAccessibleInterface* object);
// Sees every AnnounceNameChange too (Qt passes its events on only while a
// screen reader listens); an empty function stops it.
void WatchAnnouncements(std::function<void(QAccessibleInterface*)> watcher);

}   // namespace k3n
