#pragma once

// VPLAYER: layers frozen in single floating viewports of a layout, looping on
// its option prompt until an empty reply.

#include <memory>

#include "host/command/Command.h"

namespace host::command {

std::unique_ptr<Command> makeVplayerCommand(CommandContext& ctx);

}  // namespace host::command
