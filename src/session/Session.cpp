#include "session/Session.h"

#include <QApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <cstdio>

#include "app/Program.h"
#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "host/HostApplication.h"
#include "host/Recovery.h"
#include "host/command/CommandLine.h"
#include "host/window/HostWindow.h"
#include "platform/HostRegistry.h"
#include "platform/SingleInstance.h"
#include "platform/Ui.h"
#include "platform/Windows.h"
#include "session/TestHooks.h"

namespace session {

struct Session::Tool {
    Program program;
    QPointer<frmMain> form;
};

namespace {

int toButton(platform::Answer a) {
    switch (a) {
        case platform::Answer::Yes:
            return QMessageBox::Yes;
        case platform::Answer::No:
            return QMessageBox::No;
        case platform::Answer::OK:
            return QMessageBox::Ok;
        default:
            return QMessageBox::Cancel;
    }
}

QString productTitle() {
    return QString::fromLatin1(host::HostApplication::kProductName);
}

}  // namespace

Session::Session(Options options, QObject* parent)
    : QObject(parent),
      options_(std::move(options)),
      registry_(options_.registry ? options_.registry : &platform::HostRegistry::instance()),
      ui_(options_.ui) {
    if (!ui_) {
        if (options_.hooksFolder.isEmpty())
            ownUi_ = std::make_unique<platform::QtUi>();
        else
            ownUi_ = std::make_unique<RecordingUi>(options_.hooksFolder);
        ui_ = ownUi_.get();
    }
    server_ = std::make_unique<platform::SingleInstance>(platform::SingleInstance::userRecord(),
                                                         options_.serverName);
    server_->setRequestHandler([this](const QByteArray& line) { return answer(line); });
    // Starting the CAD application means starting the drawing host in the session.
    registry_->setHostFactory([this] { return startHost(host::drawingsFromEnvironment()); });
    endedListener_ = registry_->addEndedListener([this] { onHostEnded(); });
}

Session::~Session() {
    registry_->removeEndedListener(endedListener_);
    registry_->setHostFactory(nullptr);
    if (tool_ && tool_->form)
        delete tool_->form.data();
    tool_.reset();
    if (registry_->attachRunning() == host_)
        registry_->unregisterRunning();
    host_.reset();
    server_->release();
}

bool Session::listen() {
    return server_->listen();
}

std::optional<QByteArray> Session::answer(const QByteArray& line) {
    const auto request = decode(line);
    if (!request || ended_)
        return std::nullopt;
    const bool hook = request->kind == Request::Kind::Status ||
                      request->kind == Request::Kind::Close ||
                      request->kind == Request::Kind::Command;
    if (hook && options_.hooksFolder.isEmpty())
        return std::nullopt;
    if (request->kind == Request::Kind::Status)
        return status();
    // The work may ask questions: the asking start gets its answer first.
    QTimer::singleShot(0, this, [this, r = *request] { handle(r); });
    return kOk.toByteArray();
}

void Session::handle(const Request& request) {
    if (ended_)
        return;
    switch (request.kind) {
        case Request::Kind::Tool:
            showTool();
            break;
        case Request::Kind::Host:
            showHost(request.args);
            break;
        case Request::Kind::Close:
            if (request.args.value(0) == QLatin1String("tool") && toolWindow())
                toolWindow()->close();
            else if (request.args.value(0) == QLatin1String("host") && hostWindow_)
                hostWindow_->close();
            break;
        case Request::Kind::Command:
            if (hostWindow_)
                hostWindow_->commandLine().typeKeys(request.args.value(0) + QLatin1Char('\r'));
            break;
        case Request::Kind::Status:
            break;
    }
}

frmMain* Session::toolWindow() const {
    return tool_ ? tool_->form.data() : nullptr;
}

void Session::showTool() {
    if (frmMain* form = toolWindow()) {
        // The running tool comes forward. While it is still loading, its
        // own question is in front already.
        if (form->isVisible() || form->isMinimized()) {
            const auto h = platform::handleOf(form);
            platform::showNormal(h);
            platform::bringToForeground(h);
        }
        return;
    }
    tool_ = std::make_unique<Tool>();
    Tool* tool = tool_.get();
    tool->program.Hosts = registry_;
    auto* form = new frmMain(tool->program, *ui_);
    tool->form = form;
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &QObject::destroyed, this, [this, tool] {
        // The program state goes once the window's own teardown is over.
        QTimer::singleShot(0, this, [this, tool] { onToolDestroyed(tool); });
    });
    form->show();
}

void Session::onToolDestroyed(Tool* tool) {
    if (tool_.get() == tool)
        tool_.reset();  // releases the tool's references to the host
    checkEnd();
}

