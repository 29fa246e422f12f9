#pragma once

// Window functions over the program's Qt top-level widgets: opaque integer
// handles, lookup by title, the foreground window, normal state, named window
// properties, topmost placement and the desktop work area.
//
// Handles come from a registry. A widget gets its handle the first time one is
// asked for and keeps it for life; handles are never reused, and they carry
// the process id so that a number written by another run never names a window
// of this one.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include "platform/Twips.h"

class QWidget;
class QWindow;

namespace platform {

// 0 names no window.
using WindowHandle = qint64;

class WindowRegistry : public QObject {
    Q_OBJECT

public:
    // The registry of this process, used by the free functions below. First
    // used once the QApplication exists, so that it sees activation changes.
    static WindowRegistry& instance();

    // Tests build their own registry to stand for another process.
    WindowRegistry();

    // The handle of w's top-level window, registering it on first use; 0 for null.
    WindowHandle handleOf(QWidget* w);
    // The live widget of a handle, or null.
    QWidget* widgetOf(WindowHandle h) const;
    // Whether the handle names a window that still exists.
    bool isWindow(WindowHandle h) const;

    // The visible or hidden top-level widget whose title is exactly title; 0 when none.
    WindowHandle findWindowByTitle(const QString& title);

    // Shows, raises and activates the window and records it as the foreground
    // window. Activation is not reliable on every platform (offscreen, a bare
    // X server), so the record is what keystrokes are sent to.
    bool bringToForeground(WindowHandle h);
    // The recorded foreground window while it lives, else the active window; 0 when none.
    WindowHandle foregroundWindow();
    // Restores a minimised, maximised or hidden window to its normal state.
    bool showNormal(WindowHandle h);

    // Named properties per window; names compare without regard to case.
    // Setting fails (false) for a handle that names no window.
    bool setProp(WindowHandle h, const QString& name, qintptr value);
    // 0 when the window or the property is not there.
    qintptr getProp(WindowHandle h, const QString& name) const;
    bool hasProp(WindowHandle h, const QString& name) const;
    // Returns the value that was removed, 0 when there was none.
    qintptr removeProp(WindowHandle h, const QString& name);

Q_SIGNALS:
    // The recorded foreground window changed to window.
    void foregroundChanged(QWidget* window);

private:
    struct Entry {
        QPointer<QWidget> widget;
        QHash<QString, qintptr> props;
    };

    void forget(QObject* widget);
    void recordForeground(WindowHandle h);
    void onFocusWindowChanged(QWindow* window);

    QHash<WindowHandle, Entry> entries_;
    QHash<const QObject*, WindowHandle> handles_;
    WindowHandle next_;
    WindowHandle foreground_ = 0;
};

// The same functions on the process-wide registry.
WindowHandle handleOf(QWidget* w);
QWidget* widgetOf(WindowHandle h);
bool isWindow(WindowHandle h);
WindowHandle findWindowByTitle(const QString& title);
bool bringToForeground(WindowHandle h);
WindowHandle foregroundWindow();
bool showNormal(WindowHandle h);
bool setProp(WindowHandle h, const QString& name, qintptr value);
qintptr getProp(WindowHandle h, const QString& name);
qintptr removeProp(WindowHandle h, const QString& name);

// Keeps the window above others (or not) without moving or resizing it; a
// visible window stays visible.
void setTopmost(QWidget* window, bool topmost);

// The primary screen less task bars and docks, in pixels; empty without a screen.
QRect workArea();

// The top-level widget shown in a Qt window, or null.
QWidget* widgetOfWindow(const QWindow* window);

}  // namespace platform
