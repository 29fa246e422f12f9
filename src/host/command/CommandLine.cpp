#include "host/command/CommandLine.h"

#include <QElapsedTimer>

#include "host/command/Command.h"
#include "host/command/ScriptFile.h"
#include "host/command/UndoCommands.h"

namespace host {

namespace {

const QString kCommandPrompt = QStringLiteral("Command: ");
// A script runs in slices of this many milliseconds, so the window stays
// responsive and pollers of the idle state see it busy between slices.
constexpr qint64 kSliceMs = 4;
// The history keeps this many lines; a long script would otherwise grow it
// without bound.
constexpr qsizetype kHistoryLimit = 5000;

}  // namespace

class CommandLine::Context : public command::CommandContext {
public:
    explicit Context(CommandLine& line) : line_(line) {}
    void print(const QString& text) override { line_.print(text); }
    HostApplication& app() override { return line_.app_; }
    HostDocumentPtr document() override { return line_.app_.activeDocument(); }
    int fileDia() const override { return line_.fileDia_; }
    void setFileDia(int value) override { line_.fileDia_ = value; }
    bool isRunningScript() const override { return line_.isRunningScript(); }
    bool startScript(const QString& path) override { return line_.startScript(path); }
    QString lastScript() const override { return line_.lastScript_; }
    void requestFileDialog(const QString& command) override {
        Q_EMIT line_.fileDialogRequested(command);
    }

private:
    CommandLine& line_;
};

CommandLine::CommandLine(HostApplication& app, QObject* parent)
    : QObject(parent),
      app_(app),
      context_(std::make_unique<Context>(*this)),
      prompt_(kCommandPrompt) {
    scriptTimer_.setInterval(0);
    connect(&scriptTimer_, &QTimer::timeout, this, &CommandLine::runSlice);
}

CommandLine::~CommandLine() {
    scriptTimer_.stop();
    if (commandGrouped_)
        closeGroup(commandGroup_);
    if (scriptGrouped_)
        closeGroup(scriptGroup_);
    if (busy_)
        app_.setBusy(false);
}

void CommandLine::typeChar(QChar c) {
    if (script_)
        return;
    key(c);
    refresh();
}

void CommandLine::enter() {
    if (script_)
        return;
    submit();
    refresh();
}

void CommandLine::escape() {
    stopScript();
    active_.reset();
    print(prompt_ + input_ + QStringLiteral("*Cancel*"));
    input_.clear();
    Q_EMIT inputChanged(input_);
    refresh();
}

void CommandLine::typeKeys(const QString& keys) {
    for (QChar c : keys) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            enter();
        else if (c == QChar(0x1b))
            escape();
        else
            typeChar(c);
    }
}

void CommandLine::runScriptFile(const QString& path) {
    startScript(path);
    refresh();
}

bool CommandLine::spaceIsText() const {
    if (active_ && active_->takesText())
        return true;
    // A reply that starts with a double quote runs to its closing quote.
    return input_.startsWith(QLatin1Char('"')) && input_.count(QLatin1Char('"')) % 2 == 1;
}

void CommandLine::key(QChar c) {
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
        submit();
    } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
        if (spaceIsText()) {
            input_ += QLatin1Char(' ');
            Q_EMIT inputChanged(input_);
        } else {
            submit();
        }
    } else if (c == QLatin1Char('\b')) {
        if (!input_.isEmpty()) {
            input_.chop(1);
            Q_EMIT inputChanged(input_);
        }
    } else if (c.unicode() >= 0x20 && c.unicode() != 0x7f) {
        input_ += c;
        Q_EMIT inputChanged(input_);
    }
}

void CommandLine::submit() {
    const QString raw = input_;
    input_.clear();
    Q_EMIT inputChanged(input_);
    print(prompt_ + raw);
    QString reply = raw;
    if (reply.startsWith(QLatin1Char('"')))
        reply.remove(QLatin1Char('"'));
    // Nothing a command does may end the command line: an error that leaves
    // a command is printed and ends that command.
    try {
        if (!active_) {
            startCommand(reply.trimmed());
        } else if (active_->reply(reply)) {
            active_.reset();
        }
    } catch (const acad::Error& e) {
        print(e.description());
        active_.reset();
    } catch (const std::exception& e) {
        print(QString::fromLocal8Bit(e.what()));
        active_.reset();
    }
    // A finished command, errors included, closes its undo group.
    if (!active_ && commandGrouped_) {
        commandGrouped_ = false;
        closeGroup(commandGroup_);
    }
    refresh();
}

