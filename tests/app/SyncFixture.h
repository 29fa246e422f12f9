#pragma once

// The tool started beside a drawing host that has its own window, both shown
// offscreen, so activation moves between them as the user moves it.

#include <gtest/gtest.h>
#include <QApplication>
#include <QDebug>
#include <QTest>

#include "StartupFixture.h"
#include "app/basAPIActEvent.h"
#include "app/basAcadObject.h"
#include "host/window/HostWindow.h"
#include "platform/ActivationWatcher.h"
#include "platform/Procedure.h"

struct SyncScene {
    StartupEnv env;
    host::HostApplicationPtr host;
    std::unique_ptr<host::HostWindow> hostWindow;
    std::unique_ptr<Start> s;

    // ini: the settings file the program starts with (empty: none).
    explicit SyncScene(const QByteArray& ini = {}) {
        if (!ini.isEmpty())
            env.writeIni(ini);
        host = env.runningHost();
        hostWindow = std::make_unique<host::HostWindow>(host, host::HostDialogs{});
        hostWindow->show();
        s = std::make_unique<Start>(env);
        s->showTilingCancelled();
        // Start-up ends with the tool in front.
        form().activateWindow();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return watcher() && watcher()->isActive() && settled(); }, 5000));
    }
    ~SyncScene() {
        s->expectUiDone();
        s.reset();
        hostWindow.reset();
    }

    frmMain& form() { return *s->form; }
    Program& program() { return s->program; }
    platform::ScriptedUi& ui() { return s->ui; }
    platform::ActivationWatcher* watcher() { return basAPIActEvent::pu_fun_Watcher(form()); }

    // No activation change is still on its way (or nothing watches any more).
    bool settled() { return !watcher() || !watcher()->focusLossPending(); }

    // The user clicks the host window.
    bool toHost() {
        hostWindow->activateWindow();
        return QTest::qWaitFor(
            [&] { return QApplication::activeWindow() == hostWindow.get() && settled(); }, 5000);
    }
    // The user clicks the tool's main window.
    bool toTool() {
        form().activateWindow();
        const bool ok = QTest::qWaitFor(
            [&] { return form().isHidden() || (watcher() && watcher()->isActive() && settled()); },
            5000);
        if (!ok)
            qWarning() << "toTool failed: active window" << QApplication::activeWindow()
                       << "watcher" << (watcher() ? watcher()->isActive() : -1) << "pending"
                       << (watcher() ? watcher()->focusLossPending() : -1);
        return ok;
    }

    void expectNoDocumentMessage() {
        s->ui.expectMessage(basAcadObject::noDocumentMessage(), platform::appTitle(),
                            platform::Buttons::OK, platform::Icon::Critical, platform::Answer::OK);
    }
};
