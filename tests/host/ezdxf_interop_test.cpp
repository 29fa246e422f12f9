// Interoperability with ezdxf: drawings that ezdxf writes (R12, 2000, 2004 in
// Shift_JIS, 2007, 2018) are changed through the automation model and saved;
// ezdxf must read back exactly the intended changes, and its audit must find
// nothing it did not find in the original.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "TestPaths.h"
#include "acad/Error.h"
#include "host/HostApplication.h"

namespace {

const char* const kFlavours[] = {"r12", "r2000", "r2004_sjis", "r2007", "r2018"};

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The drawings ezdxf wrote and what it reported about them, made once per run.
const QJsonObject& manifest() {
    static QJsonObject all = [] {
        const QString dir = testsupport::tempDir() + QStringLiteral("/ezdxf_made");
        QDir().mkpath(dir);
        QString out;
        const int rc = testsupport::runPython(QStringLiteral("interop_make.py"), {dir}, &out);
        EXPECT_EQ(rc, 0) << out.toStdString();
        // The manifest is the last line; ezdxf may log before it.
        const QStringList lines = out.trimmed().split(QLatin1Char('\n'));
        QJsonParseError err{};
        const QJsonDocument json = QJsonDocument::fromJson(lines.last().toUtf8(), &err);
        EXPECT_EQ(err.error, QJsonParseError::NoError) << out.toStdString();
        return json.object();
    }();
    return all;
}

struct Flavour {
    QString key;
    QString file;
    QString version;
    QJsonObject layers;
    QJsonObject handles;
    bool r12 = false;
    bool japanese = false;  // text with Japanese characters is written

    QString layer(const char* role) const { return layers.value(QLatin1String(role)).toString(); }
    QString handle(const char* role) const { return handles.value(QLatin1String(role)).toString(); }
    bool has(const char* role) const { return handles.contains(QLatin1String(role)); }
};

Flavour flavour(const QString& key) {
    const QJsonObject m = manifest().value(key).toObject();
    Flavour f;
    f.key = key;
    f.file = m.value(QStringLiteral("file")).toString();
    f.version = m.value(QStringLiteral("version")).toString();
    f.layers = m.value(QStringLiteral("layers")).toObject();
    f.handles = m.value(QStringLiteral("handles")).toObject();
    f.r12 = f.version == QLatin1String("AC1009");
    f.japanese = key == QLatin1String("r2004_sjis") || key == QLatin1String("r2007");
    return f;
}

// A copy of the generated drawing the test may change; the original stays
// for comparison.
QString workCopy(const Flavour& f, const QString& suffix) {
    const QString path = testsupport::tempDir() + QLatin1Char('/') + f.key + suffix;
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(f.file, path)) << f.file.toStdString();
    return path;
}

// New TEXT contents: one line in the drawing's own characters.
QString newText(const Flavour& f) {
    if (f.japanese)
        return QStringLiteral("変更済みの文字列 ～ ① テキスト");
    if (f.r12)
        return QStringLiteral("Changed text R12");
    return QStringLiteral("Changed text: Größe ± 5°");
}

// New MTEXT contents: paragraphs, well over 250 characters, so the text is
// stored in several group 3 chunks.
QString newMText(const Flavour& f) {
    const QString unit = f.japanese ? QStringLiteral("改訂された段落～①です。ｶﾀｶﾅ")
                                    : QStringLiteral("Revised paragraph Größe");
    QStringList parts;
    int length = 0;
    for (int i = 0; length < 600; ++i) {
        parts << unit + QStringLiteral(" %1").arg(i);
        length += static_cast<int>(parts.last().size()) + 2;
    }
    return parts.join(QStringLiteral("\\P"));
}

// Runs the checker on the original and the changed drawing with the given
// expectations; returns its exit code and fills its report.
int check(const Flavour& f, const QString& changed, const QJsonObject& expect, QString* report) {
    const QString expectPath = changed + QStringLiteral(".expect.json");
    EXPECT_TRUE(writeBytes(expectPath, QJsonDocument(expect).toJson()));
    return testsupport::runPython(QStringLiteral("interop_check.py"), {f.file, changed, expectPath},
                                  report);
}

class EzdxfInterop : public ::testing::TestWithParam<const char*> {
protected:
    Flavour f() const { return flavour(QString::fromLatin1(GetParam())); }
};

// Opening a drawing and saving it unchanged writes the same bytes, both to a
// new path and over the file itself.
TEST_P(EzdxfInterop, UnchangedSaveIsByteIdentical) {
    const Flavour fl = f();
    const QByteArray original = readBytes(fl.file);
    ASSERT_FALSE(original.isEmpty()) << fl.file.toStdString();
    const QString path = workCopy(fl, QStringLiteral("_unchanged.dxf"));
    const QString other = testsupport::tempDir() + QLatin1Char('/') + fl.key + "_saved_as.dxf";

    auto app = std::make_shared<host::HostApplication>();
    host::HostDocumentPtr doc = app->open(path);
    EXPECT_EQ(doc->Layers()->Count(), manifest()[fl.key][QStringLiteral("layer_count")].toInt());
    EXPECT_EQ(doc->ActiveLayer()->Name(), fl.layer("current"));
    doc->save(other);
    EXPECT_TRUE(readBytes(other) == original) << "saved as another file";
    doc->save(path);
    EXPECT_TRUE(readBytes(path) == original) << "saved over itself";
    app->close(doc);
}

