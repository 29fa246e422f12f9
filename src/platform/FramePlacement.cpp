#include "platform/FramePlacement.h"

#include <QEvent>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/ScreenPlacement.h"

namespace platform {

FramePlacement::~FramePlacement() {
    delete timer_;
}

void FramePlacement::place(QPoint frameTopLeft) {
    wanted_ = keptOnScreen(QRect(frameTopLeft, window_.frameGeometry().size()));
    tries_ = 0;
    window_.move(*wanted_);
    if (window_.isVisible())
        settle();
}

void FramePlacement::resizeKeepingFrame(QSize size) {
    const QPoint at = framePosition();
    window_.resize(size);
    if (!window_.isVisible())
        return;
    // Looked at from the event loop: the window system reports where the
    // frame went only after the resize was sent.
    wanted_ = at;
    tries_ = 0;
    startPolling();
}

QPoint FramePlacement::framePosition() const {
    return wanted_ ? *wanted_ : window_.frameGeometry().topLeft();
}

void FramePlacement::afterEvent(const QEvent& e) {
    if (wanted_ && (e.type() == QEvent::Move || e.type() == QEvent::Show ||
                    e.type() == QEvent::WindowActivate))
        settle();
}

void FramePlacement::settle() {
    if (!wanted_ || !window_.isVisible())
        return;
    startPolling();
    const QWindow* window = window_.windowHandle();
    if (window == nullptr || !window->isExposed())
        return;
    if (window_.frameGeometry().topLeft() == *wanted_) {
        end();
        return;
    }
    // No frame known yet: wait for it.
    if (window->frameMargins().isNull())
        return;
    if (++tries_ > kTries) {
        end();
        return;
    }
    window_.move(*wanted_);
}

void FramePlacement::startPolling() {
    if (!timer_) {
        // The frame comes some time after the window is shown; look again
        // until then, and give up after a while.
        timer_ = new QTimer(&window_);
        timer_->setInterval(kPollMs);
        QObject::connect(timer_, &QTimer::timeout, timer_, [this] {
            if (++polls_ > kPolls)
                end();
            else
                settle();
        });
    }
    if (!timer_->isActive()) {
        polls_ = 0;
        timer_->start();
    }
}

void FramePlacement::end() {
    wanted_.reset();
    if (timer_)
        timer_->stop();
}

}  // namespace platform
