#include "script/basScript.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QScopeGuard>
#include <QThread>
#include <QWidget>

#include "platform/Keystrokes.h"
#include "platform/Procedure.h"
#include "platform/Windows.h"
#include "script/InputBlocker.h"
#include "script/frmScriptExecute.h"

namespace basScript {

namespace {

QString inFolder(const Engine& e, const char* name) {
    return QDir(e.programFolder).filePath(QString::fromLatin1(name));
}

// Set while a script runs: a second run started meanwhile is refused.
bool g_running = false;

// Lets windows repaint while the CAD application runs the script: events are
// handled between polls, with a short sleep so the loop does not spin.
void waitUntilQuiescent(Engine& engine) {
    while (!engine.app->GetAcadState()->IsQuiescent()) {
        engine.ui.doEvents();
        QThread::msleep(5);
    }
}

}  // namespace

QString headerPath(const Engine& engine) {
    return inFolder(engine, "SCRIPT_HEADER.txt");
}
QString footerPath(const Engine& engine) {
    return inFolder(engine, "SCRIPT_FOOTER.txt");
}
QString runFilePath(const Engine& engine) {
    return inFolder(engine, "tmp_tova_script.scr");
}

QString scriptKeystrokes(const QString& runFile) {
    // The path is typed literally: characters the keystroke notation treats
    // as special are escaped, so any file name arrives unchanged.
    return QStringLiteral("{ESC}{ESC}filedia\r0\rscript\r") +
           platform::escapeKeys(QDir::toNativeSeparators(runFile)) + QStringLiteral("\r");
}

bool isScriptRunning() {
    return g_running;
}

void pu_subExecuteScript(Engine& engine, bool& bCancel, const QString& sScriptPath) {
    // Only one script at a time: a run asked for while one is under way is
    // refused as if its review had been cancelled.
    if (g_running) {
        bCancel = true;
        return;
    }
    g_running = true;
    const auto done = qScopeGuard([] { g_running = false; });
    bCancel = false;
    platform::trap(engine.ui, QStringLiteral("pu_subExecuteScript"), [&] {
        const QString header = headerPath(engine);
        const QString footer = footerPath(engine);
        frmScriptExecute::pu_subShow(engine.ui, bCancel, header, sScriptPath, footer);
        if (bCancel)
            return;
        if (!engine.app)
            acad::raise(acad::ErrorNumber::Disconnected, QStringLiteral("No application"));
        platform::bringToForeground(engine.acadWindow);
        engine.app->Update();
        const QString run = runFilePath(engine);
        pr_subJoinScriptFiles(run, {header, sScriptPath, footer});
        // From the first key to the end of the run the tool's own windows
        // take no user input, so no click starts another command mid-run.
        // The window the keys go to (the CAD window) keeps its input: the
        // user can still cancel the script with Escape on its command line.
        QWidget* cad = platform::widgetOf(engine.acadWindow);
        if (!cad)
            if (QWidget* target = platform::keyTarget())
                cad = target->window();
        InputBlocker blocker(cad);
        platform::sendKeys(scriptKeystrokes(run), true);
        waitUntilQuiescent(engine);
    });
}

void pu_subExecuteJoinedScript(Engine& engine, bool& bCancel, const QString& sFirst,
                               const QString& sSecond) {
    const QString joined = inFolder(engine, "tova_script.scr");
    bCancel = false;
    if (!platform::trap(engine.ui, QStringLiteral("pu_subExecuteJoinedScript"), [&] {
            pr_subJoinScriptFiles(joined, {sFirst, sSecond});
        }))
        return;
    pu_subExecuteScript(engine, bCancel, joined);
}

}  // namespace basScript
