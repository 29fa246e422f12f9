#include "host/wmf/WmfWriter.h"

#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace host::wmf {

namespace {

// Record function numbers.
constexpr quint16 kEof = 0x0000;
constexpr quint16 kSetBkMode = 0x0102;
constexpr quint16 kSetTextAlign = 0x012E;
constexpr quint16 kSelectObject = 0x012D;
constexpr quint16 kDeleteObject = 0x01F0;
constexpr quint16 kSetWindowOrg = 0x020B;
constexpr quint16 kSetWindowExt = 0x020C;
constexpr quint16 kSetTextColor = 0x0209;
constexpr quint16 kCreatePenIndirect = 0x02FA;
constexpr quint16 kCreateFontIndirect = 0x02FB;
constexpr quint16 kCreateBrushIndirect = 0x02FC;
constexpr quint16 kPolygon = 0x0324;
constexpr quint16 kPolyline = 0x0325;
constexpr quint16 kEllipse = 0x0418;
constexpr quint16 kSetPixel = 0x041F;
constexpr quint16 kTextOut = 0x0521;
constexpr quint16 kArc = 0x0817;

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr quint16 kMetaHeaderWords = 9;
constexpr quint16 kMetaVersion = 0x0300;

constexpr quint16 kTransparent = 1;
constexpr quint16 kTextAlignBaselineLeft = 24;  // TA_BASELINE | TA_LEFT
constexpr quint16 kPenSolid = 0;
constexpr quint16 kBrushSolid = 0;
constexpr quint16 kBrushNull = 1;
constexpr quint16 kFontWeightNormal = 400;
constexpr quint8 kCharsetAnsi = 0;
constexpr quint8 kCharsetShiftJis = 128;
constexpr int kFaceNameBytes = 32;

// Largest deviation, in WMF units, of a curve approximated by a polyline.
constexpr double kCurveTolerance = 0.25;
constexpr int kMaxCurveSegments = 4096;
// Smallest distance, in WMF units, between the two end points of an arc
// written as an ARC record.
constexpr double kMinArcGap = 4.0;

quint16 word(qint64 v) {
    return static_cast<quint16>(v & 0xFFFF);
}

// COLORREF of a 0xRRGGBB colour: 0x00BBGGRR.
quint32 colorRef(quint32 rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

void appendU16(QByteArray& out, quint16 v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void appendU32(QByteArray& out, quint32 v) {
    appendU16(out, static_cast<quint16>(v & 0xFFFF));
    appendU16(out, static_cast<quint16>(v >> 16));
}

void pushU32(std::vector<quint16>& params, quint32 v) {
    params.push_back(static_cast<quint16>(v & 0xFFFF));
    params.push_back(static_cast<quint16>(v >> 16));
}

// Appends bytes as little-endian words, padding an odd count with a zero.
void pushBytes(std::vector<quint16>& params, const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto lo = static_cast<quint8>(bytes[i]);
        const auto hi = i + 1 < bytes.size() ? static_cast<quint8>(bytes[i + 1]) : quint8{0};
        params.push_back(static_cast<quint16>(lo | (hi << 8)));
    }
}

// Angle in (0, full]: how far one goes counter-clockwise from start to end.
// Equal angles mean a full turn.
double sweepOf(double start, double end, double full) {
    double sweep = std::fmod(end - start, full);
    if (sweep <= 0.0) {
        sweep += full;
    }
    return sweep;
}

bool finite(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

struct EncodedText {
    QByteArray bytes;
    quint8 charset = kCharsetAnsi;
};

// Encodes the code points of text one at a time, replacing any the code page
// cannot hold with '?', and stops before exceeding maxBytes so that a
// double-byte character is never cut in half.
QByteArray encodeEach(const QString& text, const char* codec, qsizetype maxBytes) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype len = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            len = 2;
        }
        const QStringView unit = QStringView(text).mid(i, len);
        i += len;
        QByteArray bytes;
        if (!unit.front().isSurrogate() || len == 2) {
            // A fresh encoder per code point: the error flag is not cleared by
            // resetState() for every backend.
            QStringEncoder encoder(codec);
            if (encoder.isValid()) {
                bytes = encoder.encode(unit);
                if (encoder.hasError()) {
                    bytes.clear();
                }
            } else if (unit.size() == 1 && unit.front().unicode() < 0x100) {
                bytes.append(static_cast<char>(unit.front().unicode()));
            }
        }
        if (bytes.isEmpty()) {
            bytes = "?";
        }
        if (out.size() + bytes.size() > maxBytes) {
            break;
        }
        out += bytes;
    }
    return out;
}

