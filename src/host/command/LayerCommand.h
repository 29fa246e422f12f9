#pragma once

// -LAYER: layer states, colours, linetypes and the current layer from the
// command line, looping on its option prompt until an empty reply.

#include <memory>

#include "host/command/Command.h"

namespace host::command {

std::unique_ptr<Command> makeLayerCommand(CommandContext& ctx);

}  // namespace host::command
