// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of the check before a write, in a window of its own. A double
// click on a problem asks for its editor page (and channel).
#include "app/place_list_window.h"
#include "model/configuration_check.h"
#include <vector>

namespace k3n {

class CheckWindow : public PlaceListWindow {
    Q_OBJECT
public:
    explicit CheckWindow(QWidget* parent = nullptr);

    // Shows these problems, labelled in the current language.
    void setProblems(std::vector<ConfigurationProblem> problems);
    const std::vector<ConfigurationProblem>& problems() const { return problems_; }

    QTreeWidget* tvProblems;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<ConfigurationProblem> problems_;
};

}   // namespace k3n
