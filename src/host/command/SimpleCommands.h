#pragma once

// The host's one-step and system-variable commands: FILEDIA, SCRIPT, REGEN,
// MSPACE, PSPACE and QSAVE.

#include <memory>

#include "host/command/Command.h"

namespace host::command {

std::unique_ptr<Command> makeFiledia(CommandContext& ctx);
std::unique_ptr<Command> makeScript(CommandContext& ctx);
std::unique_ptr<Command> makeRegen(CommandContext& ctx);
std::unique_ptr<Command> makeMspace(CommandContext& ctx);
std::unique_ptr<Command> makePspace(CommandContext& ctx);
std::unique_ptr<Command> makeQsave(CommandContext& ctx);

}  // namespace host::command