// Western text stays in windows-1252 (ANSI charset); anything it cannot hold
// is written as Shift_JIS, the code page of the drawings this tool handles.
EncodedText encodeText(const QString& text, qsizetype maxBytes) {
    QStringEncoder ansi("windows-1252");
    if (ansi.isValid()) {
        QByteArray bytes = ansi.encode(text);
        if (!ansi.hasError()) {
            bytes.truncate(maxBytes);
            return {bytes, kCharsetAnsi};
        }
    } else {
        const bool latin1 =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
        if (latin1) {
            return {text.toLatin1().left(maxBytes), kCharsetAnsi};
        }
    }
    return {encodeEach(text, "Shift_JIS", maxBytes), kCharsetShiftJis};
}

}  // namespace

WmfWriter::WmfWriter(double minX, double minY, double maxX, double maxY) {
    if (!std::isfinite(minX) || !std::isfinite(minY) || !std::isfinite(maxX) ||
        !std::isfinite(maxY) || !std::isfinite(maxX - minX) || !std::isfinite(maxY - minY)) {
        minX = minY = maxX = maxY = 0.0;
    }
    if (minX > maxX) {
        std::swap(minX, maxX);
    }
    if (minY > maxY) {
        std::swap(minY, maxY);
    }
    double w = maxX - minX;
    double h = maxY - minY;
    const double span = std::max(w, h);
    const double fit = span > 0.0 ? kFitSize / span : 0.0;
    if (fit > 0.0 && std::isfinite(fit)) {
        scale_ = fit;
    } else {
        // A single point, or a box too small to scale up: keep drawing units
        // and let the margin make up the frame.
        scale_ = 1.0;
        w = h = 0.0;
        maxY = minY;
    }
    minX_ = minX;
    maxY_ = maxY;
    frameW_ = static_cast<int>(std::lround(w * scale_)) + 2 * kMargin;
    frameH_ = static_cast<int>(std::lround(h * scale_)) + 2 * kMargin;

    record(kSetWindowOrg, {0, 0});
    record(kSetWindowExt, {word(frameH_), word(frameW_)});
    record(kSetBkMode, {kTransparent});
    record(kSetTextAlign, {kTextAlignBaselineLeft});
}

double WmfWriter::mapX(double x) const {
    return kMargin + (x - minX_) * scale_;
}

double WmfWriter::mapY(double y) const {
    return kMargin + (maxY_ - y) * scale_;
}

qint16 WmfWriter::clampCoord(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<qint16>(std::lround(std::clamp(v, -32768.0, 32767.0)));
}

WmfWriter::DevPoint WmfWriter::toDevice(Point p) const {
    return {clampCoord(mapX(p.x)), clampCoord(mapY(p.y))};
}

void WmfWriter::record(quint16 function, const std::vector<quint16>& params) {
    const auto words = static_cast<quint32>(3 + params.size());
    appendU32(body_, words);
    appendU16(body_, function);
    for (quint16 p : params) {
        appendU16(body_, p);
    }
    maxRecordWords_ = std::max(maxRecordWords_, words);
}

int WmfWriter::createObject(quint16 function, const std::vector<quint16>& params) {
    const auto freeSlot = std::find(slots_.begin(), slots_.end(), false);
    const int slot = static_cast<int>(freeSlot - slots_.begin());
    if (freeSlot == slots_.end()) {
        slots_.push_back(true);
    } else {
        *freeSlot = true;
    }
    ++liveObjects_;
    maxObjects_ = std::max(maxObjects_, liveObjects_);
    record(function, params);
    return slot;
}

void WmfWriter::deleteObject(int slot) {
    record(kDeleteObject, {word(slot)});
    slots_[static_cast<std::size_t>(slot)] = false;
    --liveObjects_;
}

void WmfWriter::setPen(quint32 rgb, double width) {
    int units = 0;
    if (std::isfinite(width) && width > 0.0) {
        units = static_cast<int>(std::lround(std::min(width * scale_, 32767.0)));
    }
    pen_ = {rgb & 0xFFFFFF, units};
}

