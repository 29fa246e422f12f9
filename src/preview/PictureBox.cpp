#include "preview/PictureBox.h"

#include <QPainter>
#include <cmath>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const WmfPicture& picture) {
    picture_ = picture;
    if (!stretch_)
        resize(naturalSize());
    update();
}

void PictureBox::clearPicture() {
    picture_ = WmfPicture();
    update();
}

void PictureBox::setStretch(bool stretch) {
    stretch_ = stretch;
    if (!stretch_ && hasPicture())
        resize(naturalSize());
}

QSize PictureBox::naturalSize() const {
    if (picture_.isNull())
        return {};
    const QSizeF s = picture_.naturalSize(logicalDpiX());
    return QSize(static_cast<int>(std::lround(s.width())),
                 static_cast<int>(std::lround(s.height())));
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter p(this);
    picture_.play(p, QRectF(rect()));
}
