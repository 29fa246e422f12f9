#include "app/basAPICheckDoubleRun.h"

#include "app/frmMain.h"
#include "platform/SingleInstance.h"

namespace basAPICheckDoubleRun {

bool pu_fun_bOtherInstanceRestored(frmMain& form) {
    Program& p = form.program();
    if (!p.Instance)
        p.Instance = std::make_unique<platform::SingleInstance>();
    if (p.Instance->restoreRunningInstance())
        return true;
    p.Instance->claim(&form);
    return false;
}

void pu_subRelease(frmMain& form) {
    Program& p = form.program();
    if (p.Instance)
        p.Instance->release();
}

}  // namespace basAPICheckDoubleRun