// The new object is created and selected before the old one is deleted: a
// viewer may refuse to delete the object currently selected.
void WmfWriter::ensurePen() {
    if (penSlot_ >= 0 && selectedPen_ == pen_) {
        return;
    }
    std::vector<quint16> params{kPenSolid, word(pen_.width), 0};
    pushU32(params, colorRef(pen_.rgb));
    const int slot = createObject(kCreatePenIndirect, params);
    record(kSelectObject, {word(slot)});
    if (penSlot_ >= 0) {
        deleteObject(penSlot_);
    }
    penSlot_ = slot;
    selectedPen_ = pen_;
}

void WmfWriter::ensureBrush(BrushKey key) {
    if (brushSlot_ >= 0 && selectedBrush_ == key) {
        return;
    }
    const bool solid = key.kind == BrushKind::Solid;
    std::vector<quint16> params{solid ? kBrushSolid : kBrushNull};
    pushU32(params, solid ? colorRef(key.rgb) : 0);
    params.push_back(0);  // hatch style, unused by these brushes
    const int slot = createObject(kCreateBrushIndirect, params);
    record(kSelectObject, {word(slot)});
    if (brushSlot_ >= 0) {
        deleteObject(brushSlot_);
    }
    brushSlot_ = slot;
    selectedBrush_ = key;
}

void WmfWriter::ensureFont(FontKey key) {
    if (fontSlot_ >= 0 && selectedFont_ == key) {
        return;
    }
    // LOGFONT: height, width, escapement, orientation, weight, then the
    // italic/underline/strike-out/charset and precision/quality/pitch bytes
    // in pairs, then the 32-byte face name.
    std::vector<quint16> params{word(key.height), 0, word(key.escapement), word(key.escapement),
                                kFontWeightNormal};
    params.push_back(0);                                       // italic, underline
    params.push_back(static_cast<quint16>(key.charset << 8));  // strike-out, charset
    params.push_back(0);                                       // out/clip precision
    params.push_back(0);                                       // quality, pitch/family
    QByteArray face = key.charset == kCharsetShiftJis ? QByteArray("MS Gothic") : "Arial";
    face.resize(kFaceNameBytes, '\0');
    pushBytes(params, face);
    const int slot = createObject(kCreateFontIndirect, params);
    record(kSelectObject, {word(slot)});
    if (fontSlot_ >= 0) {
        deleteObject(fontSlot_);
    }
    fontSlot_ = slot;
    selectedFont_ = key;
}

void WmfWriter::writePolyRecords(quint16 function, const std::vector<DevPoint>& pts) {
    const std::size_t n = pts.size();
    const auto maxPts = static_cast<std::size_t>(kMaxPointsPerRecord);
    // Consecutive chunks share their boundary point so that a split polyline
    // stays connected.
    std::size_t first = 0;
    while (first < n) {
        const std::size_t count = std::min(maxPts, n - first);
        std::vector<quint16> params;
        params.reserve(1 + 2 * count);
        params.push_back(word(static_cast<qint64>(count)));
        for (std::size_t i = first; i < first + count; ++i) {
            params.push_back(word(pts[i].x));
            params.push_back(word(pts[i].y));
        }
        record(function, params);
        if (first + count >= n) {
            break;
        }
        first += count - 1;
    }
}

void WmfWriter::pointDevice(DevPoint p) {
    std::vector<quint16> params;
    pushU32(params, colorRef(pen_.rgb));
    params.push_back(word(p.y));
    params.push_back(word(p.x));
    record(kSetPixel, params);
}

void WmfWriter::polylineDevice(std::vector<DevPoint> pts) {
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    if (pts.empty()) {
        return;
    }
    if (pts.size() == 1) {
        pointDevice(pts.front());
        return;
    }
    ensurePen();
    writePolyRecords(kPolyline, pts);
}

void WmfWriter::polyline(const std::vector<Point>& pts) {
    if (finished_) {
        return;
    }
    std::vector<DevPoint> dev;
    dev.reserve(pts.size());
    for (const Point& p : pts) {
        if (finite(p)) {
            dev.push_back(toDevice(p));
        }
    }
    polylineDevice(std::move(dev));
}

