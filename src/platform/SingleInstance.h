#pragma once

// One instance per user. The running instance keeps a per-user record
// (settings "TOVA", group "prophwnd", key "FirstWnd": its main window handle
// in decimal), marks its main window with the window property "prophwnd"
// holding the same handle, and answers on a per-user local socket. A second
// start asks over that socket; the running instance restores its main window
// and says so, and the second start ends.
//
// Handles only mean something inside their own process, so the running
// instance itself decides whether its window is the live, marked one; a
// record left behind by an ended run, or naming a window that has lost its
// mark, never blocks a start.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Windows.h"

class QLocalServer;
class QLocalSocket;
class QSettings;

namespace platform {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kPropertyName = "prophwnd";

    // The current user's record, as the program uses it.
    static std::unique_ptr<QSettings> userRecord();
    // The current user's socket name: "TOVA-" and the user name, or the value
    // of TOVA_SESSION_NAME when it is set (a name or an absolute socket path;
    // tests run their sessions side by side this way).
    static QString userServerName();
    // Sends one request line to the instance answering on serverName and
    // returns its one-line answer; nullopt when nobody answers in time.
    // Lets events run while waiting (the other side may be this process).
    static std::optional<QByteArray> request(const QString& serverName, const QByteArray& line,
                                             int timeoutMs = 3000);

    // The user's record and socket, the process-wide window registry.
    explicit SingleInstance(QObject* parent = nullptr);
    // A record and socket of the caller's choosing (tests use their own);
    // registry null means the process-wide one.
    SingleInstance(std::unique_ptr<QSettings> record, QString serverName,
                   WindowRegistry* registry = nullptr, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The handle in the record; 0 when it is missing or not a number.
    WindowHandle storedWindow() const;
    void storeWindow(WindowHandle h);
    void clearStoredWindow();

    // Asks the running instance, if any, to restore its main window. True
    // when it did: this start should end. Waits for the answer up to
    // timeoutMs while letting events run (the other side may be this process).
    bool restoreRunningInstance(int timeoutMs = 3000);

    // Makes this start the running instance: marks mainWindow with the
    // property, stores its handle in the record and answers later starts.
    // Returns whether the socket is listening; a socket file left by an ended
    // run is removed, one a live instance answers on is left alone.
    bool claim(QWidget* mainWindow);
    // Answers later starts without a main window yet (the session of the
    // program listens from its start). Same rules as claim for a socket left
    // behind.
    bool listen();
    // At unload: removes the mark, clears the record if it still names this
    // window, and stops answering.
    void release();

    bool isListening() const;
    const QString& serverName() const { return serverName_; }
    WindowHandle ownWindow() const { return own_; }

    // What restoring the main window means; by default show it in its normal
    // state and bring it to the foreground.
    void setRestoreHandler(std::function<void(WindowHandle)> handler);
    // Answers requests other than the restore request: the handler gets the
    // request line and returns the answer line, or nullopt for "not mine".
    using RequestHandler = std::function<std::optional<QByteArray>(const QByteArray&)>;
    void setRequestHandler(RequestHandler handler);

Q_SIGNALS:
    // A later start asked this instance to restore its window, and it did.
    void restoredForAnotherStart();

private:
    void onNewConnection();
    void answer(QLocalSocket* socket);
    bool restoreOwnWindow();
    bool someoneAnswers(int timeoutMs);

    std::unique_ptr<QSettings> record_;
    QString serverName_;
    WindowRegistry* registry_;
    QLocalServer* server_;
    WindowHandle own_ = 0;
    std::function<void(WindowHandle)> restore_;
    RequestHandler requests_;
};

}  // namespace platform
