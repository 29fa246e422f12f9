#pragma once

// The layer window: a small modeless window that stays on top and shows, for
// the layer picked in its list, a picture of that layer's objects. Every time
// it becomes the active window it exports the pictures again (see
// pu_subUpdate); the main window stays usable beside it.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "acad/Acad.h"
#include "layers/LayerState.h"
#include "platform/FramePlacement.h"

class QComboBox;
class QFrame;
class QLabel;
class QProgressBar;
class PictureBox;

namespace platform {
class Ui;
}

// What the window needs from the program around it.
struct LayerViewContext {
    // The drawing to show (the one the main window read last).
    std::function<acad::DocumentPtr()> document;
    // Reads the layer state snapshot (the program-wide one is replaced).
    std::function<LayerStateList()> readLayerStates;
    // The image folder: "LAYER" in the program's folder.
    QString imageFolder;
    // Disabled while the pictures are made, so no command changes the
    // drawing half way.
    QPointer<QWidget> otherWindow;
};

class frmLayerView : public QWidget {
    Q_OBJECT

public:
    // Design size: combo 300 high, frame from 300 down, 3345 by 2415 (twips).
    static constexpr int kComboTwips = 300;
    static constexpr int kFrameWidthTwips = 3345;
    static constexpr int kFrameHeightTwips = 2415;
    // Outer window size less the client size: borders and caption (twips).
    static constexpr int kBorderTwips = 90;
    static constexpr int kCaptionTwips = 405;

    frmLayerView(platform::Ui& ui, LayerViewContext context, QWidget* parent = nullptr);

    // Shows the window modeless and makes it active (which updates it).
    void pu_subShow();
    // Rebuilds the image folder and the list; shows the picked layer.
    void pu_subUpdate();
    // Shows the picture of the layer picked in CboLayer.
    void CboLayer_Click();
    // Lays out the controls for the window's size.
    void Form_Resize();

    bool ready() const { return ready_; }
    bool updating() const { return updating_; }
    int updateCount() const { return updates_; }
    // "『 name 』は保存されていません。" CR LF "保存してから実行してください。"
    static QString unsavedMessage(const QString& name);

    QComboBox* CboLayer = nullptr;
    QFrame* FraLayer = nullptr;
    PictureBox* ImgLayer = nullptr;
    QLabel* LblProgress = nullptr;
    QProgressBar* PrgExport = nullptr;

Q_SIGNALS:
    // An update finished (or stopped).
    void updated();

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void showProgress(long index, long count, const QString& name);
    void fitPicture(int margin, int offset);

    platform::Ui& ui_;
    LayerViewContext context_;
    bool ready_ = false;
    bool updating_ = false;
    bool loaded_ = false;
    bool closeRequested_ = false;
    platform::FramePlacement placement_{*this};
    // Set when a box of the program took the activation away: coming back
    // from it is no new activation.
    bool backFromModal_ = false;
    int updates_ = 0;
};