void WmfWriter::polygon(const std::vector<Point>& pts, bool filled) {
    if (finished_) {
        return;
    }
    std::vector<DevPoint> dev;
    dev.reserve(pts.size() + 1);
    for (const Point& p : pts) {
        if (finite(p)) {
            dev.push_back(toDevice(p));
        }
    }
    dev.erase(std::unique(dev.begin(), dev.end()), dev.end());
    while (dev.size() > 1 && dev.back() == dev.front()) {
        dev.pop_back();
    }
    if (dev.size() < 3) {
        // Nothing to enclose: a line or a dot.
        polylineDevice(std::move(dev));
        return;
    }
    const auto maxPts = static_cast<std::size_t>(kMaxPointsPerRecord);
    if (dev.size() > maxPts) {
        if (!filled) {
            // An outline can be split like any polyline.
            dev.push_back(dev.front());
            polylineDevice(std::move(dev));
            return;
        }
        // A filled area has to stay one record; thin its vertices evenly.
        std::vector<DevPoint> thinned;
        thinned.reserve(maxPts);
        for (std::size_t i = 0; i < maxPts; ++i) {
            thinned.push_back(dev[i * dev.size() / maxPts]);
        }
        dev = std::move(thinned);
    }
    ensurePen();
    ensureBrush(filled ? BrushKey{BrushKind::Solid, pen_.rgb} : BrushKey{BrushKind::Hollow, 0});
    writePolyRecords(kPolygon, dev);
}

void WmfWriter::circle(Point centre, double radius) {
    if (finished_ || !finite(centre) || !std::isfinite(radius)) {
        return;
    }
    const double r = std::abs(radius) * scale_;
    const double cx = mapX(centre.x);
    const double cy = mapY(centre.y);
    if (r < 0.5) {
        pointDevice({clampCoord(cx), clampCoord(cy)});
        return;
    }
    ensurePen();
    ensureBrush({BrushKind::Hollow, 0});
    record(kEllipse, {word(clampCoord(cy + r)), word(clampCoord(cx + r)), word(clampCoord(cy - r)),
                      word(clampCoord(cx - r))});
}

void WmfWriter::arc(Point centre, double radius, double startDeg, double endDeg) {
    if (finished_ || !finite(centre) || !std::isfinite(radius) || !std::isfinite(startDeg) ||
        !std::isfinite(endDeg)) {
        return;
    }
    const double sweepDeg = sweepOf(startDeg, endDeg, 360.0);
    if (sweepDeg >= 360.0 - 1e-9) {
        circle(centre, radius);
        return;
    }
    const double r = std::abs(radius) * scale_;
    const double cx = mapX(centre.x);
    const double cy = mapY(centre.y);
    if (r < 0.5) {
        pointDevice({clampCoord(cx), clampCoord(cy)});
        return;
    }
    const double startRad = startDeg * std::numbers::pi / 180.0;
    const double endRad = endDeg * std::numbers::pi / 180.0;
    // The arc's end points in WMF space (y down, hence the minus on the sine).
    // They lie on the circle itself: some viewers clamp the radial points to
    // the bounding box, which would bend rays that reach past it.
    const double sx = cx + r * std::cos(startRad);
    const double sy = cy - r * std::sin(startRad);
    const double ex = cx + r * std::cos(endRad);
    const double ey = cy - r * std::sin(endRad);
    if (std::hypot(ex - sx, ey - sy) < kMinArcGap) {
        // With the end points this close, rounding could make them equal (a
        // full circle) or swap their order (the complementary arc): draw the
        // arc as a polyline instead.
        const double rr = std::abs(radius);
        ellipticPolyline(centre, {rr, 0.0}, {0.0, rr}, startRad,
                         sweepDeg * std::numbers::pi / 180.0);
        return;
    }
    ensurePen();
    // ARC runs counter-clockwise as seen on the output device. Flipping the Y
    // axis keeps the picture's appearance, so the drawing's counter-clockwise
    // run from start to end is written with start and end as they are.
    record(kArc, {word(clampCoord(ey)), word(clampCoord(ex)), word(clampCoord(sy)),
                  word(clampCoord(sx)), word(clampCoord(cy + r)), word(clampCoord(cx + r)),
                  word(clampCoord(cy - r)), word(clampCoord(cx - r))});
}