host::HostDialogs Session::hostDialogs() {
    host::HostDialogs d = host::HostDialogs::standard();
    platform::Ui* ui = ui_;
    d.askSaveChanges = [ui](QWidget*, const QString& name) {
        return toButton(ui->messageBox(host::saveChangesQuestion(name),
                                       platform::Buttons::YesNoCancel, platform::Icon::Question,
                                       productTitle()));
    };
    d.showError = [ui](QWidget*, const QString& message) {
        ui->messageBox(message, platform::Buttons::OK, platform::Icon::Critical, productTitle());
    };
    d.askOpenRecovery = [ui](QWidget*, const QString& text) {
        return toButton(ui->messageBox(text, platform::Buttons::YesNo, platform::Icon::Question,
                                       productTitle()));
    };
    if (!options_.hooksFolder.isEmpty()) {
        d.openFile = [ui](QWidget*) {
            return ui->openFileName(QStringLiteral("Open"), QString(), QString())
                .value_or(QString());
        };
        d.saveFile = [](QWidget*, const QString&) { return QString(); };
    }
    return d;
}

acad::ApplicationPtr Session::startHost(const QStringList& paths) {
    if (auto running = registry_->attachRunning())
        return running;
    host::HostWindow* window = nullptr;
    host_ = host::startHost(paths, hostDialogs(), &window);
    hostWindow_ = window;
    connect(window, &host::HostWindow::closed, this, &Session::onHostClosed);
    registry_->registerRunning(host_);
    return host_;
}

void Session::showHost(const QStringList& paths) {
    if (!hostWindow_ || !registry_->attachRunning()) {
        startHost(paths.isEmpty() ? host::drawingsFromEnvironment() : paths);
        return;
    }
    // A running host opens each drawing in a tab of its own, or shows the
    // tab that holds it, and comes forward.
    for (const QString& p : paths)
        hostWindow_->openDrawing(p);
    const auto h = platform::handleOf(hostWindow_);
    platform::showNormal(h);
    platform::bringToForeground(h);
}

std::shared_ptr<host::HostApplication> Session::hostApplication() const {
    return hostWindow_ ? hostWindow_->application() : nullptr;
}

void Session::onHostClosed() {
    // Every drawing was saved or let go: the host ends. Its drawings close,
    // so whatever the tool still holds of them reports them gone.
    if (auto app = hostApplication()) {
        const auto docs = app->documents();
        for (const auto& doc : docs)
            app->close(doc);
    }
    registry_->reportEnded();
    // The window is inside its own close: let go of it afterwards.
    QTimer::singleShot(0, this, [this] {
        host_.reset();
        checkEnd();
    });
}

void Session::onHostEnded() {
    // The tool reacts as when the application disappears: the read of the
    // active drawing fails, says so, and the tool ends. A running command
    // finds out by itself.
    QTimer::singleShot(0, this, [this] {
        frmMain* form = toolWindow();
        if (!form || !form->isVisible() || terminating_)
            return;
        Program& p = form->program();
        if (p.Busy || p.Ending || !p.AcadApp)
            return;
        basAcadObject::pu_subReadActiveDocument(*form);
        if (p.NoDocument)
            form->endProgram();
    });
}

void Session::checkEnd() {
    if (ended_)
        return;
    if (toolWindow() || (hostWindow_ && hostWindow_->isVisible()))
        return;
    ended_ = true;
    server_->release();
    Q_EMIT ended();
}

void Session::terminate(int signalNumber) {
    if (terminating_ || ended_)
        return;
    terminating_ = true;
    if (auto app = hostApplication(); app && registry_->attachRunning()) {
        QStringList failures;
        const QStringList written =
            host::writeRecoveryFiles(*app, options_.untitledRecovery, &failures);
        for (const QString& f : written)
            std::fprintf(stderr, "tova: signal %d: unsaved changes kept in %s\n", signalNumber,
                         qPrintable(f));
        for (const QString& f : failures)
            std::fprintf(stderr, "tova: signal %d: could not write %s\n", signalNumber,
                         qPrintable(f));
    }
    // The tool closes as its close box does (it saves its placement and asks
    // nothing); the host window goes with the session without its questions.
    if (frmMain* form = toolWindow(); form && !QApplication::activeModalWidget())
        form->close();
    ended_ = true;
    server_->release();
    Q_EMIT ended();
}

QByteArray Session::status() const {
    QJsonObject s;
    if (frmMain* form = toolWindow()) {
        s[QStringLiteral("tool")] = QJsonObject{
            {QStringLiteral("visible"), form->isVisible()},
            {QStringLiteral("title"), form->windowTitle()},
            {QStringLiteral("on"), form->LstON->count()},
            {QStringLiteral("off"), form->LstOFF->count()},
            {QStringLiteral("active"), form->isActiveWindow()},
        };
    }
    if (auto app = hostApplication(); app && registry_->attachRunning()) {
        QJsonArray docs;
        for (const auto& d : app->documents())
            docs.append(QJsonObject{{QStringLiteral("name"), d->Name()},
                                    {QStringLiteral("full"), d->FullName()},
                                    {QStringLiteral("modified"), d->isModified()}});
        s[QStringLiteral("host")] = QJsonObject{
            {QStringLiteral("visible"), hostWindow_->isVisible()},
            {QStringLiteral("active"),
             app->activeDocument() ? app->activeDocument()->Name() : QString()},
            {QStringLiteral("documents"), docs},
        };
    }
    s[QStringLiteral("pid")] = QCoreApplication::applicationPid();
    return QJsonDocument(s).toJson(QJsonDocument::Compact);
}

}  // namespace session
