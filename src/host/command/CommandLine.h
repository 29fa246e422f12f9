#pragma once

// The host's command line: takes typed keys as the CAD application does,
// runs the host's commands on the active drawing and runs script files
// through the event loop.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>

#include "host/HostApplication.h"

namespace host {

namespace command {
class Command;
class ScriptFile;
}  // namespace command

class CommandLine : public QObject {
    Q_OBJECT
public:
    explicit CommandLine(HostApplication& app, QObject* parent = nullptr);
    ~CommandLine() override;

    // Keys as typed. A space submits like Enter, except at prompts that take
    // text and inside a reply that starts with a double quote. Backspace
    // removes the last character. While a script runs only Escape is taken.
    void typeChar(QChar c);
    void enter();
    // Cancels the running command and stops a running script.
    void escape();
    // "\r" and "\n" are Enter, "\x1b" is Escape, other characters are typed.
    void typeKeys(const QString& keys);

    QString prompt() const { return prompt_; }
    QString input() const { return input_; }
    QStringList history() const { return history_; }

    bool isRunningScript() const { return script_ != nullptr; }
    // Runs the file as a script, replacing any running one; how the window
    // answers fileDialogRequested("SCRIPT").
    void runScriptFile(const QString& path);
    // True while a command waits at one of its prompts or a script runs.
    bool isBusy() const { return busy_; }
    int fileDia() const { return fileDia_; }
    // Adds a message line to the history.
    void print(const QString& line);

Q_SIGNALS:
    void historyAppended(const QString& line);
    void promptChanged(const QString& prompt);
    void inputChanged(const QString& input);
    void busyChanged(bool busy);
    // A file command wants a file dialog (FILEDIA is 1, or "~" was typed).
    void fileDialogRequested(const QString& command);

private:
    class Context;

    void key(QChar c);
    void submit();
    void startCommand(const QString& name);
    bool spaceIsText() const;
    bool startScript(const QString& path);
    void stopScript();
    void runSlice();
    void feedLine(const QString& line);
    void refresh();
    // The undo group of the running command and of the running script:
    // opened on the drawing active when it started, closed on that drawing.
    void openGroup(std::weak_ptr<HostDocument>& slot, const QString& name);
    void closeGroup(std::weak_ptr<HostDocument>& slot);

    HostApplication& app_;
    std::unique_ptr<Context> context_;
    std::unique_ptr<command::Command> active_;
    std::unique_ptr<command::ScriptFile> script_;
    quint64 scriptGeneration_ = 0;
    QString lastScript_;
    QTimer scriptTimer_;
    QString prompt_;
    QString input_;
    QStringList history_;
    int fileDia_ = 1;
    bool busy_ = false;
    std::weak_ptr<HostDocument> commandGroup_;
    std::weak_ptr<HostDocument> scriptGroup_;
    bool commandGrouped_ = false;
    bool scriptGrouped_ = false;
};

}  // namespace host
