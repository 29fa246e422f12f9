#pragma once

// The commands of the host's command line. A command is a small state
// machine: the command line shows its prompt, hands it each reply and drops it
// once it reports that it has finished.

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "host/HostApplication.h"

namespace host::command {

// What a command may use of the command line it runs on.
class CommandContext {
public:
    virtual ~CommandContext() = default;
    virtual void print(const QString& line) = 0;
    virtual HostApplication& app() = 0;
    // The active drawing, or null when none is open.
    virtual HostDocumentPtr document() = 0;
    virtual int fileDia() const = 0;
    virtual void setFileDia(int value) = 0;
    virtual bool isRunningScript() const = 0;
    // Starts the script file in place of any running one; false (after a
    // message) when the file cannot be read.
    virtual bool startScript(const QString& path) = 0;
    // The file most recently run as a script, empty when none.
    virtual QString lastScript() const = 0;
    // Asks the window for a file dialog on behalf of the command.
    virtual void requestFileDialog(const QString& command) = 0;
};

class Command {
public:
    virtual ~Command() = default;
    // Runs the command's first step; true when it has already finished.
    virtual bool start() = 0;
    // The prompt for the next reply.
    virtual QString prompt() const = 0;
    // True when the reply is text that may hold spaces (a file name), so a
    // space is typed rather than submitting.
    virtual bool takesText() const { return false; }
    // Handles one reply, quotes already removed; true when finished.
    virtual bool reply(const QString& text) = 0;
};

// The command of that name (prefixes "_" and "." and letter case already
// removed), or null for an unknown one.
std::unique_ptr<Command> makeCommand(const QString& name, CommandContext& ctx);

// Removes the "_" and "." prefixes a command name or keyword may carry.
QString stripPrefixes(const QString& text);

// Matches a reply against keywords written as in the prompt ("LOck", "eXcept
// current", "No plot"): the capital letters are the shortest abbreviation and
// any longer start of the keyword is taken too; letter case is ignored and a
// leading "_" is allowed. Returns the keyword's index, or -1.
int matchKeyword(const QStringList& keywords, const QString& reply);

// Layers of the drawing that a comma-separated name list with wildcards
// names, in table order. A literal name that names no layer is reported
// through missing.
std::vector<QString> matchLayerNames(const Drawing& drawing, const QString& list,
                                     QStringList* missing);
// The same layers as records, so a caller works on exactly these layers and
// never resolves their names again as patterns.
std::vector<std::shared_ptr<LayerRecord>> matchLayers(const Drawing& drawing, const QString& list,
                                                      QStringList* missing);

// The layout a command works on: the document's current one when it exists,
// else the first layout.
QString effectiveLayout(const HostDocument& doc);

// A colour as the command line shows it: "1 (red)" for the named ones.
QString colorText(int color);
// Parses a colour number 1-255 or one of the seven colour names; 0 when invalid.
int parseColor(const QString& text);

}  // namespace host::command