// Every supported change, made through the automation model and saved, reads
// back in ezdxf as intended; nothing else changes and the audit finds nothing
// new.
TEST_P(EzdxfInterop, ChangesReadBackExactlyInEzdxf) {
    const Flavour fl = f();
    const QString path = workCopy(fl, QStringLiteral("_changed.dxf"));
    auto app = std::make_shared<host::HostApplication>();
    host::HostDocumentPtr doc = app->open(path);
    acad::LayersPtr layers = doc->Layers();
    QJsonObject expectLayers, expectEntities;

    // Layer flags.
    auto off = layers->Item(fl.layer("off"));
    off->SetLayerOn(false);
    off->SetColor(5);  // a colour change on an off layer keeps it off
    EXPECT_FALSE(off->LayerOn());
    EXPECT_EQ(off->Color(), 5);
    expectLayers[fl.layer("off")] = QJsonObject{{"on", false}, {"color", 5}};

    auto frozen = layers->Item(fl.layer("frozen"));
    frozen->SetFreeze(true);
    EXPECT_TRUE(frozen->Freeze());
    expectLayers[fl.layer("frozen")] = QJsonObject{{"frozen", true}};

    auto locked = layers->Item(fl.layer("locked"));
    locked->SetLock(true);
    EXPECT_TRUE(locked->Lock());
    expectLayers[fl.layer("locked")] = QJsonObject{{"locked", true}};

    auto vp = layers->Item(fl.layer("vpdefault"));
    vp->SetViewportDefault(true);
    EXPECT_TRUE(vp->ViewportDefault());
    expectLayers[fl.layer("vpdefault")] = QJsonObject{{"vpdefault", true}};

    // Plot flag and lineweight exist from 2000 on; R12 refuses them (tested
    // apart) and the checker then sees the layers unchanged.
    if (!fl.r12) {
        auto noplot = layers->Item(fl.layer("noplot"));
        noplot->SetPlottable(false);
        EXPECT_FALSE(noplot->Plottable());
        expectLayers[fl.layer("noplot")] = QJsonObject{{"plot", false}};

        auto heavy = layers->Item(fl.layer("lineweight"));
        heavy->SetLineweight(50);
        EXPECT_EQ(heavy->Lineweight(), 50);
        expectLayers[fl.layer("lineweight")] = QJsonObject{{"lineweight", 50}};
    }

    // Colour and linetype.
    auto recolor = layers->Item(fl.layer("recolor"));
    recolor->SetColor(30);
    EXPECT_TRUE(recolor->LayerOn());
    EXPECT_EQ(recolor->Color(), 30);
    expectLayers[fl.layer("recolor")] = QJsonObject{{"on", true}, {"color", 30}};

    auto dashed = layers->Item(fl.layer("linetype"));
    dashed->SetLinetype(QStringLiteral("dashed"));  // matched without regard to case
    EXPECT_EQ(dashed->Linetype(), QStringLiteral("DASHED"));
    expectLayers[fl.layer("linetype")] = QJsonObject{{"linetype", "DASHED"}};

    // Delete an unused layer.
    const long before = layers->Count();
    layers->Item(fl.layer("unused"))->Delete();
    EXPECT_EQ(layers->Count(), before - 1);
    EXPECT_THROW(layers->Item(fl.layer("unused")), acad::Error);

    // Add a layer.
    auto added = layers->Add(fl.layer("added"));
    EXPECT_EQ(added->Name(), fl.layer("added"));
    EXPECT_EQ(layers->Count(), before);
    expectLayers[fl.layer("added")] = QJsonObject{{"on", true}, {"color", 7}, {"frozen", false}};

    // Rename the current layer, which holds objects in model space, paper
    // space and a block definition.
    auto current = layers->Item(fl.layer("current"));
    current->SetName(fl.layer("renamed"));
    EXPECT_EQ(doc->ActiveLayer()->Name(), fl.layer("renamed"));
    EXPECT_THROW(layers->Item(fl.layer("current")), acad::Error);
    for (const char* role :
         {"msp_line", "polyline", "vertex", "psp_line", "block_line", "insert", "attrib"}) {
        EXPECT_EQ(doc->HandleToObject(fl.handle(role))->Layer(), fl.layer("renamed")) << role;
        expectEntities[fl.handle(role)] = QJsonObject{{"layer", fl.layer("renamed")}};
    }

    // Entity layer, colour and linetype.
    auto line = doc->HandleToObject(fl.handle("retarget"));
    line->SetLayer(fl.layer("target").toLower());  // stored with the layer's own spelling
    line->SetColor(3);
    line->SetLinetype(QStringLiteral("DASHED"));
    EXPECT_EQ(line->Layer(), fl.layer("target"));
    EXPECT_EQ(line->Color(), 3);
    EXPECT_EQ(line->Linetype(), QStringLiteral("DASHED"));
    expectEntities[fl.handle("retarget")] =
        QJsonObject{{"layer", fl.layer("target")}, {"color", 3}, {"linetype", "DASHED"}};

    // Text and multi-line text.
    auto text = doc->HandleToObject(fl.handle("text"));
    EXPECT_EQ(text->TextString(), manifest()[fl.key][QStringLiteral("text")].toString());
    text->SetTextString(newText(fl));
    EXPECT_EQ(text->TextString(), newText(fl));
    expectEntities[fl.handle("text")] = QJsonObject{{"text", newText(fl)}};
    if (fl.has("mtext")) {
        auto mtext = doc->HandleToObject(fl.handle("mtext"));
        EXPECT_EQ(mtext->TextString(), manifest()[fl.key][QStringLiteral("mtext")].toString());
        const QString long_ = newMText(fl);
        ASSERT_GT(long_.size(), 250);
        mtext->SetTextString(long_);
        EXPECT_EQ(mtext->TextString(), long_);
        expectEntities[fl.handle("mtext")] = QJsonObject{{"text", long_}};
    }

    doc->save();
    app->close(doc);

    // The host reads its own file back the same way.
    {
        auto app2 = std::make_shared<host::HostApplication>();
        auto again = app2->open(path);
        EXPECT_EQ(again->ActiveLayer()->Name(), fl.layer("renamed"));
        EXPECT_FALSE(again->Layers()->Item(fl.layer("off"))->LayerOn());
        EXPECT_EQ(again->HandleToObject(fl.handle("text"))->TextString(), newText(fl));
        if (fl.has("mtext")) {
            EXPECT_EQ(again->HandleToObject(fl.handle("mtext"))->TextString(), newMText(fl));
        }
    }

    QJsonObject expect{
        {"renamed", QJsonObject{{fl.layer("current"), fl.layer("renamed")}}},
        {"deleted", QJsonArray{fl.layer("unused")}},
        {"added", QJsonArray{fl.layer("added")}},
        {"layers", expectLayers},
        {"entities", expectEntities},
        {"clayer", fl.layer("renamed")},
    };
    QString report;
    EXPECT_EQ(check(fl, path, expect, &report), 0) << report.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Versions, EzdxfInterop, ::testing::ValuesIn(kFlavours),
                         [](const auto& info) { return std::string(info.param); });

