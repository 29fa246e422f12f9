#pragma once

// The entry of both commands: `tova` (the tool) and `tova-host [FILE.dxf ...]`
// (the drawing host alone). Hands the request to the running session and
// returns 0 at once, or becomes the session and runs until its last window
// closes.

namespace session {

enum class Command { Tool, Host };

int runProgram(int argc, char** argv, Command command);

}  // namespace session
