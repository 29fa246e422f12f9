#pragma once

// Tells the tool when it as a whole gains or loses the activation: when the
// active window moves from one of the tool's own windows to anything else (the
// drawing host's window, another program, nothing) and back. Moving between
// the tool's own windows - the main window and its dialogs and message boxes -
// is no transition.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;
class QWindow;

namespace platform {

class WindowRegistry;

class ActivationWatcher : public QObject {
    Q_OBJECT

public:
    // Whether a top-level widget belongs to the tool.
    using OwnWindowPredicate = std::function<bool(const QWidget*)>;

    // Watches the application's activation events and the foreground record of
    // registry (the process-wide one when null). Starts inactive, so the first
    // activation of an own window is reported.
    explicit ActivationWatcher(OwnWindowPredicate isOwnWindow, WindowRegistry* registry = nullptr,
                               QObject* parent = nullptr);
    ~ActivationWatcher() override;

    // Reports that window became the foreground window; null means a window
    // that is not ours (another program). Emits on a transition only.
    void notifyForeground(QWidget* window);

    // Whether one of the tool's windows holds the activation.
    bool isActive() const { return active_; }
    // How long the focus must stay with no window before that counts as
    // another program's activation (milliseconds).
    void setFocusLossDelay(int ms) { focusLost_.setInterval(ms); }
    // Whether the focus went to no window and the delay is still running.
    bool focusLossPending() const { return focusLost_.isActive(); }
    // Whether the window counts as the tool's own: the predicate holds for it
    // or for the window that owns it (a dialog's parent window).
    bool isOwn(const QWidget* window) const;

Q_SIGNALS:
    void applicationActivated();
    void applicationDeactivated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onFocusWindowChanged(QWindow* window);

    OwnWindowPredicate isOwnWindow_;
    bool active_ = false;
    // Losing the focus to no window at all counts only when no window of the
    // application takes it within a short delay: closing a dialog passes
    // through "no active window" on its way back to the main window.
    QTimer focusLost_;
};

}  // namespace platform
