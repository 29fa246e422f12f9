#include "host/wmf/WmfWriter.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <vector>

using host::wmf::Point;
using host::wmf::WmfWriter;

namespace {

constexpr quint16 kSetPixel = 0x041F;
constexpr quint16 kSetWindowExt = 0x020C;
constexpr quint16 kCreatePen = 0x02FA;
constexpr quint16 kCreateBrush = 0x02FC;
constexpr quint16 kCreateFont = 0x02FB;
constexpr quint16 kSelectObject = 0x012D;
constexpr quint16 kDeleteObject = 0x01F0;
constexpr quint16 kPolyline = 0x0325;
constexpr quint16 kPolygon = 0x0324;
constexpr quint16 kEllipse = 0x0418;
constexpr quint16 kArc = 0x0817;
constexpr quint16 kTextOut = 0x0521;
constexpr quint16 kSetTextColor = 0x0209;

quint16 u16At(const QByteArray& b, qsizetype at) {
    return static_cast<quint16>(static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8));
}

quint32 u32At(const QByteArray& b, qsizetype at) {
    return u16At(b, at) | (static_cast<quint32>(u16At(b, at + 2)) << 16);
}

struct Record {
    quint32 words = 0;
    quint16 function = 0;
    std::vector<quint16> params;

    qint16 s(std::size_t i) const { return static_cast<qint16>(params.at(i)); }
    quint32 u32(std::size_t i) const {
        return params.at(i) | (static_cast<quint32>(params.at(i + 1)) << 16);
    }
    // The bytes stored from parameter word `first` on.
    QByteArray bytes(std::size_t first, qsizetype count) const {
        QByteArray out;
        for (std::size_t i = first; out.size() < count; ++i) {
            out.append(static_cast<char>(params.at(i) & 0xFF));
            out.append(static_cast<char>(params.at(i) >> 8));
        }
        out.truncate(count);
        return out;
    }
};

// A metafile read back the way a viewer walks it: the two headers, then
// records chained by their size fields.
struct Parsed {
    quint16 bbox[4] = {};
    quint16 inch = 0;
    quint16 checksum = 0;
    quint16 computedChecksum = 0;
    quint16 metaType = 0;
    quint16 headerWords = 0;
    quint16 version = 0;
    quint32 fileWords = 0;
    quint16 objects = 0;
    quint32 maxRecord = 0;
    std::vector<Record> records;
    QString error;

    std::vector<Record> all(quint16 function) const {
        std::vector<Record> out;
        for (const Record& r : records) {
            if (r.function == function) {
                out.push_back(r);
            }
        }
        return out;
    }
};

Parsed parse(const QByteArray& data) {
    Parsed p;
    if (data.size() < 40 || u32At(data, 0) != 0x9AC6CDD7u) {
        p.error = QStringLiteral("no placeable header");
        return p;
    }
    for (int i = 0; i < 4; ++i) {
        p.bbox[i] = u16At(data, 6 + 2 * i);
    }
    p.inch = u16At(data, 14);
    p.checksum = u16At(data, 20);
    for (qsizetype at = 0; at < 20; at += 2) {
        p.computedChecksum ^= u16At(data, at);
    }
    p.metaType = u16At(data, 22);
    p.headerWords = u16At(data, 24);
    p.version = u16At(data, 26);
    p.fileWords = u32At(data, 28);
    p.objects = u16At(data, 32);
    p.maxRecord = u32At(data, 34);
    qsizetype at = 22 + 2 * static_cast<qsizetype>(p.headerWords);
    while (at < data.size()) {
        if (at + 6 > data.size()) {
            p.error = QStringLiteral("truncated record prefix");
            return p;
        }
        Record r;
        r.words = u32At(data, at);
        r.function = u16At(data, at + 4);
        if (r.words < 3 || at + 2 * static_cast<qsizetype>(r.words) > data.size()) {
            p.error = QStringLiteral("bad record size at %1").arg(at);
            return p;
        }
        for (quint32 i = 3; i < r.words; ++i) {
            r.params.push_back(u16At(data, at + 2 * i));
        }
        at += 2 * static_cast<qsizetype>(r.words);
        p.records.push_back(std::move(r));
        if (p.records.back().function == 0) {
            break;
        }
    }
    if (at != data.size()) {
        p.error = QStringLiteral("bytes after the end-of-file record");
    }
    return p;
}

