#include "platform/ActivationWatcher.h"

#include <QtGui/qevent.h>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include "platform/Windows.h"

namespace platform {

namespace {

// Long enough for a window manager to hand the focus from a closing dialog to
// its owner, short enough to go unnoticed.
constexpr int kFocusLossDelayMs = 150;

}  // namespace

ActivationWatcher::ActivationWatcher(OwnWindowPredicate isOwnWindow, WindowRegistry* registry,
                                     QObject* parent)
    : QObject(parent), isOwnWindow_(std::move(isOwnWindow)) {
    if (!registry)
        registry = &WindowRegistry::instance();
    connect(registry, &WindowRegistry::foregroundChanged, this,
            &ActivationWatcher::notifyForeground);
    focusLost_.setSingleShot(true);
    focusLost_.setInterval(kFocusLossDelayMs);
    connect(&focusLost_, &QTimer::timeout, this, [this] { notifyForeground(nullptr); });
    if (qApp) {
        qApp->installEventFilter(this);
        connect(qApp, &QGuiApplication::focusWindowChanged, this,
                &ActivationWatcher::onFocusWindowChanged);
    }
}

ActivationWatcher::~ActivationWatcher() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool ActivationWatcher::isOwn(const QWidget* window) const {
    // A dialog or message box counts as the window that owns it.
    const QWidget* top = window ? window->window() : nullptr;
    while (top) {
        if (isOwnWindow_ && isOwnWindow_(top))
            return true;
        const QWidget* owner = top->parentWidget();
        top = owner ? owner->window() : nullptr;
    }
    return false;
}

void ActivationWatcher::notifyForeground(QWidget* window) {
    focusLost_.stop();
    const bool own = window && isOwn(window);
    if (own == active_)
        return;
    active_ = own;
    if (own)
        Q_EMIT applicationActivated();
    else
        Q_EMIT applicationDeactivated();
}

bool ActivationWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ActivationChange && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && w->isActiveWindow())
            notifyForeground(w);
    } else if (event->type() == QEvent::ApplicationStateChange && watched == qApp) {
        const auto* change = static_cast<QApplicationStateChangeEvent*>(event);
        if (change->applicationState() != Qt::ApplicationActive)
            focusLost_.start();
    }
    return QObject::eventFilter(watched, event);
}

void ActivationWatcher::onFocusWindowChanged(QWindow* window) {
    if (!window) {
        focusLost_.start();
        return;
    }
    // A window without a widget (a native file dialog) is the application's
    // own, but says nothing about which of its windows is in front.
    focusLost_.stop();
    if (QWidget* w = widgetOfWindow(window))
        notifyForeground(w);
}

}  // namespace platform
