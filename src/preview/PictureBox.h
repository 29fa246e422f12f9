#pragma once

// The image control of the layer window: shows a metafile picture either at
// its own size (stretching off) or stretched to the control's size.

#include <QWidget>

#include "preview/WmfPicture.h"

class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const WmfPicture& picture);
    void clearPicture();
    const WmfPicture& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }

    // Off: the control takes the picture's own size. On: the picture fills
    // whatever size the control is given.
    void setStretch(bool stretch);
    bool stretch() const { return stretch_; }
    // The picture's own size in pixels (empty without a picture).
    QSize naturalSize() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    WmfPicture picture_;
    bool stretch_ = false;
};