void WmfWriter::ellipticPolyline(Point centre, Point axisU, Point axisV, double startRad,
                                 double sweepRad) {
    const double radius =
        std::max(std::hypot(axisU.x, axisU.y), std::hypot(axisV.x, axisV.y)) * scale_;
    int segments = 1;
    if (radius > kCurveTolerance) {
        const double step = 2.0 * std::acos(1.0 - kCurveTolerance / radius);
        segments = static_cast<int>(std::ceil(sweepRad / step));
    }
    segments = std::clamp(segments, 1, kMaxCurveSegments);
    std::vector<DevPoint> pts;
    pts.reserve(static_cast<std::size_t>(segments) + 1);
    for (int i = 0; i <= segments; ++i) {
        const double t = startRad + sweepRad * i / segments;
        const double c = std::cos(t);
        const double s = std::sin(t);
        pts.push_back(
            toDevice({centre.x + axisU.x * c + axisV.x * s, centre.y + axisU.y * c + axisV.y * s}));
    }
    polylineDevice(std::move(pts));
}

void WmfWriter::ellipseArc(Point centre, Point majorAxis, double ratio, double startParam,
                           double endParam) {
    if (finished_ || !finite(centre) || !finite(majorAxis) || !std::isfinite(ratio) ||
        !std::isfinite(startParam) || !std::isfinite(endParam)) {
        return;
    }
    const Point minorAxis{-majorAxis.y * ratio, majorAxis.x * ratio};
    ellipticPolyline(centre, majorAxis, minorAxis, startParam,
                     sweepOf(startParam, endParam, 2.0 * std::numbers::pi));
}

void WmfWriter::point(Point p) {
    if (finished_ || !finite(p)) {
        return;
    }
    pointDevice(toDevice(p));
}

void WmfWriter::text(Point insertion, double height, double rotationDeg, const QString& text) {
    if (finished_ || !finite(insertion) || !std::isfinite(height) || !std::isfinite(rotationDeg)) {
        return;
    }
    const EncodedText encoded = encodeText(text, kMaxTextBytes);
    if (encoded.bytes.isEmpty()) {
        return;
    }
    // A negative LOGFONT height asks for that character height (without the
    // internal leading), which is what a drawing's text height means.
    const double pixels = std::clamp(std::abs(height) * scale_, 1.0, 32767.0);
    // Escapement is in tenths of a degree, counter-clockwise as seen; the Y
    // flip keeps the picture's orientation, so the drawing's angle carries over.
    double tenths = std::fmod(rotationDeg, 360.0) * 10.0;
    if (tenths < 0.0) {
        tenths += 3600.0;
    }
    const FontKey font{-static_cast<int>(std::lround(pixels)),
                       static_cast<int>(std::lround(tenths)) % 3600, encoded.charset};
    ensureFont(font);
    if (!textColourSet_ || textColour_ != pen_.rgb) {
        std::vector<quint16> params;
        pushU32(params, colorRef(pen_.rgb));
        record(kSetTextColor, params);
        textColourSet_ = true;
        textColour_ = pen_.rgb;
    }
    const DevPoint at = toDevice(insertion);
    std::vector<quint16> params{word(encoded.bytes.size())};
    pushBytes(params, encoded.bytes);
    params.push_back(word(at.y));
    params.push_back(word(at.x));
    record(kTextOut, params);
}

QByteArray WmfWriter::finish() {
    if (finished_) {
        return result_;
    }
    finished_ = true;
    record(kEof, {});

    QByteArray out;
    out.reserve(22 + 18 + body_.size());
    // Placeable header; its checksum is the XOR of the ten words before it.
    appendU32(out, kPlaceableKey);
    appendU16(out, 0);  // handle, always zero in a file
    appendU16(out, 0);  // bounding box: left, top, right, bottom
    appendU16(out, 0);
    appendU16(out, word(frameW_));
    appendU16(out, word(frameH_));
    appendU16(out, kUnitsPerInch);
    appendU32(out, 0);
    quint16 checksum = 0;
    for (qsizetype i = 0; i < out.size(); i += 2) {
        checksum ^= static_cast<quint16>(static_cast<quint8>(out[i]) |
                                         (static_cast<quint8>(out[i + 1]) << 8));
    }
    appendU16(out, checksum);

    // META_HEADER: a memory metafile, sizes in words.
    appendU16(out, 1);
    appendU16(out, kMetaHeaderWords);
    appendU16(out, kMetaVersion);
    appendU32(out, static_cast<quint32>(kMetaHeaderWords + body_.size() / 2));
    appendU16(out, word(maxObjects_));
    appendU32(out, maxRecordWords_);
    appendU16(out, 0);

    out += body_;
    body_.clear();
    result_ = out;
    return result_;
}

}  // namespace host::wmf
