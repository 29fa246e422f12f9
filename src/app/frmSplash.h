#pragma once

// The progress window: a small topmost window with one line of text that long
// operations show while they run. The caller closes it when done.

#include <QWidget>

class QLabel;

namespace platform {
class Ui;
}

class frmSplash : public QWidget {
    Q_OBJECT

public:
    explicit frmSplash(platform::Ui& ui, QWidget* parent = nullptr);

    // Shows sMsg in the window, modeless and on top of other windows.
    void pu_subShow(const QString& sMsg);

    QLabel* LblMsg = nullptr;

private:
    // How long pu_subShow waits at most for the window system to show the
    // window before it paints (a busy X server may take a while).
    static constexpr int kExposeWaitMs = 2000;

    void pr_subPaintNow();

    platform::Ui& ui_;
};
