// Test-only definitions of the main window's start-up, shutdown and
// activation handlers: they only count their calls.

#include "frmMain_load_stub.h"
#include "app/frmMain.h"

namespace frmMainStub {
int loadCalls = 0;
int unloadCalls = 0;
int activateCalls = 0;
}  // namespace frmMainStub

void frmMain::Form_Load() {
    ++frmMainStub::loadCalls;
}
void frmMain::Form_Unload() {
    ++frmMainStub::unloadCalls;
}
void frmMain::Form_Activate() {
    ++frmMainStub::activateCalls;
}
