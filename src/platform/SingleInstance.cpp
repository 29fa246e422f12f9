#include "platform/SingleInstance.h"

#include <unistd.h>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QSettings>
#include <QTimer>

namespace platform {

namespace {

const QString kGroup = QStringLiteral("prophwnd");
const QString kKey = QStringLiteral("FirstWnd");
constexpr QByteArrayView kRequest = "RESTORE";
constexpr QByteArrayView kRestored = "RESTORED";
constexpr QByteArrayView kRefused = "REFUSED";
// A request is one line (file paths included); anything longer is not from us.
constexpr qint64 kMaxRequest = 1 << 20;

// Runs the event loop until done() holds, the socket drops or the time is
// up, and returns done(). The event loop must run because the instance that
// answers may be this very process.
bool waitOn(QLocalSocket& socket, const std::function<bool()>& done, int timeoutMs) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::connected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    while (!done() && timer.isActive() && socket.state() != QLocalSocket::UnconnectedState)
        loop.exec();
    return done();
}

bool connectTo(QLocalSocket& socket, const QString& name, int timeoutMs) {
    socket.connectToServer(name);
    return waitOn(
        socket, [&socket] { return socket.state() == QLocalSocket::ConnectedState; }, timeoutMs);
}

}  // namespace

std::unique_ptr<QSettings> SingleInstance::userRecord() {
    return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("TOVA"),
                                       QStringLiteral("TOVA"));
}

QString SingleInstance::userServerName() {
    const QString chosen = qEnvironmentVariable("TOVA_SESSION_NAME");
    if (!chosen.isEmpty())
        return chosen;
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    // Only characters that are safe in a socket file name.
    user.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")));
    if (user.isEmpty())
        user = QString::number(::getuid());
    return QStringLiteral("TOVA-") + user;
}

SingleInstance::SingleInstance(QObject* parent)
    : SingleInstance(userRecord(), userServerName(), nullptr, parent) {}

SingleInstance::SingleInstance(std::unique_ptr<QSettings> record, QString serverName,
                               WindowRegistry* registry, QObject* parent)
    : QObject(parent),
      record_(std::move(record)),
      serverName_(std::move(serverName)),
      registry_(registry ? registry : &WindowRegistry::instance()),
      server_(new QLocalServer(this)) {
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    restore_ = [this](WindowHandle h) {
        registry_->showNormal(h);
        registry_->bringToForeground(h);
    };
}

SingleInstance::~SingleInstance() = default;

WindowHandle SingleInstance::storedWindow() const {
    bool ok = false;
    const WindowHandle h =
        record_->value(kGroup + QLatin1Char('/') + kKey).toString().trimmed().toLongLong(&ok);
    return ok ? h : 0;
}

void SingleInstance::storeWindow(WindowHandle h) {
    record_->setValue(kGroup + QLatin1Char('/') + kKey, QString::number(h));
    record_->sync();
}

void SingleInstance::clearStoredWindow() {
    record_->remove(kGroup + QLatin1Char('/') + kKey);
    record_->sync();
}

std::optional<QByteArray> SingleInstance::request(const QString& serverName, const QByteArray& line,
                                                  int timeoutMs) {
    QLocalSocket socket;
    if (!connectTo(socket, serverName, timeoutMs))
        return std::nullopt;
    socket.write(line + '\n');
    socket.flush();
    if (!waitOn(
            socket, [&socket] { return socket.canReadLine(); }, timeoutMs))
        return std::nullopt;
    return socket.readLine().trimmed();
}

bool SingleInstance::restoreRunningInstance(int timeoutMs) {
    const auto reply = request(
        serverName_, kRequest.toByteArray() + ' ' + QByteArray::number(storedWindow()), timeoutMs);
    return reply && *reply == kRestored;
}

bool SingleInstance::claim(QWidget* mainWindow) {
    own_ = registry_->handleOf(mainWindow);
    registry_->setProp(own_, QString::fromLatin1(kPropertyName), own_);
    storeWindow(own_);
    return listen();
}

bool SingleInstance::listen() {
    if (server_->isListening())
        return true;
    if (server_->listen(serverName_))
        return true;
    // A socket file nobody answers on is what an ended run leaves behind.
    if (server_->serverError() == QAbstractSocket::AddressInUseError && !someoneAnswers(1000)) {
        QLocalServer::removeServer(serverName_);
        return server_->listen(serverName_);
    }
    return false;
}

void SingleInstance::release() {
    if (own_ != 0) {
        registry_->removeProp(own_, QString::fromLatin1(kPropertyName));
        if (storedWindow() == own_)
            clearStoredWindow();
    }
    own_ = 0;
    server_->close();
}

bool SingleInstance::isListening() const {
    return server_->isListening();
}

void SingleInstance::setRestoreHandler(std::function<void(WindowHandle)> handler) {
    restore_ = std::move(handler);
}

void SingleInstance::setRequestHandler(RequestHandler handler) {
    requests_ = std::move(handler);
}

bool SingleInstance::someoneAnswers(int timeoutMs) {
    QLocalSocket probe;
    const bool answers = connectTo(probe, serverName_, timeoutMs);
    probe.abort();
    return answers;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        if (socket->canReadLine())
            answer(socket);
    }
}

void SingleInstance::answer(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequest)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine().trimmed();
    if (requests_ && !line.startsWith(kRequest)) {
        std::optional<QByteArray> reply;
        try {
            reply = requests_(line);
        } catch (...) {
            // The request came through the event loop; nothing may escape into it.
        }
        socket->write(reply.value_or(kRefused.toByteArray()) + '\n');
        socket->flush();
        socket->disconnectFromServer();
        return;
    }
    const bool restored = line.startsWith(kRequest) && restoreOwnWindow();
    socket->write((restored ? kRestored : kRefused).toByteArray() + '\n');
    socket->flush();
    socket->disconnectFromServer();
}

bool SingleInstance::restoreOwnWindow() {
    // Only the live main window that still carries its mark answers for this
    // instance; during unload the mark is gone and a new start may go ahead.
    if (own_ == 0 || !registry_->isWindow(own_) ||
        registry_->getProp(own_, QString::fromLatin1(kPropertyName)) != own_)
        return false;
    if (restore_) {
        try {
            restore_(own_);
        } catch (...) {
            // The request came through the event loop; nothing may escape into it.
        }
    }
    Q_EMIT restoredForAnotherStart();
    return true;
}

}  // namespace platform
