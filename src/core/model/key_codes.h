// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Side-key function codes with a meaning outside the key lists themselves.
#include <cstdint>

namespace k3n {

// "Talk Around" is stored as 14, 15 or 16: 14 plus the talk-around mode.
constexpr uint8_t kTalkAroundKeyCode = 14;

constexpr bool IsTalkAroundKeyCode(uint8_t code)
{
    return code >= kTalkAroundKeyCode && code <= kTalkAroundKeyCode + 2;
}

// The code "Talk Around" takes for a talk-around mode; 255 when the mode is not 0..2.
constexpr uint8_t TalkAroundKeyCode(uint8_t talkAround)
{
    return talkAround <= 2 ? uint8_t(kTalkAroundKeyCode + talkAround) : 0xFF;
}

}   // namespace k3n
