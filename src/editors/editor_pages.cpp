#include "editors/editor_pages.h"
#include "editors/channel_editor.h"

namespace k3n {

EditorWindow* CreateEditorForPage(int page, RadioData& data, QWidget* parent)
{
    switch (page) {
    // Each editor adds its page here.
    case 0: return new TChInforDlg(data, parent);
    default:
        (void)data;
        (void)parent;
        return nullptr;
    }
}

} // namespace k3n
