#pragma once

// U, UNDO and REDO on the host's command line. They take back or replay whole
// steps of the active drawing's history and are never recorded themselves.

#include <memory>

#include "host/command/Command.h"

namespace host::command {

// The command for U, UNDO or REDO (name already stripped and in any case),
// or null for any other name.
std::unique_ptr<Command> makeUndoCommand(const QString& name, CommandContext& ctx);

}  // namespace host::command
