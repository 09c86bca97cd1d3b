// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The raw interface text tables behind UiText; only ui_text.cpp reads them.
#include "text/ui_text.h"

namespace k3n::detail {

struct TextOverride {
    int number;
    const char* text;   // UTF-8
};

constexpr int kTraditionalOverrideCount = 4;

extern const char* const kEnglishTexts[kUiTextCount];   // ASCII
extern const char* const kSimplifiedTexts[kUiTextCount];   // UTF-8
extern const TextOverride kTraditionalOverrides[kTraditionalOverrideCount];

}   // namespace k3n::detail
