#pragma once

// Writes placeable Windows Metafiles (the "Aldus" WMF variant with a 22-byte
// preamble that carries the picture's bounding box and resolution). The
// drawing host uses it to export a picture of selected drawing objects.
//
// The writer works in drawing coordinates (Y grows up). Everything is scaled
// uniformly so that the extents given to the constructor fit into a frame of
// about kFitSize WMF units, shifted by a small margin and flipped so that WMF
// y grows down. Metafile coordinates are 16-bit, so anything outside the
// announced extents is clamped to that range.
//
// GDI objects (pens, brushes, fonts) are created lazily when a drawing call
// needs a different one than is selected; the replaced object is deleted
// right away, so a metafile never holds more than a handful of objects.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace host::wmf {

// A position in drawing coordinates, Y up.
struct Point {
    double x = 0.0;
    double y = 0.0;
};

class WmfWriter {
public:
    // Size, in WMF units, that the larger side of the extents is scaled to.
    static constexpr int kFitSize = 30000;
    // Blank border around the scaled extents, in WMF units, so that strokes on
    // the outline of the extents are not cut in half.
    static constexpr int kMargin = 200;
    // Resolution written into the placeable header (twips).
    static constexpr int kUnitsPerInch = 1440;
    // Largest number of points written into a single POLYLINE/POLYGON record;
    // longer runs are split into several records.
    static constexpr int kMaxPointsPerRecord = 16000;
    // Longest string, in encoded bytes, written by one text call.
    static constexpr int kMaxTextBytes = 4096;

    // The extents of everything that will be drawn, in drawing units. The box
    // may be empty (a single point) or given with min and max swapped.
    WmfWriter(double minX, double minY, double maxX, double maxY);

    // Colour (0xRRGGBB) and width in drawing units for the following strokes;
    // width 0 draws the thinnest line the viewer can show. Cheap to call for
    // every object: a new pen is only written when a stroke is drawn with
    // settings that differ from the selected pen.
    void setPen(quint32 rgb, double width = 0.0);

    // Open polyline through the points. Consecutive points that fall on the
    // same WMF unit are merged; a run that collapses to one spot is drawn as
    // a point.
    void polyline(const std::vector<Point>& pts);
    // Closed polygon. A filled polygon uses a solid brush of the pen colour and
    // is outlined with the pen; an unfilled one only draws the outline.
    void polygon(const std::vector<Point>& pts, bool filled);
    // Circle outline.
    void circle(Point centre, double radius);
    // Circular arc running counter-clockwise (drawing convention, Y up) from
    // startDeg to endDeg; equal angles give a full circle.
    void arc(Point centre, double radius, double startDeg, double endDeg);
    // Elliptical arc as stored in a drawing: majorAxis is the end point of the
    // major axis relative to the centre, ratio is minor/major, and the
    // parameters are in radians, running counter-clockwise from startParam to
    // endParam (equal values give the full ellipse). Written as a polyline.
    void ellipseArc(Point centre, Point majorAxis, double ratio, double startParam,
                    double endParam);
    // A single dot in the pen colour.
    void point(Point p);
    // Single-line text with its baseline starting at insertion. height is the
    // character height in drawing units, rotationDeg turns the baseline
    // counter-clockwise. Text that windows-1252 can hold is written with the
    // ANSI charset, anything else as Shift_JIS; characters the chosen code
    // page cannot represent become '?'.
    void text(Point insertion, double height, double rotationDeg, const QString& text);

    // Completes the metafile and returns all of its bytes. Drawing calls made
    // afterwards are ignored; calling finish() again returns the same bytes.
    QByteArray finish();

    // Size of the picture frame in WMF units (as written to the headers).
    int frameWidth() const { return frameW_; }
    int frameHeight() const { return frameH_; }

private:
    struct DevPoint {
        qint16 x = 0;
        qint16 y = 0;
        bool operator==(const DevPoint&) const = default;
    };
    struct PenKey {
        quint32 rgb = 0;
        int width = 0;
        bool operator==(const PenKey&) const = default;
    };
    enum class BrushKind { Hollow, Solid };
    struct BrushKey {
        BrushKind kind = BrushKind::Hollow;
        quint32 rgb = 0;
        bool operator==(const BrushKey&) const = default;
    };
    struct FontKey {
        int height = 0;
        int escapement = 0;
        quint8 charset = 0;
        bool operator==(const FontKey&) const = default;
    };

    // Coordinate mapping (drawing units to WMF units, unrounded).
    double mapX(double x) const;
    double mapY(double y) const;
    DevPoint toDevice(Point p) const;
    static qint16 clampCoord(double v);

    // Writes one record: size prefix, function number and parameter words.
    void record(quint16 function, const std::vector<quint16>& params);

    // Object table bookkeeping mirroring the viewer's handle table: a created
    // object takes the lowest free index.
    int createObject(quint16 function, const std::vector<quint16>& params);
    void deleteObject(int slot);
    void ensurePen();
    void ensureBrush(BrushKey key);
    void ensureFont(FontKey key);

    void writePolyRecords(quint16 function, const std::vector<DevPoint>& pts);
    void polylineDevice(std::vector<DevPoint> pts);
    void pointDevice(DevPoint p);
    // Polyline approximation of an ellipse arc given in drawing coordinates.
    void ellipticPolyline(Point centre, Point axisU, Point axisV, double startRad, double sweepRad);

    double minX_ = 0.0;
    double maxY_ = 0.0;
    double scale_ = 1.0;
    int frameW_ = 0;
    int frameH_ = 0;

    QByteArray body_;
    quint32 maxRecordWords_ = 0;
    std::vector<bool> slots_;
    int liveObjects_ = 0;
    int maxObjects_ = 0;

    PenKey pen_;
    int penSlot_ = -1;
    PenKey selectedPen_;
    int brushSlot_ = -1;
    BrushKey selectedBrush_;
    int fontSlot_ = -1;
    FontKey selectedFont_;
    bool textColourSet_ = false;
    quint32 textColour_ = 0;

    bool finished_ = false;
    QByteArray result_;
};

}  // namespace host::wmf
