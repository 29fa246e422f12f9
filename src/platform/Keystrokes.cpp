#include "platform/Keystrokes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <deque>

#include "platform/Windows.h"

namespace platform {

namespace {

QWidget* focusIn(QWidget* window) {
    QWidget* f = window->focusWidget();
    return f ? f : window;
}

// The modal dialog that keeps input from window, if any.
QWidget* blockingModal(const QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window)
        return nullptr;
    if (!window || modal->windowModality() == Qt::ApplicationModal)
        return modal;
    // A window-modal dialog blocks the windows it belongs to.
    for (QWidget* p = modal->parentWidget(); p; p = p->parentWidget()) {
        if (p->window() == window)
            return modal;
    }
    return nullptr;
}

// The keys not yet delivered, in order; shared by every caller so that keys
// of a later call never overtake those of an earlier one.
class KeyQueue : public QObject {
public:
    static KeyQueue& instance() {
        static KeyQueue queue;
        return queue;
    }

    void append(const QList<KeyStroke>& strokes) {
        const bool wasEmpty = pending_.empty();
        pending_.insert(pending_.end(), strokes.begin(), strokes.end());
        if (wasEmpty && !pending_.empty())
            schedule();
    }

    void drain() {
        while (!pending_.empty()) {
            deliverOne();
            QCoreApplication::processEvents();
        }
        // The consequences of the last key.
        QCoreApplication::processEvents();
    }

    int size() const { return static_cast<int>(pending_.size()); }

private:
    void schedule() {
        QMetaObject::invokeMethod(
            this, [this] { deliverScheduled(); }, Qt::QueuedConnection);
    }

    void deliverScheduled() {
        deliverOne();
        if (!pending_.empty())
            schedule();
    }

    // Press and release of the first key, to the widget that has the focus now.
    void deliverOne() {
        if (pending_.empty())
            return;
        const KeyStroke stroke = pending_.front();
        pending_.pop_front();
        QPointer<QWidget> target = keyTarget();
        if (!target)
            return;
        QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
        QCoreApplication::sendEvent(target, &press);
        // The press may have closed the widget; a release then goes nowhere.
        if (!target)
            return;
        QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
        QCoreApplication::sendEvent(target, &release);
    }

    std::deque<KeyStroke> pending_;
};

}  // namespace

QWidget* keyTarget() {
    QWidget* foreground = widgetOf(foregroundWindow());
    if (QWidget* modal = blockingModal(foreground))
        return focusIn(modal);
    if (foreground)
        return focusIn(foreground);
    if (QWidget* f = QApplication::focusWidget())
        return f;
    return QApplication::activeWindow();
}

bool sendKeys(const QString& keys, bool wait) {
    const auto strokes = parseKeys(keys);
    if (!strokes)
        return false;
    KeyQueue& queue = KeyQueue::instance();
    queue.append(*strokes);
    if (wait)
        queue.drain();
    return true;
}

int pendingKeys() {
    return KeyQueue::instance().size();
}

}  // namespace platform
