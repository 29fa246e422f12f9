#pragma once

class frmMain;

// One instance per user: the record of the running instance's main window.
namespace basAPICheckDoubleRun {

// When another instance runs, asks it to restore its window and returns
// true (this start ends). Otherwise makes this start the running one.
bool pu_fun_bOtherInstanceRestored(frmMain& form);
// At unload: removes the window's mark and the record.
void pu_subRelease(frmMain& form);

}  // namespace basAPICheckDoubleRun
