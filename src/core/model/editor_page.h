// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages a configuration is edited on, numbered as the main window's tree
// shows them; checks and reports name a problem's place by its page.

namespace k3n {

enum class EditorPage : int { Channels, General, Keys, Scan, Emergency, Dtmf, FiveTone, TwoTone };
constexpr int kEditorPages = 8;
// The interface text naming each page in the tree.
constexpr int kEditorPageTexts[kEditorPages] = {25, 181, 183, 184, 185, 187, 188, 189};
constexpr int EditorPageText(EditorPage page)
{
    return kEditorPageTexts[int(page)];
}

}   // namespace k3n