void CommandLine::startCommand(const QString& name) {
    if (name.isEmpty())
        return;
    const QString bare = command::stripPrefixes(name);
    if (auto undo = command::makeUndoCommand(bare, *context_)) {
        if (!undo->start())
            active_ = std::move(undo);
        return;
    }
    std::unique_ptr<command::Command> cmd = command::makeCommand(bare, *context_);
    if (cmd) {
        // One command is one undo step, whatever it changes.
        openGroup(commandGroup_, name.toUpper());
        commandGrouped_ = true;
    }
    if (!cmd) {
        print(QStringLiteral("Unknown command \"%1\".  Press F1 for help.").arg(bare.toUpper()));
        return;
    }
    if (!cmd->start())
        active_ = std::move(cmd);
}

void CommandLine::print(const QString& line) {
    history_.push_back(line);
    if (history_.size() > kHistoryLimit)
        history_.remove(0, history_.size() - kHistoryLimit);
    Q_EMIT historyAppended(line);
}

bool CommandLine::startScript(const QString& path) {
    auto file = std::make_unique<command::ScriptFile>();
    QString error;
    if (!file->load(path, &error)) {
        print(error);
        return false;
    }
    lastScript_ = file->path();
    // A whole script run is one undo step; a script that replaces a running
    // one continues its step.
    if (!scriptGrouped_) {
        openGroup(scriptGroup_, QStringLiteral("SCRIPT"));
        scriptGrouped_ = true;
    }
    script_ = std::move(file);
    ++scriptGeneration_;
    scriptTimer_.start();
    refresh();
    return true;
}

void CommandLine::stopScript() {
    if (!script_)
        return;
    script_.reset();
    ++scriptGeneration_;
    scriptTimer_.stop();
    if (scriptGrouped_) {
        scriptGrouped_ = false;
        closeGroup(scriptGroup_);
    }
}

void CommandLine::openGroup(std::weak_ptr<HostDocument>& slot, const QString& name) {
    HostDocumentPtr doc = app_.activeDocument();
    slot = doc;
    if (doc && !doc->isClosed())
        doc->StartUndoMark(name);
}

void CommandLine::closeGroup(std::weak_ptr<HostDocument>& slot) {
    HostDocumentPtr doc = slot.lock();
    slot.reset();
    if (doc && !doc->isClosed())
        doc->EndUndoMark();
}

void CommandLine::runSlice() {
    QElapsedTimer clock;
    clock.start();
    while (script_ && clock.elapsed() < kSliceMs) {
        if (script_->atEnd()) {
            stopScript();
            break;
        }
        feedLine(script_->nextLine());
    }
    if (!script_)
        scriptTimer_.stop();
    refresh();
}

// Each character of the line is a key, with spaces submitting as typed
// ones do, and the line end is Enter. A comment line is skipped. A SCRIPT
// command inside the line replaces the script: the rest of the line is
// dropped.
void CommandLine::feedLine(const QString& line) {
    if (line.startsWith(QLatin1Char(';')))
        return;
    const quint64 generation = scriptGeneration_;
    for (QChar c : line) {
        key(c);
        if (scriptGeneration_ != generation)
            return;
    }
    submit();
}

void CommandLine::refresh() {
    QString prompt = kCommandPrompt;
    if (active_) {
        try {
            prompt = active_->prompt();
        } catch (const acad::Error& e) {
            print(e.description());
            active_.reset();
        }
    }
    if (prompt != prompt_) {
        prompt_ = prompt;
        Q_EMIT promptChanged(prompt_);
    }
    if (!active_ && commandGrouped_) {
        commandGrouped_ = false;
        closeGroup(commandGroup_);
    }
    const bool busy = active_ != nullptr || script_ != nullptr;
    if (busy != busy_) {
        busy_ = busy;
        app_.setBusy(busy);
        Q_EMIT busyChanged(busy);
    }
}

}  // namespace host
