// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor window of each page of the main window's tree.
#include "model/editor_page.h"
#include "widgets/editor_window.h"

namespace k3n {

constexpr int kEditorPageCount = kEditorPages;

// Creates the editor of page 0..7 (channels, general, keys, scan, emergency,
// DTMF, five-tone, two-tone) as a child of parent; nullptr for other pages.
EditorWindow* CreateEditorForPage(int page, RadioData& data, QWidget* parent);

}   // namespace k3n