// R12 drawings have no layer plot flag and no lineweights: both are refused,
// and a refused change leaves the file as it was.
TEST(EzdxfInteropR12, RefusesPlotFlagAndLineweight) {
    const Flavour fl = flavour(QStringLiteral("r12"));
    ASSERT_TRUE(fl.r12);
    const QString path = workCopy(fl, QStringLiteral("_refused.dxf"));
    auto app = std::make_shared<host::HostApplication>();
    auto doc = app->open(path);
    auto noplot = doc->Layers()->Item(fl.layer("noplot"));
    EXPECT_THROW(noplot->SetPlottable(false), acad::Error);
    EXPECT_TRUE(noplot->Plottable());
    auto heavy = doc->Layers()->Item(fl.layer("lineweight"));
    EXPECT_THROW(heavy->SetLineweight(50), acad::Error);
    EXPECT_EQ(heavy->Lineweight(), -3);
    doc->save();
    EXPECT_TRUE(readBytes(path) == readBytes(fl.file));
}

// The checker is not blind: an expectation the drawing does not meet, or a
// change it was not told about, makes it fail and name the layer.
TEST(EzdxfInteropChecker, ReportsUnmetAndUnexpectedChanges) {
    const Flavour fl = flavour(QStringLiteral("r2000"));
    QString report;
    EXPECT_EQ(check(fl, fl.file, QJsonObject{}, &report), 0) << report.toStdString();

    const QJsonObject unmet{{"layers", QJsonObject{{fl.layer("off"), QJsonObject{{"on", false}}}}}};
    EXPECT_EQ(check(fl, fl.file, unmet, &report), 1) << report.toStdString();
    EXPECT_TRUE(report.contains(fl.layer("off"))) << report.toStdString();

    const QString path = workCopy(fl, QStringLiteral("_unexpected.dxf"));
    auto app = std::make_shared<host::HostApplication>();
    auto doc = app->open(path);
    doc->Layers()->Item(fl.layer("locked"))->SetLock(true);
    doc->save();
    EXPECT_EQ(check(fl, path, QJsonObject{}, &report), 1) << report.toStdString();
    EXPECT_TRUE(report.contains(fl.layer("locked"))) << report.toStdString();
}

}  // namespace
