#include "script/InputBlocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace basScript {

namespace {

bool isUserInput(QEvent::Type t) {
    switch (t) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputBlocker::InputBlocker(QWidget* allowed) : allowed_(allowed) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool InputBlocker::isAllowed(const QWidget* w) const {
    const QWidget* allowed = allowed_.data();
    if (!allowed)
        return false;
    // The CAD window, its children and the windows it owns (its dialogs).
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (p == allowed)
            return true;
    return false;
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() || !isUserInput(event->type()))
        return false;
    if (isAllowed(static_cast<QWidget*>(watched)))
        return false;
    // A window closed mid-run would pull the tool away under the running
    // command: the close is refused.
    if (event->type() == QEvent::Close)
        event->ignore();
    ++dropped_;
    return true;
}

}  // namespace basScript
