// Document.Export writes a picture of exactly the selected objects that
// libwmf reads, and refuses what it cannot export.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QXmlStreamReader>
#include <map>

#include "AcadErrors.h"
#include "TestPaths.h"
#include "acad/Error.h"
#include "host/HostApplication.h"
#include "host/HostObjects.h"
#include "host/render/Geometry.h"

using testsupport::errorOf;

namespace {

// Counts of the SVG elements wmf2svg wrote for a metafile, or an error.
struct Svg {
    QString error;
    std::map<QString, int> elements;
    int count(const char* name) const {
        const auto it = elements.find(QString::fromLatin1(name));
        return it == elements.end() ? 0 : it->second;
    }
};

Svg toSvg(const QString& wmfPath) {
    Svg out;
    QProcess p;
    p.start(QStringLiteral("/usr/bin/wmf2svg"), {wmfPath});
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        out.error = QStringLiteral("wmf2svg timed out");
        return out;
    }
    const QByteArray svg = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        out.error = QStringLiteral("wmf2svg failed (%1): %2")
                        .arg(p.exitCode())
                        .arg(QString::fromLocal8Bit(p.readAllStandardError()));
        return out;
    }
    QXmlStreamReader xml(svg);
    bool root = false;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("svg"))
                root = true;
            ++out.elements[xml.name().toString()];
        }
    }
    if (xml.hasError())
        out.error = QStringLiteral("SVG does not parse: ") + xml.errorString();
    else if (!root)
        out.error = QStringLiteral("no <svg> element");
    return out;
}

class WmfExport : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::tempDir() + QStringLiteral("/wmf_export");
        QDir().mkpath(dir);
        const QString dxf = dir + QStringLiteral("/layers.dxf");
        QString log;
        ASSERT_EQ(testsupport::runPython(QStringLiteral("render_drawings.py"),
                                         {QStringLiteral("layers"), dxf}, &log),
                  0)
            << log.toStdString();
        app = std::make_shared<host::HostApplication>();
        doc = app->open(dxf);
    }
    // A fresh selection set of the objects on the layer.
    acad::SelectionSetPtr layerSet(const QString& layer) {
        auto sets = doc->SelectionSets();
        auto ss = sets->Add(QStringLiteral("set") + QString::number(sets->Count()));
        ss->Select(acad::acSelectionSetAll, {8}, {QVariant(layer)});
        return ss;
    }
    QString dir;
    host::HostApplicationPtr app;
    host::HostDocumentPtr doc;
};

}  // namespace

// An export of one layer's objects holds those objects and nothing else, in a
// metafile libwmf converts without complaint.
TEST_F(WmfExport, HoldsOnlyTheSelectedLayersObjects) {
    auto lines = layerSet(QStringLiteral("A"));
    ASSERT_EQ(lines->Count(), 2);
    doc->Export(dir + QStringLiteral("/lines"), QStringLiteral("WMF"), lines);
    const Svg a = toSvg(dir + QStringLiteral("/lines.wmf"));
    ASSERT_TRUE(a.error.isEmpty()) << a.error.toStdString();
    EXPECT_EQ(a.count("polyline"), 2);
    EXPECT_EQ(a.count("ellipse"), 0);
    EXPECT_EQ(a.count("text"), 0);

    auto circles = layerSet(QStringLiteral("B"));
    ASSERT_EQ(circles->Count(), 3);
    doc->Export(dir + QStringLiteral("/circles"), QStringLiteral("WMF"), circles);
    const Svg b = toSvg(dir + QStringLiteral("/circles.wmf"));
    ASSERT_TRUE(b.error.isEmpty()) << b.error.toStdString();
    EXPECT_EQ(b.count("ellipse"), 3);
    EXPECT_EQ(b.count("polyline"), 0);
    EXPECT_EQ(b.count("text"), 0);

    auto label = layerSet(QStringLiteral("T"));
    doc->Export(dir + QStringLiteral("/label"), QStringLiteral("WMF"), label);
    const Svg t = toSvg(dir + QStringLiteral("/label.wmf"));
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    EXPECT_EQ(t.count("text"), 1);
    EXPECT_EQ(t.count("polyline") + t.count("ellipse"), 0);
}

// Everything selected together gives one picture with all of it.
TEST_F(WmfExport, AllObjectsTogether) {
    auto sets = doc->SelectionSets();
    auto all = sets->Add(QStringLiteral("all"));
    all->Select(acad::acSelectionSetAll);
    doc->Export(dir + QStringLiteral("/all"), QStringLiteral("wmf"), all);
    const Svg s = toSvg(dir + QStringLiteral("/all.wmf"));
    ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
    EXPECT_EQ(s.count("polyline"), 2);
    EXPECT_EQ(s.count("ellipse"), 3);
    EXPECT_EQ(s.count("text"), 1);
}

