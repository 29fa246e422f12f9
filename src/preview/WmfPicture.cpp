#include "preview/WmfPicture.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QStringDecoder>
#include <cmath>
#include <numbers>

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
// Largest file read: larger ones are not pictures a layer export writes.
constexpr qint64 kMaxBytes = 256LL * 1024 * 1024;

enum : quint16 {
    kEof = 0x0000,
    kSetBkMode = 0x0102,
    kSetTextAlign = 0x012E,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetTextColor = 0x0209,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kSetPixel = 0x041F,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kArc = 0x0817,
    kExtTextOut = 0x0A32,
};

quint16 u16(const QByteArray& b, qint64 at) {
    return static_cast<quint16>(static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8));
}
quint32 u32(const QByteArray& b, qint64 at) {
    return u16(b, at) | (static_cast<quint32>(u16(b, at + 2)) << 16);
}

QColor colorRef(qint16 lo, qint16 hi) {
    const quint32 v =
        static_cast<quint16>(lo) | (static_cast<quint32>(static_cast<quint16>(hi)) << 16);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

// Bytes stored in the parameter words from word `first`, `count` long.
QByteArray bytesOf(const std::vector<qint16>& p, size_t first, size_t count) {
    QByteArray out;
    for (size_t i = 0; out.size() < static_cast<qsizetype>(count) && first + i < p.size(); ++i) {
        const auto w = static_cast<quint16>(p[first + i]);
        out.append(static_cast<char>(w & 0xFF));
        if (out.size() < static_cast<qsizetype>(count))
            out.append(static_cast<char>(w >> 8));
    }
    return out;
}

struct GdiObject {
    enum class Kind { None, Pen, Brush, Font } kind = Kind::None;
    QPen pen;
    QBrush brush;
    int fontHeight = 0;
    int escapement = 0;
    bool bold = false;
    bool italic = false;
    quint8 charset = 0;
    QString face;
};

QString decodeText(const QByteArray& bytes, quint8 charset) {
    if (charset == 128) {
        QStringDecoder sjis("Shift_JIS");
        if (sjis.isValid())
            return sjis.decode(bytes);
    }
    QStringDecoder cp1252("windows-1252");
    return cp1252.isValid() ? QString(cp1252.decode(bytes)) : QString::fromLatin1(bytes);
}

}  // namespace

WmfPicture WmfPicture::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxBytes)
        return {};
    return fromBytes(f.readAll());
}

WmfPicture WmfPicture::fromBytes(const QByteArray& b) {
    WmfPicture pic;
    qint64 at = 0;
    const qint64 n = b.size();
    if (n >= 22 && u32(b, 0) == kPlaceableKey) {
        const auto l = static_cast<qint16>(u16(b, 6)), t = static_cast<qint16>(u16(b, 8));
        const auto r = static_cast<qint16>(u16(b, 10)), btm = static_cast<qint16>(u16(b, 12));
        pic.extent_ = QRectF(QPointF(l, t), QPointF(r, btm)).normalized();
        if (const quint16 inch = u16(b, 14); inch > 0)
            pic.unitsPerInch_ = inch;
        at = 22;
    }
    // The metafile header: type, header size (words), version, ...
    if (n < at + 18 || (u16(b, at) != 1 && u16(b, at) != 2) || u16(b, at + 2) != 9)
        return {};
    at += 18;
    while (at + 6 <= n) {
        const quint32 words = u32(b, at);
        const quint16 function = u16(b, at + 4);
        if (words < 3 || static_cast<qint64>(words) * 2 > n - at)
            break;
        if (function == kEof)
            break;
        Record rec;
        rec.function = function;
        rec.params.reserve(words - 3);
        for (quint32 i = 0; i < words - 3; ++i)
            rec.params.push_back(static_cast<qint16>(u16(b, at + 6 + 2 * i)));
        if (function == kSetWindowOrg && rec.params.size() >= 2)
            pic.window_.moveTo(rec.params[1], rec.params[0]);
        else if (function == kSetWindowExt && rec.params.size() >= 2)
            pic.window_.setSize(QSizeF(rec.params[1], rec.params[0]));
        pic.records_.push_back(std::move(rec));
        at += static_cast<qint64>(words) * 2;
    }
    if (pic.window_.width() == 0 || pic.window_.height() == 0)
        pic.window_ = pic.extent_;
    if (pic.extent_.isEmpty())
        pic.extent_ = pic.window_.normalized();
    if (pic.records_.empty() && pic.extent_.isEmpty())
        return {};
    return pic;
}