// Replays the object records against a handle table that hands out the lowest
// free index, as a viewer does. Returns the peak number of live objects, or
// nullopt when a record names an object that does not exist.
std::optional<int> replayObjects(const Parsed& p, std::map<int, quint16>* liveKinds = nullptr) {
    std::vector<bool> used;
    std::map<int, quint16> kinds;
    int live = 0;
    int peak = 0;
    for (const Record& r : p.records) {
        if (r.function == kCreatePen || r.function == kCreateBrush || r.function == kCreateFont) {
            std::size_t slot = 0;
            while (slot < used.size() && used[slot]) {
                ++slot;
            }
            if (slot == used.size()) {
                used.push_back(false);
            }
            used[slot] = true;
            kinds[static_cast<int>(slot)] = r.function;
            peak = std::max(peak, ++live);
        } else if (r.function == kSelectObject || r.function == kDeleteObject) {
            const std::size_t slot = r.params.at(0);
            if (slot >= used.size() || !used[slot]) {
                return std::nullopt;
            }
            if (r.function == kDeleteObject) {
                used[slot] = false;
                kinds.erase(static_cast<int>(slot));
                --live;
            }
        }
    }
    if (liveKinds) {
        *liveKinds = kinds;
    }
    return peak;
}

// Angle of a WMF point around a centre, as GDI measures it in y-down space.
double deviceAngle(double x, double y, double cx, double cy) {
    return std::atan2(y - cy, x - cx);
}

// Whether GDI's ARC (counter-clockwise as seen, i.e. decreasing y-down angle)
// from radial a0 to a1 passes through direction a.
bool arcCovers(double a0, double a1, double a) {
    const double full = 2.0 * std::numbers::pi;
    auto wrap = [full](double v) {
        v = std::fmod(v, full);
        return v < 0.0 ? v + full : v;
    };
    double span = wrap(a0 - a1);
    if (span == 0.0) {
        span = full;
    }
    return wrap(a0 - a) <= span;
}

struct SvgRun {
    bool available = false;
    QString why;
    int exitCode = -1;
    QString svg;
    QString errors;

    int count(const QString& element) const {
        return static_cast<int>(svg.count(QLatin1Char('<') + element + QLatin1Char(' ')));
    }
};

// libwmf resolves every font, including the device context's default one,
// through PostScript names. Where the usual Type 1 fonts are not installed,
// a Ghostscript-style font map points those names at TrueType files; each
// name needs a file of its own because libwmf caches faces by file.
QString writeFontMap(const QString& dir) {
    const QStringList names{
        QStringLiteral("Times-Roman"),    QStringLiteral("Times-Italic"),
        QStringLiteral("Times-Bold"),     QStringLiteral("Times-BoldItalic"),
        QStringLiteral("Helvetica"),      QStringLiteral("Helvetica-Oblique"),
        QStringLiteral("Helvetica-Bold"), QStringLiteral("Helvetica-BoldOblique"),
        QStringLiteral("Courier"),        QStringLiteral("Courier-Oblique"),
        QStringLiteral("Courier-Bold"),   QStringLiteral("Courier-BoldOblique"),
        QStringLiteral("Symbol")};
    QStringList fonts;
    QDirIterator it(QStringLiteral("/usr/share/fonts"), {QStringLiteral("*.ttf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.contains(QRegularExpression(QStringLiteral("[\\s()%]")))) {
            fonts << path;
        }
    }
    if (fonts.isEmpty()) {
        return {};
    }
    fonts.sort();
    QByteArray map;
    for (qsizetype i = 0; i < names.size(); ++i) {
        // Paths are given relative to the font directory "/".
        map += '/' + names[i].toLatin1() + " (" + fonts[i % fonts.size()].mid(1).toLocal8Bit() +
               ") ;\n";
    }
    const QString file = dir + QStringLiteral("/Fontmap");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(map) != map.size()) {
        return {};
    }
    return file;
}

