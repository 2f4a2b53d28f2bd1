#include "app/form_main.h"

namespace MyApp {

// Every 500 ms: carries the controls into the document and the preview. A message box or a
// nested message loop raised from inside a tick can deliver the next one; it is dropped.
void FormMain::SyncTick() {
    if (m_ticking)
        return;
    m_ticking = true;
    if (layoutPending) {
        layoutPending = false;
        UpdateScrollBars();
    }
    // The steps that read the controls arrive with the commands.
    m_ticking = false;
}

} // namespace MyApp
