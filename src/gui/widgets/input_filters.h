#pragma once
#include <QChar>
#include <functional>

class QLineEdit;

namespace k3n {

// Drops typed printable characters that accept rejects; control keys
// (Backspace, Delete, arrows, Enter) always pass. Pasted text is not filtered
// here: change handlers clean it.
void FilterTypedKeys(QLineEdit* edit, std::function<bool(QChar)> accept);

} // namespace k3n