SvgRun runWmf2Svg(const QByteArray& wmf) {
    SvgRun run;
    const QString tool = QStringLiteral("/usr/bin/wmf2svg");
    if (!QFileInfo(tool).isExecutable()) {
        run.why = QStringLiteral("wmf2svg (package libwmf-bin) is not installed");
        return run;
    }
    QTemporaryDir dir;
    if (!dir.isValid()) {
        run.why = QStringLiteral("no temporary directory");
        return run;
    }
    const QString in = dir.filePath(QStringLiteral("picture.wmf"));
    const QString out = dir.filePath(QStringLiteral("picture.svg"));
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly) || file.write(wmf) != wmf.size()) {
        run.why = QStringLiteral("cannot write the metafile");
        return run;
    }
    file.close();
    QStringList args;
    const QString fontMap = writeFontMap(dir.path());
    if (!fontMap.isEmpty()) {
        args << QStringLiteral("--wmf-gs-fontmap=") + fontMap << QStringLiteral("--wmf-fontdir=/");
    }
    args << QStringLiteral("-o") << out << in;
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.why = QStringLiteral("wmf2svg did not finish");
        return run;
    }
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    if (run.errors.contains(QStringLiteral("failed to load *any* font"))) {
        run.why = QStringLiteral("libwmf finds no usable font on this machine: ") + run.errors;
        return run;
    }
    run.available = true;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    QFile svg(out);
    if (svg.open(QIODevice::ReadOnly)) {
        run.svg = QString::fromUtf8(svg.readAll());
    }
    return run;
}

// n points zig-zagging across the drawing, no two neighbours on the same
// WMF unit.
std::vector<Point> zigzag(int n) {
    std::vector<Point> pts;
    for (int i = 0; i < n; ++i) {
        pts.push_back({static_cast<double>(i), (i % 2) * 100.0});
    }
    return pts;
}

}  // namespace

TEST(WmfWriter, HeadersDescribeFrameAndChecksum) {
    // 100 x 50 drawing units: the wide side is scaled to the fit size.
    WmfWriter w(10.0, 20.0, 110.0, 70.0);
    w.polyline({{10.0, 20.0}, {110.0, 70.0}});
    const QByteArray data = w.finish();
    const Parsed p = parse(data);
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();

    EXPECT_EQ(u16At(data, 4), 0);  // hmf
    EXPECT_EQ(p.bbox[0], 0);
    EXPECT_EQ(p.bbox[1], 0);
    EXPECT_EQ(p.bbox[2], w.frameWidth());
    EXPECT_EQ(p.bbox[3], w.frameHeight());
    EXPECT_EQ(w.frameWidth() - 2 * WmfWriter::kMargin, WmfWriter::kFitSize);
    EXPECT_EQ(w.frameHeight() - 2 * WmfWriter::kMargin, WmfWriter::kFitSize / 2);
    EXPECT_EQ(p.inch, 1440);
    EXPECT_EQ(u32At(data, 16), 0u);  // reserved
    EXPECT_EQ(p.checksum, p.computedChecksum);

    EXPECT_EQ(p.metaType, 1);
    EXPECT_EQ(p.headerWords, 9);
    EXPECT_EQ(p.version, 0x0300);
    EXPECT_EQ(u16At(data, 38), 0);  // number of members

    // The window covers the same frame, and the drawing's lower-left corner
    // lands at the bottom-left of the frame (Y flipped).
    const auto ext = p.all(kSetWindowExt);
    ASSERT_EQ(ext.size(), 1u);
    EXPECT_EQ(ext[0].params.at(0), w.frameHeight());
    EXPECT_EQ(ext[0].params.at(1), w.frameWidth());
    const auto lines = p.all(kPolyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].s(1), WmfWriter::kMargin);
    EXPECT_EQ(lines[0].s(2), w.frameHeight() - WmfWriter::kMargin);
    EXPECT_EQ(lines[0].s(3), w.frameWidth() - WmfWriter::kMargin);
    EXPECT_EQ(lines[0].s(4), WmfWriter::kMargin);
}

