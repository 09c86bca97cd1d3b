#include "editors/editor_pages.h"

namespace k3n {

EditorWindow* CreateEditorForPage(int page, RadioData& data, QWidget* parent)
{
    switch (page) {
    // Each editor adds its page here.
    default:
        (void)data;
        (void)parent;
        return nullptr;
    }
}

} // namespace k3n
