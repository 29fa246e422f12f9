#pragma once

// Placing a top-level window by its outer frame. Before a window manager
// has framed the window, a move places the inside of the window there and
// the title bar ends up above it (off the screen at the top edge). The
// position asked for is therefore kept and applied again once the frame is
// known, until the frame is there or the window manager clearly places
// windows its own way.

#include <QPoint>
#include <QSize>
#include <optional>

class QEvent;
class QTimer;
class QWidget;

namespace platform {

class FramePlacement {
public:
    explicit FramePlacement(QWidget& window) : window_(window) {}
    ~FramePlacement();
    FramePlacement(const FramePlacement&) = delete;
    FramePlacement& operator=(const FramePlacement&) = delete;

    // Puts the outer frame's top-left at the point, kept on a screen.
    void place(QPoint frameTopLeft);
    // The frame position asked for and not yet reached, else the frame's own.
    QPoint framePosition() const;
    bool settled() const { return !wanted_; }
    // Resizes the window keeping its outer frame where it is. A window
    // manager may take a resize of a window placed before it was framed as a
    // move of its inside to the old frame position; the frame is watched for
    // a while and put back if so.
    void resizeKeepingFrame(QSize size);
    // The window calls this after it handled an event: showing, moving and
    // activation are when the frame may have come.
    void afterEvent(const QEvent& e);
    // Looks whether the frame is in place yet, and moves it again if not.
    void settle();

private:
    void startPolling();
    void end();

    static constexpr int kTries = 3;
    static constexpr int kPollMs = 50;
    static constexpr int kPolls = 60;
    QWidget& window_;
    std::optional<QPoint> wanted_;
    int tries_ = 0;
    int polls_ = 0;
    QTimer* timer_ = nullptr;  // a child of the window
};

}  // namespace platform