TEST(WmfWriter, RecordSizesAddUpToHeader) {
    WmfWriter w(0.0, 0.0, 200.0, 100.0);
    w.setPen(0xFF0000, 0.5);
    w.polyline({{0.0, 0.0}, {50.0, 80.0}, {200.0, 100.0}});
    w.polygon({{10.0, 10.0}, {60.0, 10.0}, {30.0, 40.0}}, true);
    w.circle({100.0, 50.0}, 20.0);
    w.arc({100.0, 50.0}, 30.0, 10.0, 100.0);
    w.text({5.0, 5.0}, 3.0, 0.0, QStringLiteral("odd"));
    w.point({150.0, 75.0});
    const QByteArray data = w.finish();
    const Parsed p = parse(data);
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();

    quint32 sum = p.headerWords;
    quint32 largest = 0;
    for (const Record& r : p.records) {
        sum += r.words;
        largest = std::max(largest, r.words);
    }
    EXPECT_EQ(sum, p.fileWords);
    EXPECT_EQ(data.size(), 22 + 2 * static_cast<qsizetype>(p.fileWords));
    EXPECT_EQ(largest, p.maxRecord);
    ASSERT_FALSE(p.records.empty());
    EXPECT_EQ(p.records.back().function, 0);
    EXPECT_EQ(p.records.back().words, 3u);

    // finish() is final: later calls return the same bytes and drawing is ignored.
    w.polyline({{0.0, 0.0}, {10.0, 10.0}});
    EXPECT_EQ(w.finish(), data);
}

TEST(WmfWriter, ObjectTableStaysConsistent) {
    WmfWriter w(0.0, 0.0, 100.0, 100.0);
    const quint32 colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int round = 0; round < 3; ++round) {
        for (quint32 c : colours) {
            w.setPen(c, round);
            w.polygon({{0.0, 0.0}, {50.0, 0.0}, {50.0, 50.0}}, round % 2 == 0);
            w.circle({50.0, 50.0}, 10.0 + round);
            w.text({10.0, 10.0}, 2.0 + round, 15.0 * round, QStringLiteral("label"));
        }
    }
    const Parsed p = parse(w.finish());
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();

    std::map<int, quint16> live;
    const std::optional<int> peak = replayObjects(p, &live);
    ASSERT_TRUE(peak.has_value()) << "a record selects or deletes a missing object";
    EXPECT_EQ(*peak, p.objects);
    // Old objects are deleted as they are replaced: one pen, brush and font remain.
    EXPECT_EQ(live.size(), 3u);
    // Replacing an object needs a second slot only for a moment.
    EXPECT_LE(p.objects, 4);
}

TEST(WmfWriter, PenIsCreatedOnlyWhenItChanges) {
    WmfWriter w(0.0, 0.0, 100.0, 100.0);  // 300 WMF units per drawing unit
    w.setPen(0x123456, 1.0);
    w.polyline({{0.0, 0.0}, {10.0, 10.0}});
    w.setPen(0x123456, 1.0);
    w.polyline({{10.0, 0.0}, {20.0, 10.0}});
    w.polyline({{20.0, 0.0}, {30.0, 10.0}});
    w.setPen(0x0000FF);  // never used before the next change
    w.setPen(0xABCDEF);
    w.polyline({{30.0, 0.0}, {40.0, 10.0}});
    w.setPen(0x00FF00);
    w.polyline({{40.0, 0.0}, {50.0, 10.0}});
    const Parsed p = parse(w.finish());
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();

    const auto pens = p.all(kCreatePen);
    ASSERT_EQ(pens.size(), 3u);
    EXPECT_EQ(pens[0].params.at(0), 0);    // solid
    EXPECT_EQ(pens[0].params.at(1), 300);  // width in WMF units
    EXPECT_EQ(pens[0].u32(3), 0x00563412u);
    EXPECT_EQ(pens[1].u32(3), 0x00EFCDABu);
    EXPECT_EQ(pens[2].params.at(1), 0);
    EXPECT_EQ(pens[2].u32(3), 0x0000FF00u);

    // New pen in the next free slot, selected, then the old one deleted; the
    // third pen reuses the first pen's slot.
    std::vector<std::pair<quint16, quint16>> objectOps;
    for (const Record& r : p.records) {
        if (r.function == kCreatePen) {
            objectOps.emplace_back(r.function, 0);
        } else if (r.function == kSelectObject || r.function == kDeleteObject) {
            objectOps.emplace_back(r.function, r.params.at(0));
        }
    }
    const std::vector<std::pair<quint16, quint16>> expected{
        {kCreatePen, 0},    {kSelectObject, 0}, {kCreatePen, 0},    {kSelectObject, 1},
        {kDeleteObject, 0}, {kCreatePen, 0},    {kSelectObject, 0}, {kDeleteObject, 1}};
    EXPECT_EQ(objectOps, expected);
    EXPECT_EQ(p.objects, 2);
}

