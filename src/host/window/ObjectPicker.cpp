#include "host/window/ObjectPicker.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <algorithm>

#include "host/command/CommandLine.h"
#include "host/window/DrawingCanvas.h"

namespace host {

ObjectPicker::ObjectPicker(DrawingCanvas& canvas, CommandLine* commandLine)
    : canvas_(&canvas), cmd_(commandLine) {
    canvas.setPicker(this);
    // A canvas that goes away ends the pick as cancelled.
    connect(&canvas, &QObject::destroyed, this, [this] { end(true); });
    print(promptText());
}

ObjectPicker::~ObjectPicker() {
    if (canvas_)
        canvas_->setPicker(nullptr);
}

bool ObjectPicker::pickable(int entity) const {
    if (!canvas_ || !canvas_->document() || canvas_->document()->isClosed())
        return false;
    const Drawing& d = canvas_->document()->drawing();
    if (entity < 0 || entity >= static_cast<int>(d.entities().size()))
        return false;
    const auto layer = d.findLayer(d.entityLayer(d.entities()[static_cast<size_t>(entity)]));
    return !layer || !(d.layerFlags(*layer) & 4);
}

void ObjectPicker::print(const QString& line) const {
    if (cmd_)
        cmd_->print(line);
}

void ObjectPicker::apply(const std::vector<int>& found, bool remove) {
    int hits = 0;
    int locked = 0;
    for (int e : found) {
        if (!pickable(e)) {
            ++locked;
            continue;
        }
        const auto it = std::find(picked_.begin(), picked_.end(), e);
        if (remove) {
            if (it != picked_.end()) {
                picked_.erase(it);
                ++hits;
            }
        } else if (it == picked_.end()) {
            picked_.push_back(e);
            ++hits;
        }
    }
    QString line = remove ? QStringLiteral("%1 個を除外、合計 %2 個")
                          : QStringLiteral("%1 個を検出、合計 %2 個");
    line = line.arg(hits).arg(picked_.size());
    if (locked > 0)
        line += QStringLiteral("（%1 個はロックされた画層上にあります）").arg(locked);
    print(line);
    print(promptText());
    if (canvas_)
        canvas_->update();
    Q_EMIT changed();
}

void ObjectPicker::clickAt(QPoint pos, bool remove) {
    if (!active_ || !canvas_)
        return;
    // The nearest pickable object under the cursor.
    std::vector<int> found;
    for (int e : canvas_->pickAt(pos))
        if (pickable(e)) {
            found.push_back(e);
            break;
        }
    apply(found, remove);
}

void ObjectPicker::rectangle(QPoint from, QPoint to, bool remove) {
    if (!active_ || !canvas_)
        return;
    const bool crossing = to.x() < from.x();
    apply(canvas_->pickInRect(QRect(from, to).normalized(), crossing), remove);
}

void ObjectPicker::watchKeys(QWidget* window) {
    keyWindow_ = window;
    QCoreApplication::instance()->installEventFilter(this);
}

bool ObjectPicker::eventFilter(QObject* watched, QEvent* event) {
    if (!active_ || !keyWindow_ || event->type() != QEvent::KeyPress)
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != keyWindow_)
        return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            finish();
            return true;
        case Qt::Key_Escape:
            cancel();
            return true;
        default:
            return true;  // nothing else is typed while picking
    }
}

void ObjectPicker::finish() {
    end(false);
}

void ObjectPicker::cancel() {
    end(true);
}

void ObjectPicker::end(bool cancelled) {
    if (!active_)
        return;
    active_ = false;
    cancelled_ = cancelled;
    if (cancelled) {
        picked_.clear();
        print(QStringLiteral("*キャンセル*"));
    }
    if (canvas_) {
        canvas_->setPicker(nullptr);
        canvas_->update();
    }
    Q_EMIT ended();
}

std::vector<int> ObjectPicker::run() {
    if (active_) {
        QEventLoop loop;
        connect(this, &ObjectPicker::ended, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return cancelled_ ? std::vector<int>{} : picked_;
}

}  // namespace host
