#pragma once

// Call counts of the start-up, shutdown and activation handlers as the test
// build defines them, so window tests can see when the window runs them.
namespace frmMainStub {
extern int loadCalls;
extern int unloadCalls;
extern int activateCalls;
}  // namespace frmMainStub