TEST(WmfWriter, BrushFollowsFillMode) {
    WmfWriter w(0.0, 0.0, 100.0, 100.0);
    w.setPen(0x336699);
    w.polygon({{0.0, 0.0}, {50.0, 0.0}, {50.0, 50.0}}, true);
    w.polygon({{0.0, 0.0}, {40.0, 0.0}, {40.0, 40.0}}, true);
    w.polygon({{0.0, 0.0}, {30.0, 0.0}, {30.0, 30.0}}, false);
    w.circle({50.0, 50.0}, 5.0);
    const Parsed p = parse(w.finish());
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();

    const auto brushes = p.all(kCreateBrush);
    ASSERT_EQ(brushes.size(), 2u);
    EXPECT_EQ(brushes[0].params.at(0), 0);  // solid, in the pen colour
    EXPECT_EQ(brushes[0].u32(1), 0x00996633u);
    EXPECT_EQ(brushes[1].params.at(0), 1);  // hollow, shared by outline and circle
    EXPECT_EQ(p.all(kPolygon).size(), 3u);
    EXPECT_EQ(p.all(kEllipse).size(), 1u);
}

TEST(WmfWriter, LongRunsAreSplitAcrossRecords) {
    const std::vector<Point> pts = zigzag(40000);
    WmfWriter w(0.0, 0.0, 39999.0, 100.0);
    w.polyline(pts);
    const Parsed p = parse(w.finish());
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();

    const auto lines = p.all(kPolyline);
    ASSERT_EQ(lines.size(), 3u);
    std::vector<std::pair<qint16, qint16>> joined;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::size_t n = lines[k].params.at(0);
        EXPECT_LE(n, static_cast<std::size_t>(WmfWriter::kMaxPointsPerRecord));
        ASSERT_EQ(lines[k].params.size(), 1 + 2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            const std::pair<qint16, qint16> pt{lines[k].s(1 + 2 * i), lines[k].s(2 + 2 * i)};
            if (k > 0 && i == 0) {
                // Each piece starts where the previous one ended.
                EXPECT_EQ(pt, joined.back());
                continue;
            }
            joined.push_back(pt);
        }
    }
    ASSERT_EQ(joined.size(), pts.size());
    for (std::size_t i = 1; i < joined.size(); ++i) {
        ASSERT_GE(joined[i].first, joined[i - 1].first) << i;
        ASSERT_NE(joined[i].second, joined[i - 1].second) << i;
    }
    EXPECT_EQ(joined.front().first, WmfWriter::kMargin);
    EXPECT_EQ(joined.back().first, WmfWriter::kMargin + WmfWriter::kFitSize);

    // A filled outline cannot be split; it is thinned into one record. An
    // unfilled one is drawn as connected polylines.
    WmfWriter filled(0.0, 0.0, 39999.0, 100.0);
    filled.polygon(pts, true);
    filled.polygon(pts, false);
    const Parsed q = parse(filled.finish());
    ASSERT_TRUE(q.error.isEmpty()) << q.error.toStdString();
    const auto polygons = q.all(kPolygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].params.at(0), WmfWriter::kMaxPointsPerRecord);
    const auto outline = q.all(kPolyline);
    ASSERT_EQ(outline.size(), 3u);
    const Record& last = outline.back();
    const std::size_t n = last.params.at(0);
    // The outline closes on its first point.
    EXPECT_EQ(last.s(2 * n - 1), outline.front().s(1));
    EXPECT_EQ(last.s(2 * n), outline.front().s(2));
}

