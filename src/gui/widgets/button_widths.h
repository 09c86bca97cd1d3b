// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Buttons as wide as a window's design asks, and never narrower than their
// captions, whatever the font: a plain minimum width would let a layout squeeze
// a caption that a larger font has made longer.
class QAbstractButton;

namespace k3n {

// button is at least 'width' wide, and at least as wide as its caption needs,
// now and after every change of font.
void SetButtonWidthAtLeast(QAbstractButton* button, int width);

}   // namespace k3n
