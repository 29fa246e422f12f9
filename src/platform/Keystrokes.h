#pragma once

// Keystrokes typed into the foreground window, as a user would type them.
// The keys go to the focus widget of the window the registry records as the
// foreground one (or of a modal dialog that blocks it), else to the
// application's focus widget. They are delivered one key at a time from the
// event loop, so whatever one key sets off runs before the next key, and each
// key goes to whichever widget has the focus when it arrives. Application
// shortcuts (QShortcut, QAction) are not triggered; widgets see the keys in
// their own key handlers.

#include <QString>

#include "platform/KeyNotation.h"

class QWidget;

namespace platform {

// Types keys (in the notation of KeyNotation.h). With wait, returns once every
// key has been delivered and the events they caused have run; without, the
// keys arrive as the event loop runs. Returns false, typing nothing, when the
// notation is not well formed.
bool sendKeys(const QString& keys, bool wait);

// The widget a key would go to now; null when there is no window at all.
QWidget* keyTarget();

// Keys queued but not yet delivered.
int pendingKeys();

}  // namespace platform
