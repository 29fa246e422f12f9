#include "session/SessionMain.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <cstdio>

#include "platform/SingleInstance.h"
#include "platform/Translations.h"
#include "session/Session.h"
#include "session/TerminationSignals.h"
#include "session/TestHooks.h"

namespace session {

namespace {

// How long a start waits for the running session to answer.
constexpr int kAnswerMs = 5000;

bool handedOver(const QString& serverName, const Request& request, int* status) {
    const auto reply = platform::SingleInstance::request(serverName, encode(request), kAnswerMs);
    if (!reply)
        return false;
    if (*reply != kOk) {
        std::fprintf(stderr, "tova: the running session refused the request\n");
        *status = 1;
    } else {
        *status = 0;
    }
    return true;
}

}  // namespace

int runProgram(int argc, char** argv, Command command) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TOVA"));
    platform::installQtTranslations(app);
    // The session decides when it ends: when its last window has closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(9);
    QApplication::setFont(font);

    Request request;
    if (command == Command::Host) {
        request.kind = Request::Kind::Host;
        for (const QString& arg : QApplication::arguments().mid(1)) {
            if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
                std::printf(
                    "Usage: tova-host [FILE.dxf ...]\n"
                    "Opens the drawings in the running drawing host, or starts it.\n");
                return 0;
            }
            // The session runs in a folder of its own: hand it full paths.
            request.args << QFileInfo(arg).absoluteFilePath();
        }
    }

    const QString serverName = platform::SingleInstance::userServerName();
    int status = 0;
    if (handedOver(serverName, request, &status))
        return status;

    Session::Options options;
    options.serverName = serverName;
    options.hooksFolder = testHooksFolder();
    Session session(options);
    if (!session.listen()) {
        // Another start became the session meanwhile: hand over to it.
        if (handedOver(serverName, request, &status))
            return status;
        std::fprintf(stderr, "tova: the session socket %s cannot be used; running alone\n",
                     qPrintable(serverName));
    }
    TerminationSignals signalsToSession;
    QObject::connect(&signalsToSession, &TerminationSignals::received, &session,
                     &Session::terminate);
    QObject::connect(&session, &Session::ended, &app, [] { QCoreApplication::exit(0); });
    session.handle(request);
    if (session.isEnded())
        return 0;
    return QApplication::exec();
}

}  // namespace session