TEST(WmfWriter, ArcKeepsItsSideAfterTheFlip) {
    struct Case {
        double start;
        double end;
    };
    const Case cases[] = {{0.0, 90.0}, {90.0, 0.0}, {350.0, 10.0}, {200.0, 340.0}, {-45.0, 45.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " -> " << c.end);
        WmfWriter w(-100.0, -100.0, 100.0, 100.0);
        w.arc({0.0, 0.0}, 80.0, c.start, c.end);
        const Parsed p = parse(w.finish());
        ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
        const auto arcs = p.all(kArc);
        ASSERT_EQ(arcs.size(), 1u);
        const Record& a = arcs[0];
        // Parameters: yEnd, xEnd, yStart, xStart, bottom, right, top, left.
        const double left = a.s(7), top = a.s(6), right = a.s(5), bottom = a.s(4);
        const double cx = (left + right) / 2.0;
        const double cy = (top + bottom) / 2.0;
        EXPECT_NEAR(right - left, 80.0 * 150.0 * 2.0, 2.0);
        EXPECT_NEAR(bottom - top, 80.0 * 150.0 * 2.0, 2.0);
        const double a0 = deviceAngle(a.s(3), a.s(2), cx, cy);
        const double a1 = deviceAngle(a.s(1), a.s(0), cx, cy);

        // Where the middle of the drawn arc and the middle of the missing
        // part point to after flipping Y.
        double sweep = std::fmod(c.end - c.start, 360.0);
        if (sweep <= 0.0) {
            sweep += 360.0;
        }
        const double inside = (c.start + sweep / 2.0) * std::numbers::pi / 180.0;
        const double outside = (c.start + sweep + (360.0 - sweep) / 2.0) * std::numbers::pi / 180.0;
        EXPECT_TRUE(arcCovers(a0, a1, std::atan2(-std::sin(inside), std::cos(inside))));
        EXPECT_FALSE(arcCovers(a0, a1, std::atan2(-std::sin(outside), std::cos(outside))));
    }
}

TEST(WmfWriter, ArcEdgeCases) {
    WmfWriter w(-100.0, -100.0, 100.0, 100.0);
    w.arc({0.0, 0.0}, 50.0, 30.0, 30.0);     // equal angles: full circle
    w.arc({0.0, 0.0}, 50.0, 30.0, 30.001);   // a sliver whose ends round together
    w.arc({0.0, 0.0}, 50.0, 30.0, 389.999);  // almost closed: the gap is too small
    w.arc({0.0, 0.0}, 0.001, 0.0, 90.0);     // smaller than one WMF unit
    const Parsed p = parse(w.finish());
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    EXPECT_TRUE(p.all(kArc).empty());
    EXPECT_EQ(p.all(kEllipse).size(), 1u);
    const auto lines = p.all(kPolyline);
    ASSERT_EQ(lines.size(), 1u);
    // The near-full arc keeps nearly the whole circumference as a polyline.
    EXPECT_GT(lines[0].params.at(0), 100);
    // The sliver collapses to a dot, and so does the tiny arc.
    EXPECT_EQ(p.all(kSetPixel).size(), 2u);
}