QSizeF WmfPicture::naturalSize(double dotsPerInch) const {
    return QSizeF(std::abs(extent_.width()), std::abs(extent_.height())) * dotsPerInch /
           unitsPerInch_;
}

void WmfPicture::play(QPainter& painter, const QRectF& target) const {
    if (window_.width() == 0 || window_.height() == 0 || target.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(target);
    QTransform xf;
    xf.translate(target.left(), target.top());
    xf.scale(target.width() / window_.width(), target.height() / window_.height());
    xf.translate(-window_.left(), -window_.top());
    painter.setTransform(xf, true);

    std::vector<GdiObject> table;
    QPen pen(Qt::black, 0);
    pen.setCosmetic(true);
    QBrush brush(Qt::NoBrush);
    GdiObject font;
    font.kind = GdiObject::Kind::Font;
    QColor textColor(Qt::black);
    quint16 align = 0;
    QPointF cursor;
    painter.setPen(pen);
    painter.setBrush(brush);

    auto points = [](const std::vector<qint16>& p, size_t first, size_t count) {
        QPolygonF poly;
        for (size_t i = 0; i < count && first + 2 * i + 1 < p.size(); ++i)
            poly << QPointF(p[first + 2 * i], p[first + 2 * i + 1]);
        return poly;
    };
    auto create = [&](GdiObject obj) {
        for (auto& slot : table)
            if (slot.kind == GdiObject::Kind::None) {
                slot = std::move(obj);
                return;
            }
        table.push_back(std::move(obj));
    };
    auto drawText = [&](QPointF at, const QString& text) {
        if (text.isEmpty())
            return;
        QFont f(font.face.isEmpty() ? QStringLiteral("Sans") : font.face);
        const double h = std::max(1, std::abs(font.fontHeight));
        // Fonts are made at a fixed size and scaled, so that tiny or huge
        // logical heights both draw right.
        constexpr double kBase = 100.0;
        f.setPixelSize(static_cast<int>(kBase));
        f.setBold(font.bold);
        f.setItalic(font.italic);
        painter.save();
        painter.translate(at);
        painter.rotate(-font.escapement / 10.0);
        painter.scale(h / kBase, h / kBase);
        painter.setFont(f);
        painter.setPen(QPen(textColor));
        const QFontMetricsF fm(f);
        double dy = 0;  // baseline alignment (24) draws at the point
        if ((align & 24) == 0)
            dy = fm.ascent();  // top
        else if ((align & 24) == 8)
            dy = -fm.descent();  // bottom
        double dx = 0;
        if ((align & 6) == 6)
            dx = -fm.horizontalAdvance(text) / 2;
        else if (align & 2)
            dx = -fm.horizontalAdvance(text);
        painter.drawText(QPointF(dx, dy), text);
        painter.restore();
    };

    for (const Record& r : records_) {
        const auto& p = r.params;
        switch (r.function) {
            case kCreatePenIndirect: {
                GdiObject o;
                o.kind = GdiObject::Kind::Pen;
                if (p.size() >= 5) {
                    const int style = p[0] & 0x0F;
                    o.pen = QPen(colorRef(p[3], p[4]), std::max<int>(0, p[1]));
                    o.pen.setCosmetic(p[1] <= 1);
                    if (style == 5)
                        o.pen = QPen(Qt::NoPen);
                    else if (style == 1)
                        o.pen.setStyle(Qt::DashLine);
                    else if (style == 2)
                        o.pen.setStyle(Qt::DotLine);
                }
                create(o);
                break;
            }
            case kCreateBrushIndirect: {
                GdiObject o;
                o.kind = GdiObject::Kind::Brush;
                if (p.size() >= 3 && p[0] == 0)
                    o.brush = QBrush(colorRef(p[1], p[2]));
                create(o);
                break;
            }
            case kCreateFontIndirect: {
                GdiObject o;
                o.kind = GdiObject::Kind::Font;
                if (p.size() >= 9) {
                    o.fontHeight = p[0];
                    o.escapement = p[2];
                    o.bold = p[4] >= 600;
                    o.italic = (p[5] & 0xFF) != 0;
                    o.charset = static_cast<quint8>(static_cast<quint16>(p[6]) >> 8);
                    o.face = decodeText(bytesOf(p, 9, 32).split('\0').front(), o.charset);
                }
                create(o);
                break;
            }
            case kSelectObject:
                if (!p.empty() && p[0] >= 0 && static_cast<size_t>(p[0]) < table.size()) {
                    const GdiObject& o = table[static_cast<size_t>(p[0])];
                    if (o.kind == GdiObject::Kind::Pen)
                        painter.setPen(o.pen);
                    else if (o.kind == GdiObject::Kind::Brush)
                        painter.setBrush(o.brush);
                    else if (o.kind == GdiObject::Kind::Font)
                        font = o;
                }
                break;
            case kDeleteObject:
                if (!p.empty() && p[0] >= 0 && static_cast<size_t>(p[0]) < table.size())
                    table[static_cast<size_t>(p[0])] = GdiObject();
                break;
            case kSetTextColor:
                if (p.size() >= 2)
                    textColor = colorRef(p[0], p[1]);
                break;
            case kSetTextAlign:
                if (!p.empty())
                    align = static_cast<quint16>(p[0]);
                break;
            case kPolyline:
                if (!p.empty() && p[0] > 0)
                    painter.drawPolyline(points(p, 1, static_cast<size_t>(p[0])));
                break;
            case kPolygon:
                if (!p.empty() && p[0] > 0)
                    painter.drawPolygon(points(p, 1, static_cast<size_t>(p[0])));
                break;
            case kPolyPolygon: {
                if (p.empty() || p[0] <= 0)
                    break;
                size_t at = 1 + static_cast<size_t>(p[0]);
                for (qint16 k = 0; k < p[0] && 1 + static_cast<size_t>(k) < p.size(); ++k) {
                    const auto count = static_cast<size_t>(std::max<qint16>(0, p[1 + k]));
                    painter.drawPolygon(points(p, at, count));
                    at += 2 * count;
                }
                break;
            }
            case kEllipse:
                if (p.size() >= 4)
                    painter.drawEllipse(QRectF(QPointF(p[3], p[2]), QPointF(p[1], p[0])));
                break;
            case kRectangle:
                if (p.size() >= 4)
                    painter.drawRect(QRectF(QPointF(p[3], p[2]), QPointF(p[1], p[0])));
                break;
            case kArc: {
                if (p.size() < 8)
                    break;
                const QRectF box = QRectF(QPointF(p[7], p[6]), QPointF(p[5], p[4])).normalized();
                const QPointF c = box.center();
                // Angles as seen (y grows down, so the sine's sign flips).
                auto angle = [&](double x, double y) {
                    return std::atan2(-(y - c.y()), x - c.x()) * 180.0 / std::numbers::pi;
                };
                const double a0 = angle(p[3], p[2]);
                double span = angle(p[1], p[0]) - a0;
                while (span <= 0)
                    span += 360.0;
                QPainterPath path;
                path.arcMoveTo(box, a0);
                path.arcTo(box, a0, span);
                painter.save();
                painter.setBrush(Qt::NoBrush);
                painter.drawPath(path);
                painter.restore();
                break;
            }
            case kSetPixel:
                if (p.size() >= 4) {
                    painter.save();
                    QPen dot(colorRef(p[0], p[1]), 2);
                    dot.setCosmetic(true);
                    painter.setPen(dot);
                    painter.drawPoint(QPointF(p[3], p[2]));
                    painter.restore();
                }
                break;
            case kMoveTo:
                if (p.size() >= 2)
                    cursor = QPointF(p[1], p[0]);
                break;
            case kLineTo:
                if (p.size() >= 2) {
                    const QPointF to(p[1], p[0]);
                    painter.drawLine(cursor, to);
                    cursor = to;
                }
                break;
            case kTextOut: {
                if (p.empty() || p[0] <= 0)
                    break;
                const auto count = static_cast<size_t>(p[0]);
                const size_t words = (count + 1) / 2;
                if (p.size() < 1 + words + 2)
                    break;
                drawText(QPointF(p[1 + words + 1], p[1 + words]),
                         decodeText(bytesOf(p, 1, count), font.charset));
                break;
            }
            case kExtTextOut: {
                if (p.size() < 4 || p[2] <= 0)
                    break;
                const auto count = static_cast<size_t>(p[2]);
                const size_t first = (p[3] & 0x06) ? 8 : 4;
                drawText(QPointF(p[1], p[0]), decodeText(bytesOf(p, first, count), font.charset));
                break;
            }
            default:
                break;
        }
    }
    painter.restore();
}
