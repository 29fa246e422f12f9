#include "app/Program.h"

#include "platform/HostRegistry.h"
#include "platform/SingleInstance.h"
#include "platform/Twips.h"
#include "platform/Windows.h"

Program::Program()
    : WorkArea([] { return platform::workArea(); }),
      TwipsPerPixelY([] { return platform::twipsPerPixelY(); }) {}

Program::~Program() = default;