TEST(WmfWriter, TextEncodingPaddingAndFont) {
    WmfWriter w(0.0, 0.0, 100.0, 100.0);
    w.setPen(0x00FF00);
    w.text({10.0, 20.0}, 5.0, 30.0, QStringLiteral("abc"));
    w.text({10.0, 30.0}, 5.0, 30.0, QStringLiteral("abcd"));
    w.text({10.0, 40.0}, 5.0, 30.0, QString::fromUtf8("caf\u00e9 \u20ac"));
    w.text({10.0, 50.0}, 5.0, -90.0, QString::fromUtf8("\u65e5\u672c\u8a9e"));
    w.text({10.0, 60.0}, 5.0, -90.0, QString::fromUtf8("\u65e5\u672c\u20ac\U0001F600"));
    w.text({10.0, 70.0}, 5.0, 0.0, QString());
    const Parsed p = parse(w.finish());
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();

    const auto texts = p.all(kTextOut);
    ASSERT_EQ(texts.size(), 5u);
    auto textBytes = [](const Record& r) { return r.bytes(1, r.params.at(0)); };
    // Odd lengths are padded to whole words, position follows the string.
    EXPECT_EQ(texts[0].params.at(0), 3);
    EXPECT_EQ(texts[0].words, 3u + 1 + 2 + 2);
    EXPECT_EQ(texts[0].params.at(2) >> 8, 0);
    EXPECT_EQ(textBytes(texts[0]), QByteArray("abc"));
    EXPECT_EQ(texts[0].s(4), 300 * 10 + WmfWriter::kMargin);  // x
    EXPECT_EQ(texts[0].s(3), 300 * 80 + WmfWriter::kMargin);  // y, flipped
    EXPECT_EQ(texts[1].words, 3u + 1 + 2 + 2);
    EXPECT_EQ(textBytes(texts[1]), QByteArray("abcd"));
    // Windows-1252 covers Western text, the euro sign included.
    EXPECT_EQ(textBytes(texts[2]), QByteArray("caf\xe9 \x80"));
    // Japanese goes out as Shift_JIS; what it cannot hold becomes '?'.
    EXPECT_EQ(textBytes(texts[3]), QByteArray("\x93\xfa\x96\x7b\x8c\xea"));
    EXPECT_EQ(textBytes(texts[4]), QByteArray("\x93\xfa\x96\x7b??"));

    // One font per distinct height/angle/charset, in the order first needed.
    const auto fonts = p.all(kCreateFont);
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[0].s(0), -1500);             // character height in WMF units
    EXPECT_EQ(fonts[0].params.at(2), 300);       // escapement, tenths of a degree
    EXPECT_EQ(fonts[0].params.at(6) >> 8, 0);    // ANSI charset
    EXPECT_EQ(fonts[1].params.at(2), 2700);      // -90 degrees
    EXPECT_EQ(fonts[1].params.at(6) >> 8, 128);  // Shift_JIS charset
    EXPECT_EQ(fonts[0].bytes(9, 6), QByteArray("Arial\0", 6));
    EXPECT_EQ(fonts[0].words, 3u + 25);
    const auto colours = p.all(kSetTextColor);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(colours[0].u32(0), 0x0000FF00u);
}

TEST(WmfWriter, DegenerateInputStillGivesAValidFile) {
    // A single point: the frame is just the margin around it.
    WmfWriter single(5.0, 5.0, 5.0, 5.0);
    single.point({5.0, 5.0});
    const QByteArray dot = single.finish();
    const Parsed p = parse(dot);
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    EXPECT_EQ(p.bbox[2], 2 * WmfWriter::kMargin);
    EXPECT_EQ(p.bbox[3], 2 * WmfWriter::kMargin);
    const auto pixels = p.all(kSetPixel);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0].s(2), WmfWriter::kMargin);
    EXPECT_EQ(pixels[0].s(3), WmfWriter::kMargin);

    // A box too small to scale up behaves like a point.
    WmfWriter tiny(0.0, 0.0, 1e-320, 1e-320);
    EXPECT_EQ(tiny.frameWidth(), 2 * WmfWriter::kMargin);
    EXPECT_EQ(tiny.frameHeight(), 2 * WmfWriter::kMargin);

    // Swapped extents, non-finite coordinates, collapsed and out-of-range geometry.
    WmfWriter odd(100.0, 100.0, 0.0, 0.0);
    EXPECT_EQ(odd.frameWidth(), WmfWriter::kFitSize + 2 * WmfWriter::kMargin);
    odd.polyline({{0.0, 0.0}, {std::nan(""), 1.0}, {100.0, 100.0}});
    odd.polyline({{50.0, 50.0}, {50.0, 50.0}});
    odd.polygon({{0.0, 0.0}, {10.0, 10.0}, {0.0, 0.0}}, true);
    odd.polyline({{-1e9, 0.0}, {1e9, 0.0}});
    odd.circle({50.0, 50.0}, std::numeric_limits<double>::infinity());
    odd.text({0.0, 0.0}, 1.0, 0.0, QStringLiteral("x"));
    const Parsed q = parse(odd.finish());
    ASSERT_TRUE(q.error.isEmpty()) << q.error.toStdString();
    const auto lines = q.all(kPolyline);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].params.at(0), 2);  // the NaN point is dropped
    EXPECT_EQ(lines[1].params.at(0), 2);  // polygon without area drawn as its edge
    EXPECT_EQ(lines[2].s(1), -32768);     // clamped to the 16-bit range
    EXPECT_EQ(lines[2].s(3), 32767);
    EXPECT_EQ(q.all(kSetPixel).size(), 1u);
    EXPECT_TRUE(q.all(kEllipse).empty());
    EXPECT_TRUE(q.all(kPolygon).empty());
}