// The picture shows what the drawing shows: objects on a layer that is off
// or frozen are not drawn into it.
TEST_F(WmfExport, LeavesOutLayersThatAreOffOrFrozen) {
    auto sets = doc->SelectionSets();
    auto all = sets->Add(QStringLiteral("all"));
    all->Select(acad::acSelectionSetAll);
    doc->Layers()->Item(QStringLiteral("B"))->SetLayerOn(false);
    doc->Layers()->Item(QStringLiteral("T"))->SetFreeze(true);
    doc->Export(dir + QStringLiteral("/visible"), QStringLiteral("WMF"), all);
    const Svg s = toSvg(dir + QStringLiteral("/visible.wmf"));
    ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
    EXPECT_EQ(s.count("polyline"), 2);
    EXPECT_EQ(s.count("ellipse"), 0);
    EXPECT_EQ(s.count("text"), 0);
}

// The format is named without regard to case and the file takes ".wmf"
// after the given name; the file is a placeable metafile.
TEST_F(WmfExport, FormatNameAndFileName) {
    auto lines = layerSet(QStringLiteral("A"));
    for (const char* format : {"WMF", "wmf", "Wmf"}) {
        const QString base = dir + QStringLiteral("/case_") + QLatin1String(format);
        doc->Export(base, QLatin1String(format), lines);
        QFile f(base + QStringLiteral(".wmf"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << format;
        const QByteArray head = f.read(4);
        EXPECT_EQ(head, QByteArray("\xD7\xCD\xC6\x9A", 4)) << format;
    }
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/case_WMF")));
}

// Refusals: other formats, no set, an empty set and another drawing's set
// fail with the automation errors and write nothing.
TEST_F(WmfExport, Refusals) {
    auto lines = layerSet(QStringLiteral("A"));
    const QString base = dir + QStringLiteral("/refused");
    EXPECT_EQ(errorOf([&] { doc->Export(base, QStringLiteral("DXF"), lines); }),
              acad::ErrorNumber::NotSupported);
    EXPECT_EQ(errorOf([&] { doc->Export(base, QStringLiteral("EMF"), lines); }),
              acad::ErrorNumber::NotSupported);
    EXPECT_EQ(errorOf([&] { doc->Export(base, QStringLiteral("WMF"), nullptr); }),
              acad::ErrorNumber::InvalidInput);
    auto empty = doc->SelectionSets()->Add(QStringLiteral("empty"));
    EXPECT_EQ(errorOf([&] { doc->Export(base, QStringLiteral("WMF"), empty); }),
              acad::ErrorNumber::InvalidInput);
    auto other = app->newDrawing();
    auto foreign = other->SelectionSets()->Add(QStringLiteral("foreign"));
    foreign->Select(acad::acSelectionSetAll);
    EXPECT_EQ(errorOf([&] { doc->Export(base, QStringLiteral("WMF"), foreign); }),
              acad::ErrorNumber::InvalidInput);
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral(".wmf")));
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral(".dxf")));
    // The refusal names the format.
    try {
        doc->Export(base, QStringLiteral("PDF"), lines);
        FAIL() << "PDF export was accepted";
    } catch (const acad::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("PDF")))
            << e.description().toStdString();
    }
}

// Block references, blocks nested in themselves and odd values still give a
// metafile libwmf reads.
TEST_F(WmfExport, OddDrawingsStillExport) {
    const QString path = dir + QStringLiteral("/odd.dxf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n"
        "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n"
        "0\nSECTION\n2\nBLOCKS\n"
        "0\nBLOCK\n8\n0\n2\nLOOP\n70\n0\n10\n0\n20\n0\n"
        "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n"
        "0\nINSERT\n8\n0\n2\nLOOP\n10\n2\n20\n0\n41\n0.5\n42\n0.5\n"
        "0\nENDBLK\n8\n0\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n"
        "0\nINSERT\n8\n0\n2\nLOOP\n10\n0\n20\n0\n"
        "0\nCIRCLE\n8\n0\n10\n1e300\n20\n-1e300\n40\n0\n"
        "0\nARC\n8\n0\n40\n5\n"
        "0\nLINE\n8\n0\n10\nnan\n20\n5\n"
        "0\nTEXT\n8\n0\n40\n0\n1\n\n"
        "0\nENDSEC\n0\nEOF\n");
    f.close();
    auto odd = app->open(path);
    auto all = odd->SelectionSets()->Add(QStringLiteral("all"));
    all->Select(acad::acSelectionSetAll);
    ASSERT_EQ(all->Count(), 5);
    odd->Export(dir + QStringLiteral("/odd"), QStringLiteral("WMF"), all);
    const Svg s = toSvg(dir + QStringLiteral("/odd.wmf"));
    ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();

    // The self-inserting block alone: its line once per nesting level, until
    // the nesting cap (the deepest copies shrink to dots).
    auto loop = odd->SelectionSets()->Add(QStringLiteral("loop"));
    loop->Select(acad::acSelectionSetAll, {0}, {QVariant(QStringLiteral("INSERT"))});
    ASSERT_EQ(loop->Count(), 1);
    odd->Export(dir + QStringLiteral("/loop"), QStringLiteral("WMF"), loop);
    const Svg l = toSvg(dir + QStringLiteral("/loop.wmf"));
    ASSERT_TRUE(l.error.isEmpty()) << l.error.toStdString();
    EXPECT_GE(l.count("polyline"), 5);
    EXPECT_LE(l.count("polyline"), host::render::GeometryBuilder::kMaxDepth + 1);
}
