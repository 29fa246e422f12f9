#pragma once

// A Windows Metafile (placeable or plain) read into its records and played
// onto a QPainter: the records a drawing export writes (pens, brushes, fonts,
// polylines, polygons, ellipses, arcs, pixels, texts) and the common others
// (MoveTo/LineTo, rectangles, ExtTextOut). Unknown records are skipped; a
// damaged file plays up to the damage.

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

class QPainter;

class WmfPicture {
public:
    WmfPicture() = default;
    // Reads the file; isNull() when it is missing or not a metafile.
    static WmfPicture load(const QString& path);
    static WmfPicture fromBytes(const QByteArray& bytes);

    bool isNull() const { return records_.empty() && extent_.isEmpty(); }
    // The picture's own size in pixels at the given resolution (the
    // placeable header's frame and units per inch; 1440 per inch without one).
    QSizeF naturalSize(double dotsPerInch) const;
    // The logical window the records draw in.
    QRectF window() const { return window_; }
    // Plays the records into target, the logical window stretched to fill it.
    void play(QPainter& painter, const QRectF& target) const;
    int recordCount() const { return static_cast<int>(records_.size()); }

private:
    struct Record {
        quint16 function = 0;
        std::vector<qint16> params;
    };
    std::vector<Record> records_;
    QRectF extent_;  // placeable frame, logical units
    double unitsPerInch_ = 1440.0;
    QRectF window_;
};
