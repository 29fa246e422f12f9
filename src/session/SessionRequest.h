#pragma once

// What one start of the program asks of the session: one line on the
// per-user socket, a word and its arguments (each percent-encoded, so any
// file name fits), separated by tabs.

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace session {

struct Request {
    enum class Kind {
        Tool,     // show the tool: bring the running one forward or start it
        Host,     // show the drawing host with these drawings (absolute paths)
        Status,   // test hook: the session's windows and drawings, as JSON
        Close,    // test hook: close "tool" or "host" as its close box does
        Command,  // test hook: type a line into the host's command line
    };
    Kind kind = Kind::Tool;
    QStringList args;

    bool operator==(const Request&) const = default;
};

QByteArray encode(const Request& request);
// nullopt for a line that is not a request.
std::optional<Request> decode(const QByteArray& line);

// The session's answers.
inline constexpr QByteArrayView kOk = "OK";
inline constexpr QByteArrayView kRefused = "REFUSED";

}  // namespace session
