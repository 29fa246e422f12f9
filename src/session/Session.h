#pragma once

// The per-user session: the one process that holds the drawing host and the
// tool's main window. Later starts hand their request to it over the
// per-user socket; the session ends when its last window has closed.
//
// The host lives as long as the session holds it, whatever the tool does:
// closing the tool only lets go of the tool's references. Closing the host
// window (after its save questions) ends the host: its drawings close, the
// host registry reports it, and the tool takes the no-document path.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <optional>

#include "acad/Acad.h"
#include "host/window/HostWindow.h"
#include "session/SessionRequest.h"

class frmMain;
namespace platform {
class HostRegistry;
class SingleInstance;
class Ui;
}  // namespace platform

namespace session {

class Session : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString serverName;        // the per-user socket
        QString hooksFolder;       // test hooks on when not empty
        QString untitledRecovery;  // folder for recovery files of unsaved drawings
        platform::HostRegistry* registry = nullptr;  // null: the process-wide one
        platform::Ui* ui = nullptr;                  // null: the real one (or the hooks')
    };

    explicit Session(Options options, QObject* parent = nullptr);
    ~Session() override;

    // Starts answering later starts; false when the socket cannot be had.
    bool listen();
    // Carries out a request now.
    void handle(const Request& request);
    // The socket's side: answers at once and carries out TOOL, HOST, CLOSE and
    // COMMAND once the answer is on its way (they may ask questions).
    std::optional<QByteArray> answer(const QByteArray& line);

    // Starts the drawing host in the session with these drawings (none: a
    // new drawing), registers it as the running host and shows its window.
    acad::ApplicationPtr startHost(const QStringList& paths);

    // A termination signal: asks nothing, writes every modified drawing to
    // its recovery file, closes the tool and ends the session.
    void terminate(int signalNumber);

    frmMain* toolWindow() const;
    host::HostWindow* hostWindow() const { return hostWindow_; }
    // The session's status as one JSON line (test hook).
    QByteArray status() const;
    bool isEnded() const { return ended_; }

Q_SIGNALS:
    // The last window closed (or a termination signal came): the process ends.
    void ended();

private:
    struct Tool;

    void showTool();
    void showHost(const QStringList& paths);
    void onToolDestroyed(Tool* tool);
    void onHostClosed();
    void onHostEnded();
    void checkEnd();
    std::shared_ptr<host::HostApplication> hostApplication() const;
    host::HostDialogs hostDialogs();

    Options options_;
    platform::HostRegistry* registry_;
    std::unique_ptr<platform::Ui> ownUi_;
    platform::Ui* ui_;
    std::unique_ptr<platform::SingleInstance> server_;
    std::unique_ptr<Tool> tool_;
    acad::ApplicationPtr host_;
    QPointer<host::HostWindow> hostWindow_;
    int endedListener_ = 0;
    bool ended_ = false;
    bool terminating_ = false;
};

}  // namespace session
