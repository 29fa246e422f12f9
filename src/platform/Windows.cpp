#include "platform/Windows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// Room for a million handles per run below the process id.
constexpr int kSerialBits = 20;

QString propKey(const QString& name) {
    return name.toLower();
}

}  // namespace

WindowRegistry& WindowRegistry::instance() {
    static WindowRegistry registry;
    return registry;
}

WindowRegistry::WindowRegistry()
    : next_((static_cast<qint64>(QCoreApplication::applicationPid()) << kSerialBits) + 1) {
    if (qGuiApp) {
        connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
                &WindowRegistry::onFocusWindowChanged);
    }
}

WindowHandle WindowRegistry::handleOf(QWidget* w) {
    if (!w)
        return 0;
    QWidget* window = w->window();
    if (const auto it = handles_.constFind(window); it != handles_.constEnd())
        return it.value();
    const WindowHandle h = next_++;
    entries_.insert(h, Entry{window, {}});
    handles_.insert(window, h);
    connect(window, &QObject::destroyed, this, &WindowRegistry::forget);
    return h;
}

void WindowRegistry::forget(QObject* widget) {
    const WindowHandle h = handles_.take(widget);
    entries_.remove(h);
    // The record falls back to the active window; where the activation went is
    // for the platform to tell, not for the destruction to guess.
    if (foreground_ == h)
        foreground_ = 0;
}

QWidget* WindowRegistry::widgetOf(WindowHandle h) const {
    const auto it = entries_.constFind(h);
    return it == entries_.constEnd() ? nullptr : it->widget.data();
}

bool WindowRegistry::isWindow(WindowHandle h) const {
    return widgetOf(h) != nullptr;
}

WindowHandle WindowRegistry::findWindowByTitle(const QString& title) {
    // A visible window wins over a hidden one of the same title.
    QWidget* hidden = nullptr;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->windowTitle() != title)
            continue;
        if (w->isVisible())
            return handleOf(w);
        if (!hidden)
            hidden = w;
    }
    return handleOf(hidden);
}

bool WindowRegistry::bringToForeground(WindowHandle h) {
    QWidget* w = widgetOf(h);
    if (!w)
        return false;
    w->show();
    w->raise();
    w->activateWindow();
    recordForeground(h);
    return true;
}

void WindowRegistry::recordForeground(WindowHandle h) {
    if (foreground_ == h)
        return;
    foreground_ = h;
    Q_EMIT foregroundChanged(widgetOf(h));
}

void WindowRegistry::onFocusWindowChanged(QWindow* window) {
    // A window of ours that really got activated is the foreground window. Losing
    // the focus to nothing is not recorded: on a bare X server that happens
    // without any other window taking over.
    if (QWidget* w = widgetOfWindow(window))
        recordForeground(handleOf(w));
}

WindowHandle WindowRegistry::foregroundWindow() {
    if (isWindow(foreground_))
        return foreground_;
    return handleOf(QApplication::activeWindow());
}

bool WindowRegistry::showNormal(WindowHandle h) {
    QWidget* w = widgetOf(h);
    if (!w)
        return false;
    w->showNormal();
    return true;
}

bool WindowRegistry::setProp(WindowHandle h, const QString& name, qintptr value) {
    const auto it = entries_.find(h);
    if (it == entries_.end() || !it->widget)
        return false;
    it->props.insert(propKey(name), value);
    return true;
}

qintptr WindowRegistry::getProp(WindowHandle h, const QString& name) const {
    const auto it = entries_.constFind(h);
    if (it == entries_.constEnd() || !it->widget)
        return 0;
    return it->props.value(propKey(name), 0);
}

bool WindowRegistry::hasProp(WindowHandle h, const QString& name) const {
    const auto it = entries_.constFind(h);
    return it != entries_.constEnd() && it->widget && it->props.contains(propKey(name));
}

qintptr WindowRegistry::removeProp(WindowHandle h, const QString& name) {
    const auto it = entries_.find(h);
    if (it == entries_.end())
        return 0;
    return it->props.take(propKey(name));
}

WindowHandle handleOf(QWidget* w) {
    return WindowRegistry::instance().handleOf(w);
}
QWidget* widgetOf(WindowHandle h) {
    return WindowRegistry::instance().widgetOf(h);
}
bool isWindow(WindowHandle h) {
    return WindowRegistry::instance().isWindow(h);
}
WindowHandle findWindowByTitle(const QString& title) {
    return WindowRegistry::instance().findWindowByTitle(title);
}
bool bringToForeground(WindowHandle h) {
    return WindowRegistry::instance().bringToForeground(h);
}
WindowHandle foregroundWindow() {
    return WindowRegistry::instance().foregroundWindow();
}
bool showNormal(WindowHandle h) {
    return WindowRegistry::instance().showNormal(h);
}
bool setProp(WindowHandle h, const QString& name, qintptr value) {
    return WindowRegistry::instance().setProp(h, name, value);
}
qintptr getProp(WindowHandle h, const QString& name) {
    return WindowRegistry::instance().getProp(h, name);
}
qintptr removeProp(WindowHandle h, const QString& name) {
    return WindowRegistry::instance().removeProp(h, name);
}

void setTopmost(QWidget* window, bool topmost) {
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    // Changing a window flag recreates the native window and hides it; put the
    // geometry and the visibility back as they were.
    const QRect geometry = window->geometry();
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    window->setGeometry(geometry);
    if (visible)
        window->show();
}

QRect workArea() {
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->availableGeometry() : QRect();
}

QWidget* widgetOfWindow(const QWindow* window) {
    if (!window)
        return nullptr;
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets) {
        if (w->windowHandle() == window)
            return w;
    }
    return nullptr;
}

}  // namespace platform
