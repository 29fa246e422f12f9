#pragma once

// Keeps the main window in step with the drawing host while the user moves
// between the two. A hook on the main window hears when the tool as a whole
// gains or loses the activation (moves between the tool's own windows,
// dialogs and message boxes do not count). On gaining it, the active drawing
// is read again when another drawing became active meanwhile, and with the
// option AutoHide the window gets back the height it had; on losing it, the
// window shrinks to the minimum view. Nothing happens while the busy flag is
// set (a script run types into the host and moves the activation about).

#include <QString>
#include <functional>

class frmMain;

namespace platform {
class ActivationWatcher;
}

namespace basAPIActEvent {

// The height the deactivation asks for; the resize handler snaps it to the
// minimum view.
inline constexpr int kHiddenHeight = 780;

// Installs the hook on the main window (after a successful attach). A hook
// already in place is replaced.
void pu_subSetHook(frmMain& form);
// Removes the hook; nothing happens when there is none.
void pu_subRemoveHook(frmMain& form);
// Whether the hook is in place.
bool pu_fun_bHooked(frmMain& form);
// The watcher behind the hook, or null when there is none.
platform::ActivationWatcher* pu_fun_Watcher(frmMain& form);

// Handles the tool gaining (bActive) or losing the activation, as the hook
// does. An error that escapes the handling ends the program through
// pu_subSynchronisationError.
void pu_subActivateApp(frmMain& form, bool bActive);

// Runs one piece of the synchronisation: an error escaping it shows the
// synchronisation error, removes the hook and ends the program. Returns
// whether it ran without error.
bool pu_fun_bRunSynchronised(frmMain& form, const std::function<void()>& step);

// The message shown when the synchronisation fails.
QString syncErrorMessage();

}  // namespace basAPIActEvent
