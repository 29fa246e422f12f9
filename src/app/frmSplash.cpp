#include "app/frmSplash.h"
#include "platform/Procedure.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QWindow>

#include "app/Program.h"
#include "platform/Twips.h"
#include "platform/Ui.h"

frmSplash::frmSplash(platform::Ui& ui, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ui_(ui) {
    // The stays-on-top flag is set before the window is first shown, so it is
    // topmost from the start and keeps the size and place it was given.
    setObjectName(QStringLiteral("frmSplash"));
    // It only tells what the program does: the window the user works in
    // keeps the activation, so showing and closing it is no change of
    // activation.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setWindowTitle(platform::appTitle());
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(9);
    setFont(font);

    // 4800 x 900 twips, the message centred.
    const int width = platform::twipsToPixelsX(4800, screen());
    const int height = platform::twipsToPixelsY(900, screen());
    resize(width, height);
    LblMsg = new QLabel(this);
    LblMsg->setObjectName(QStringLiteral("LblMsg"));
    LblMsg->setAlignment(Qt::AlignCenter);
    LblMsg->setGeometry(0, 0, width, height);
}

void frmSplash::pu_subShow(const QString& sMsg) {
    LblMsg->setText(sMsg);
    setWindowTitle(platform::appTitle());
    ui_.doEvents();
    show();
    pr_subPaintNow();
}

void frmSplash::pr_subPaintNow() {
    // The caller goes on with long work without returning to the event loop,
    // so the message must be on screen before this returns. A window can be
    // drawn only once the window system has shown (exposed) it, which comes
    // as an event after show(): wait for it, taking no user input meanwhile,
    // for at most kExposeWaitMs, then paint at once.
    QElapsedTimer waited;
    waited.start();
    QWindow* window = windowHandle();
    while (window != nullptr && !window->isExposed() && waited.elapsed() < kExposeWaitMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    repaint();
}
