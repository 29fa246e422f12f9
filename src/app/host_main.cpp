// The entry of `tova-host [FILE.dxf ...]`: the drawing host alone, as a user
// starts the CAD application before the tool.
#include "session/SessionMain.h"

int main(int argc, char** argv) {
    return session::runProgram(argc, argv, session::Command::Host);
}
