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
    platform::Ui& ui_;
};
