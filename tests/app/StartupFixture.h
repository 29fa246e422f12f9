#pragma once

// A main window started against a drawing host of the test's own: its own
// settings folder, single-instance record and socket, host registry and
// scripted Ui, so nothing touches the user's real ones.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QUuid>
#include <memory>

#include "TestPaths.h"
#include "app/Program.h"
#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "host/HostApplication.h"
#include "platform/HostRegistry.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"
#include "platform/SingleInstance.h"

struct StartupEnv {
    QTemporaryDir home;  // the program folder: TOVA.ini lives here
    QString recordFile;
    QString serverName = QStringLiteral("tova-test-") + QUuid::createUuid().toString(QUuid::Id128);
    platform::HostRegistry hosts;

    StartupEnv() {
        qputenv("TOVA_HOME", home.path().toLocal8Bit());
        recordFile = home.path() + QStringLiteral("/record.ini");
    }
    QString iniPath() const { return home.path() + QStringLiteral("/TOVA.ini"); }
    void writeIni(const QByteArray& text) const {
        QFile f(iniPath());
        f.open(QIODevice::WriteOnly);
        f.write(text);
    }
    QByteArray readIni() const {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<platform::SingleInstance> makeInstance() {
        return std::make_unique<platform::SingleInstance>(
            std::make_unique<QSettings>(recordFile, QSettings::IniFormat), serverName);
    }
    // A running host holding a copy of a test drawing.
    host::HostApplicationPtr runningHost(const char* drawing = "small_2000.dxf") {
        auto app = std::make_shared<host::HostApplication>();
        if (drawing) {
            const QString dst = home.path() + QLatin1Char('/') + QString::fromLatin1(drawing);
            QFile::remove(dst);
            QFile::copy(testsupport::sourceDir() + QStringLiteral("/tests/data/") +
                            QString::fromLatin1(drawing),
                        dst);
            QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            app->open(dst);
        }
        hosts.registerRunning(app);
        return app;
    }
};

// One start of the program.
struct Start {
    platform::ScriptedUi ui;
    Program program;
    std::unique_ptr<frmMain> form;

    explicit Start(StartupEnv& env) {
        program.Hosts = &env.hosts;
        program.Instance = env.makeInstance();
        program.WorkArea = [] { return QRect(0, 0, 1024, 738); };
        program.TwipsPerPixelY = [] { return 15.0; };
        form = std::make_unique<frmMain>(program, ui);
    }
    // Shows the window (the load runs first) and lets queued work finish.
    void show() {
        form->show();
        settle();
    }
    // Shows the window with the tiling question answered Cancel.
    void showTilingCancelled() {
        ui.expectMessage(basAcadObject::tilingQuestion(), platform::appTitle(),
                         platform::Buttons::YesNoCancel, platform::Icon::Question,
                         platform::Answer::Cancel);
        show();
    }
    // Every message box shown was expected, and every expected one was shown.
    void expectUiDone() const {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(ui.allConsumed())
            << ui.pendingDescriptions().join(QLatin1Char('\n')).toStdString();
    }
    static void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    bool ended() const { return form->isHidden(); }
};

// The program attached to a host of the test's own that holds one drawing,
// started with the tiling question answered Cancel. At the end every message
// box must have been expected and every expected one shown.
struct AttachedStart {
    StartupEnv env;
    host::HostApplicationPtr host = std::make_shared<host::HostApplication>();
    std::unique_ptr<Start> s;

    void attach(const QString& drawing) {
        host->open(drawing);
        env.hosts.registerRunning(host);
        s = std::make_unique<Start>(env);
        s->showTilingCancelled();
    }
    ~AttachedStart() { s->expectUiDone(); }
    frmMain& f() { return *s->form; }
    platform::ScriptedUi& ui() { return s->ui; }
    host::HostDocumentPtr doc() { return host->activeDocument(); }
};
