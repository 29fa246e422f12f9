#include "app/basAPIActEvent.h"

#include <QDialog>
#include <QPointer>
#include <QScopeGuard>

#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "platform/ActivationWatcher.h"
#include "platform/Procedure.h"

namespace basAPIActEvent {

using platform::skipOnFailure;

namespace {

const QString kHookName = QStringLiteral("basAPIActEvent");

// The hook: the watcher that reports the activation changes, kept as a child
// of the main window so that it goes with it.
class Hook : public QObject {
public:
    explicit Hook(frmMain& form) : QObject(&form) {
        setObjectName(kHookName);
        watcher = new platform::ActivationWatcher(
            [&form](const QWidget* w) { return pr_fun_bIsToolWindow(form, w); }, nullptr, this);
        QObject::connect(watcher, &platform::ActivationWatcher::applicationActivated, this,
                         [&form] { pu_subActivateApp(form, true); });
        QObject::connect(watcher, &platform::ActivationWatcher::applicationDeactivated, this,
                         [&form] { pu_subActivateApp(form, false); });
    }

    // The main window, and the boxes and the progress window the tool shows
    // without an owner (a message box when no window of the tool is active).
    // Windows of the host always have the host window as their owner.
    static bool pr_fun_bIsToolWindow(const frmMain& form, const QWidget* w) {
        if (w == &form)
            return true;
        return w->parentWidget() == nullptr && (qobject_cast<const QDialog*>(w) != nullptr ||
                                                w->objectName() == QLatin1String("frmSplash"));
    }

    platform::ActivationWatcher* watcher = nullptr;
    // Set while an activation is handled: the handling may show boxes and
    // let events run, and a deactivation meanwhile must not store a height.
    bool activating = false;
};

Hook* pr_fun_Hook(frmMain& form) {
    return dynamic_cast<Hook*>(form.findChild<QObject*>(kHookName, Qt::FindDirectChildrenOnly));
}

// Neither minimised nor maximised.
bool pr_fun_bNormalState(const frmMain& form) {
    return !(form.windowState() &
             (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

// Whether the host's active drawing is another than the one last read. A
// drawing never saved has an empty full name, so two of them differ only as
// documents; a drawing closed and opened again is a new document too, and
// the one held would fail every command.
bool pr_fun_bOtherDrawing(const Program& p, const acad::DocumentPtr& doc,
                          const QString& sFullName) {
    return sFullName != p.DocFullName || doc != p.AcadDoc;
}

void pr_subActivate(frmMain& form, Hook& hook) {
    Program& p = form.program();
    hook.activating = true;
    const QPointer<Hook> guard(&hook);
    const auto done = qScopeGuard([&] {
        if (guard)
            guard->activating = false;
    });

    // 1. Read again when another drawing is active; when the active drawing
    // cannot even be asked for, read again whatever the first-activation
    // flag holds: the read tells the user and ends the program.
    acad::DocumentPtr doc;
    QString sFullName;
    const bool bAsked = skipOnFailure([&] {
        if (!p.AcadApp)
            acad::raise(acad::ErrorNumber::NoActiveDocument, QStringLiteral("No application"));
        doc = p.AcadApp->ActiveDocument();
        sFullName = doc->FullName();
    });
    if (!bAsked || (p.FirstActivation && pr_fun_bOtherDrawing(p, doc, sFullName))) {
        skipOnFailure([&] { basAcadObject::pu_subReadActiveDocument(form); });
        if (p.NoDocument) {
            pu_subRemoveHook(form);
            form.endProgram();
            return;
        }
        // The progress window of the read has closed; not every platform
        // hands the activation back to the window the user came to.
        if (guard && guard->watcher->isActive())
            form.activateWindow();
    }
    // 2.
    p.FirstActivation = true;
    // 3. The height it had, unless the user went away again while the read
    // showed its boxes.
    if (!guard || !guard->watcher->isActive())
        return;
    if (pr_fun_bNormalState(form) && p.Options.AutoHide) {
        p.Snapping = false;
        // The resize that follows only updates the frames; when the height
        // is already right there is no resize, so update them here.
        if (form.heightTwips() == p.RestoreHeight)
            form.Form_Resize();
        else
            form.setHeightTwips(p.RestoreHeight);
    }
}

void pr_subDeactivate(frmMain& form, const Hook& hook) {
    Program& p = form.program();
    if (hook.activating)
        return;
    if (pr_fun_bNormalState(form) && p.Options.AutoHide) {
        p.RestoreHeight = form.heightTwips();
        form.setHeightTwips(kHiddenHeight);
    }
}

}  // namespace

QString syncErrorMessage() {
    return QStringLiteral(
        "AutoCADとの同期処理で予期せぬエラーが\n発生しましたので強制終了します。");
}

void pu_subSetHook(frmMain& form) {
    pu_subRemoveHook(form);
    new Hook(form);
}

void pu_subRemoveHook(frmMain& form) {
    Hook* hook = pr_fun_Hook(form);
    if (!hook)
        return;
    // It may be removed from inside its own signal: silence it now, delete
    // it once that signal has returned.
    hook->setObjectName(QString());
    hook->watcher->disconnect(hook);
    hook->watcher->blockSignals(true);
    hook->deleteLater();
}

bool pu_fun_bHooked(frmMain& form) {
    return pr_fun_Hook(form) != nullptr;
}

platform::ActivationWatcher* pu_fun_Watcher(frmMain& form) {
    Hook* hook = pr_fun_Hook(form);
    return hook ? hook->watcher : nullptr;
}

void pu_subActivateApp(frmMain& form, bool bActive) {
    Hook* hook = pr_fun_Hook(form);
    if (!hook || form.program().Busy)
        return;
    pu_fun_bRunSynchronised(form, [&] {
        if (bActive)
            pr_subActivate(form, *hook);
        else
            pr_subDeactivate(form, *hook);
    });
}

bool pu_fun_bRunSynchronised(frmMain& form, const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception&) {
    }
    form.ui().messageBox(syncErrorMessage(), platform::Buttons::OK, platform::Icon::Critical,
                         platform::appTitle());
    pu_subRemoveHook(form);
    form.program().Ending = true;
    form.close();
    return false;
}

}  // namespace basAPIActEvent
