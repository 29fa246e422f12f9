// basMain: the program entry of `tova`. The tool's main window opens in the
// per-user session (this process, or the one already running); its load
// event does the whole start-up.
#include "session/SessionMain.h"

int main(int argc, char** argv) {
    return session::runProgram(argc, argv, session::Command::Tool);
}