TEST(WmfWriter, Wmf2SvgRendersEveryObject) {
    WmfWriter w(0.0, 0.0, 200.0, 100.0);
    w.setPen(0xFF0000, 0.5);
    w.polyline({{0.0, 0.0}, {200.0, 100.0}});
    w.polyline({{0.0, 100.0}, {100.0, 0.0}, {200.0, 100.0}});
    w.setPen(0x0000FF);
    w.polyline({{10.0, 10.0}, {20.0, 90.0}});
    w.polygon({{30.0, 30.0}, {60.0, 30.0}, {45.0, 60.0}}, true);
    w.polygon({{130.0, 30.0}, {160.0, 30.0}, {145.0, 60.0}}, false);
    w.circle({100.0, 50.0}, 20.0);
    w.arc({100.0, 50.0}, 40.0, 20.0, 110.0);
    w.point({180.0, 20.0});
    w.text({10.0, 5.0}, 4.0, 0.0, QStringLiteral("Layer 0"));
    w.text({60.0, 5.0}, 4.0, 45.0, QString::fromUtf8("\u56f3\u9762"));
    const SvgRun run = runWmf2Svg(w.finish());
    if (!run.available) {
        GTEST_SKIP() << run.why.toStdString();
    }
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.count(QStringLiteral("polyline")), 3) << run.svg.toStdString();
    EXPECT_EQ(run.count(QStringLiteral("polygon")), 2);
    EXPECT_EQ(run.count(QStringLiteral("ellipse")), 1);
    EXPECT_EQ(run.count(QStringLiteral("path")), 1);
    EXPECT_EQ(run.count(QStringLiteral("rect")), 1);
    EXPECT_EQ(run.count(QStringLiteral("text")), 2);
    EXPECT_TRUE(run.svg.contains(QStringLiteral(">Layer 0</text>")));
}

TEST(WmfWriter, Wmf2SvgReadsSplitPolylinesAndReusedSlots) {
    WmfWriter w(0.0, 0.0, 39999.0, 100.0);
    const quint32 colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
    const std::vector<Point> pts = zigzag(40000);
    for (quint32 c : colours) {
        w.setPen(c);
        w.polygon({{0.0, 0.0}, {1000.0, 0.0}, {1000.0, 100.0}}, c != 0);
    }
    w.polyline(pts);
    const SvgRun run = runWmf2Svg(w.finish());
    if (!run.available) {
        GTEST_SKIP() << run.why.toStdString();
    }
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.count(QStringLiteral("polyline")), 3);
    EXPECT_EQ(run.count(QStringLiteral("polygon")), 4);
    // Each polygon is filled with its own pen colour, the last one hollow.
    EXPECT_TRUE(run.svg.contains(QStringLiteral("fill:red")));
    EXPECT_TRUE(run.svg.contains(QStringLiteral("fill:lime")));
    EXPECT_TRUE(run.svg.contains(QStringLiteral("fill:blue")));
    EXPECT_TRUE(run.svg.contains(QStringLiteral("fill:none")));
}
