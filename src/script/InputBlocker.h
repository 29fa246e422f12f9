#pragma once

// Keeps user input away from the tool's windows while it waits for the CAD
// application: mouse clicks, keys, the wheel, context menus, touch and
// closing a window are dropped. Windows still repaint and timers still run.
// The CAD application's window (and the dialogs it owns) keeps its input, so
// the user can still watch, and cancel, what it runs.

#include <QObject>
#include <QPointer>

class QWidget;

namespace basScript {

class InputBlocker : public QObject {
public:
    // Blocks from construction to destruction. allowed: the CAD window whose
    // input passes; null blocks every window.
    explicit InputBlocker(QWidget* allowed);
    ~InputBlocker() override;

    // How many input events were dropped.
    int dropped() const { return dropped_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isAllowed(const QWidget* w) const;
    QPointer<QWidget> allowed_;
    int dropped_ = 0;
};

}  // namespace basScript
