// The host refuses what the CAD application refuses, finds layers and objects
// the way it does, and never takes in a broken file.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "AcadErrors.h"
#include "TestPaths.h"
#include "acad/Error.h"
#include "host/HostApplication.h"
#include "host/HostObjects.h"

using acad::ErrorNumber::DuplicateKey;
using acad::ErrorNumber::InvalidInput;
using acad::ErrorNumber::KeyNotFound;
using acad::ErrorNumber::NotAllowed;
using acad::ErrorNumber::ObjectInUse;

using testsupport::errorOf;

namespace {

QString copyOf(const QString& dataFile) {
    const QString dst = testsupport::tempDir() + QLatin1Char('/') + dataFile;
    QFile::remove(dst);
    EXPECT_TRUE(
        QFile::copy(testsupport::sourceDir() + QStringLiteral("/tests/data/") + dataFile, dst));
    QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return dst;
}

class ObjectModel : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        app = std::make_shared<host::HostApplication>();
        doc = app->open(copyOf(QString::fromLatin1(GetParam())));
        layers = doc->Layers();
    }
    std::vector<QString> selectNames(const std::vector<int>& types,
                                     const std::vector<QVariant>& data) {
        auto sets = doc->SelectionSets();
        while (sets->Count() > 0)
            sets->Item(0)->Delete();
        auto ss = sets->Add(QStringLiteral("cSet"));
        ss->Select(acad::acSelectionSetAll, types, data);
        std::vector<QString> out;
        for (auto& e : ss->items())
            out.push_back(e->ObjectName() + QLatin1Char('@') + e->Layer());
        std::sort(out.begin(), out.end());
        return out;
    }
    host::HostApplicationPtr app;
    host::HostDocumentPtr doc;
    acad::LayersPtr layers;
};

}  // namespace

// Layers are found by 0-based index in table order and by name in any case.
TEST_P(ObjectModel, LayersItemByIndexAndName) {
    const long n = layers->Count();
    ASSERT_GE(n, 6);
    EXPECT_EQ(layers->Item(0L)->Name(), QStringLiteral("0"));
    EXPECT_EQ(layers->Item(QStringLiteral("a-1"))->Name(), QStringLiteral("A-1"));
    EXPECT_EQ(errorOf([&] { layers->Item(n); }), KeyNotFound);
    EXPECT_EQ(errorOf([&] { layers->Item(-1L); }), KeyNotFound);
    EXPECT_EQ(errorOf([&] { layers->Item(QStringLiteral("nope")); }), KeyNotFound);
    EXPECT_EQ(doc->ActiveLayer()->Name(), QStringLiteral("A-1"));
}

// Names the CAD application refuses never reach the drawing.
TEST_P(ObjectModel, RefusesInvalidAndDuplicateNames) {
    auto l = layers->Item(QStringLiteral("A-2"));
    for (const char* bad :
         {"a<b", "a>b", "a/b", "a\\b", "a\"b", "a:b", "a;b", "a?b", "a*b", "a|b", "a=b", "a`b", ""})
        EXPECT_EQ(errorOf([&] { l->SetName(QString::fromLatin1(bad)); }), InvalidInput) << bad;
    EXPECT_EQ(errorOf([&] { l->SetName(QStringLiteral("b-1")); }), DuplicateKey);
    EXPECT_EQ(errorOf([&] { layers->Item(0L)->SetName(QStringLiteral("Zero")); }), NotAllowed);
    // A change of letter case only is allowed.
    l->SetName(QStringLiteral("a-2"));
    EXPECT_EQ(l->Name(), QStringLiteral("a-2"));
    EXPECT_EQ(layers->Item(QStringLiteral("A-2"))->Name(), QStringLiteral("a-2"));
    // Add with an existing name gives that layer back instead of a twin.
    const long before = layers->Count();
    EXPECT_EQ(layers->Add(QStringLiteral("B-1"))->Name(), QStringLiteral("B-1"));
    EXPECT_EQ(layers->Count(), before);
}

// The refusals users read are described in Japanese, naming the layer or
// the file concerned.
TEST_P(ObjectModel, RefusalsAreDescribedInJapanese) {
    const auto descriptionOf = [](auto f) {
        try {
            f();
        } catch (const acad::Error& e) {
            return e.description();
        }
        return QStringLiteral("(no error)");
    };
    auto l = layers->Item(QStringLiteral("A-2"));
    EXPECT_EQ(descriptionOf([&] { l->SetName(QStringLiteral("b-1")); }),
              QStringLiteral("画層「b-1」は既に存在します。"));
    EXPECT_EQ(descriptionOf([&] { l->SetName(QStringLiteral("a*b")); }),
              QStringLiteral("画層名「a*b」には使用できない文字「*」が含まれています。"));
    EXPECT_EQ(descriptionOf([&] { layers->Item(QStringLiteral("B-1"))->Delete(); }),
              QStringLiteral("画層 \"B-1\" は使用中です: この画層にオブジェクトがあります。"));
    EXPECT_EQ(descriptionOf([&] { layers->Item(QStringLiteral("Gone")); }),
              QStringLiteral("画層 \"Gone\" が見つかりません。"));
    EXPECT_EQ(descriptionOf([&] { layers->Item(0L)->SetName(QStringLiteral("Zero")); }),
              QStringLiteral("画層 \"0\" の名前は変更できません。"));
    EXPECT_EQ(descriptionOf([&] { doc->ActiveLayer()->SetFreeze(true); }),
              QStringLiteral("画層が無効です: 現在画層はフリーズできません。"));
    const QString folder = testsupport::tempDir() + QStringLiteral("/no-such-folder");
    const QString saveError = descriptionOf([&] { doc->save(folder + QStringLiteral("/x.dxf")); });
    EXPECT_TRUE(saveError.startsWith(QStringLiteral("\"") + folder +
                                     QStringLiteral("/x.dxf\" を保存できません。")))
        << saveError.toStdString();
    const QString openError = descriptionOf([&] { app->open(folder + QStringLiteral("/y.dxf")); });
    EXPECT_TRUE(openError.startsWith(folder + QStringLiteral("/y.dxf: ファイルを開けません")))
        << openError.toStdString();
}

// Deleting is refused for layer 0, DEFPOINTS, the current layer and layers in use.
TEST_P(ObjectModel, DeleteRefusals) {
    if (doc->drawing().findLayer(QStringLiteral("Defpoints")) == nullptr)
        layers->Add(QStringLiteral("DEFPOINTS"));
    EXPECT_EQ(errorOf([&] { layers->Item(QStringLiteral("0"))->Delete(); }), NotAllowed);
    EXPECT_EQ(errorOf([&] { layers->Item(QStringLiteral("defpoints"))->Delete(); }), NotAllowed);
    EXPECT_EQ(errorOf([&] { layers->Item(QStringLiteral("A-1"))->Delete(); }), NotAllowed);
    // B-1 is used only inside a block definition.
    EXPECT_EQ(errorOf([&] { layers->Item(QStringLiteral("B-1"))->Delete(); }), ObjectInUse);
    auto empty = layers->Item(QStringLiteral("Empty"));
    const long before = layers->Count();
    empty->Delete();
    EXPECT_EQ(layers->Count(), before - 1);
    EXPECT_EQ(errorOf([&] { empty->Name(); }), NotAllowed);
    EXPECT_EQ(errorOf([&] { layers->Item(QStringLiteral("Empty")); }), KeyNotFound);
}

// The current layer cannot be frozen, and a frozen layer cannot become current.
TEST_P(ObjectModel, FreezeAndCurrentLayerRules) {
    auto current = doc->ActiveLayer();
    EXPECT_EQ(errorOf([&] { current->SetFreeze(true); }), NotAllowed);
    EXPECT_FALSE(current->Freeze());
    auto other = layers->Item(QStringLiteral("A-2"));
    other->SetFreeze(true);
    EXPECT_TRUE(other->Freeze());
    EXPECT_EQ(errorOf([&] { doc->SetActiveLayer(other); }), NotAllowed);
    other->SetFreeze(false);
    doc->SetActiveLayer(other);
    EXPECT_EQ(doc->ActiveLayer()->Name(), QStringLiteral("A-2"));
    // Turning a layer off keeps its colour; turning it on gives the colour back.
    other->SetLayerOn(false);
    EXPECT_FALSE(other->LayerOn());
    EXPECT_EQ(other->Color(), 2);
    other->SetColor(6);
    EXPECT_FALSE(other->LayerOn());
    other->SetLayerOn(true);
    EXPECT_EQ(other->Color(), 6);
    EXPECT_EQ(errorOf([&] { other->SetColor(0); }), InvalidInput);
    EXPECT_EQ(errorOf([&] { other->SetColor(256); }), InvalidInput);
}

// A rename reaches every object on the layer and the current-layer setting.
TEST_P(ObjectModel, RenameFollowsObjectsAndCurrentLayer) {
    layers->Item(QStringLiteral("a-1"))->SetName(QStringLiteral("Wall"));
    layers->Item(QStringLiteral("B-1"))->SetName(QStringLiteral("Door"));
    EXPECT_EQ(doc->ActiveLayer()->Name(), QStringLiteral("Wall"));
    const auto& ents = doc->drawing().entities();
    int onWall = 0, onDoor = 0;
    for (const auto& e : ents) {
        const QString layer = doc->drawing().entityLayer(e);
        EXPECT_NE(layer.toUpper(), QStringLiteral("A-1"));
        EXPECT_NE(layer.toUpper(), QStringLiteral("B-1"));
        onWall += layer == QStringLiteral("Wall");
        onDoor += layer == QStringLiteral("Door");
    }
    EXPECT_EQ(onWall, 2);  // a line and the block reference
    EXPECT_EQ(onDoor, 2);  // the circle and the line inside the block
    // Saved and read again, the names hold.
    doc->save();
    auto again = host::Drawing::load(doc->FullName());
    EXPECT_TRUE(again->findLayer(QStringLiteral("wall")));
    EXPECT_FALSE(again->findLayer(QStringLiteral("A-1")));
    EXPECT_EQ(again->currentLayerName(), QStringLiteral("Wall"));
}

// Selection filters: wildcards on layer, type and linetype, colour numbers,
// model or paper space, all combined with AND.
TEST_P(ObjectModel, SelectWithFilters) {
    using V = std::vector<QVariant>;
    EXPECT_EQ(selectNames({8}, V{QStringLiteral("a-*")}),
              (std::vector<QString>{"INSERT@A-1", "LINE@A-1", "LINE@A-2", "LINE@A-2"}));
    EXPECT_EQ(selectNames({8, 67}, V{QStringLiteral("A-#"), 1}), std::vector<QString>{"LINE@A-2"});
    EXPECT_EQ(selectNames({0}, V{QStringLiteral("circle,text")}),
              (std::vector<QString>{"CIRCLE@B-1", "TEXT@B-2"}));
    EXPECT_EQ(selectNames({62}, V{1}), std::vector<QString>{"LINE@A-2"});
    EXPECT_EQ(selectNames({6}, V{QStringLiteral("dash*")}), std::vector<QString>{"CIRCLE@B-1"});
    EXPECT_EQ(selectNames({8, 0}, V{QStringLiteral("~A*"), QStringLiteral("[CT]*")}),
              (std::vector<QString>{"CIRCLE@B-1", "TEXT@B-2"}));
    // Objects inside block definitions are not selected.
    EXPECT_EQ(selectNames({8}, V{QStringLiteral("B-1")}), std::vector<QString>{"CIRCLE@B-1"});
    EXPECT_EQ(errorOf([&] { selectNames({8, 62}, V{QStringLiteral("A")}); }), InvalidInput);
    EXPECT_EQ(errorOf([&] { selectNames({999}, V{1}); }), InvalidInput);
}

// Selection sets: unique names, entities by handle, AddItems without twins.
TEST_P(ObjectModel, SelectionSetsAndHandles) {
    auto sets = doc->SelectionSets();
    auto ss = sets->Add(QStringLiteral("cSet"));
    EXPECT_EQ(errorOf([&] { sets->Add(QStringLiteral("CSET")); }), DuplicateKey);
    ss->Select(acad::acSelectionSetAll, {8}, {QStringLiteral("B-2")});
    ASSERT_EQ(ss->Count(), 1);
    auto text = ss->Item(0L);
    EXPECT_EQ(text->TextString(), QStringLiteral("hello"));
    auto same = doc->HandleToObject(text->Handle().toLower());
    ss->AddItems({same});
    EXPECT_EQ(ss->Count(), 1);
    same->SetTextString(QStringLiteral("changed"));
    EXPECT_EQ(text->TextString(), QStringLiteral("changed"));
    EXPECT_EQ(errorOf([&] { doc->HandleToObject(QStringLiteral("FFFFFF")); }), KeyNotFound);
    ss->Delete();
    EXPECT_EQ(sets->Count(), 0);
    EXPECT_NE(errorOf([&] { ss->Count(); }), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ObjectModel,
                         ::testing::Values("small_2000.dxf", "small_r12.dxf"));

// A broken or foreign file gives an error naming the problem and line, and
// no document.
TEST(HostFiles, MalformedInputIsRefusedWithItsLine) {
    QFile f(testsupport::sourceDir() + QStringLiteral("/tests/data/small_2000.dxf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    struct Case {
        QByteArray bytes;
        const char* mustSay;
    };
    const std::vector<Case> cases = {
        {good.left(good.size() / 2), "途中で切れています"},
        {QByteArray("AutoCAD Binary DXF\r\n\x1a", 21) + QByteArray(100, '\0'), "バイナリ DXF"},
        {QByteArray("AC1015") + QByteArray(200, '\x01'), "DWG ファイル"},
        {QByteArray("  0\nSECTION\n  2\nHEADER\nxyz\n1\n  0\nENDSEC\n  0\nEOF\n"), "5 行目"},
        {QByteArray("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n  0\nEOF\n"),
         "ENDSEC がありません"},
        {QByteArray(), "空です"},
    };
    for (const Case& c : cases) {
        try {
            host::Drawing::fromBytes(c.bytes, QStringLiteral("x.dxf"));
            ADD_FAILURE() << "accepted: " << c.mustSay;
        } catch (const acad::Error& e) {
            EXPECT_EQ(e.number(), acad::ErrorNumber::FileError);
            EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.mustSay)))
                << e.description().toStdString();
        }
    }
    auto app = std::make_shared<host::HostApplication>();
    EXPECT_NE(errorOf([&] { app->open(QStringLiteral("/nonexistent/x.dxf")); }), 0);
    EXPECT_TRUE(app->documents().empty());
}

// A failed save reports an error and leaves the old file as it was.
TEST(HostFiles, FailedSaveLeavesOldFile) {
    const QString path = copyOf(QStringLiteral("small_2000.dxf"));
    auto app = std::make_shared<host::HostApplication>();
    auto doc = app->open(path);
    doc->Layers()->Item(QStringLiteral("A-2"))->SetLock(true);
    EXPECT_NE(errorOf([&] { doc->save(QStringLiteral("/nonexistent-dir/x.dxf")); }), 0);
    // A folder standing where the file should go cannot be replaced.
    const QString dir = testsupport::tempDir() + QStringLiteral("/taken.dxf");
    QDir().mkpath(dir);
    EXPECT_NE(errorOf([&] { doc->save(dir); }), 0);
    EXPECT_TRUE(QFileInfo(dir).isDir());
    EXPECT_TRUE(doc->isModified());
    QFile orig(testsupport::sourceDir() + QStringLiteral("/tests/data/small_2000.dxf"));
    QFile now(path);
    ASSERT_TRUE(orig.open(QIODevice::ReadOnly) && now.open(QIODevice::ReadOnly));
    EXPECT_EQ(orig.readAll(), now.readAll());
    // No temporary files are left beside it.
    EXPECT_EQ(QDir(testsupport::tempDir())
                  .entryList({QStringLiteral(".*.dxf.*")}, QDir::Hidden | QDir::Files)
                  .size(),
              0);
}

// A new drawing holds layer 0 and the standard linetypes, and closing a
// document disconnects the objects taken from it.
TEST(HostFiles, NewDrawingAndClose) {
    auto app = std::make_shared<host::HostApplication>();
    EXPECT_EQ(errorOf([&] { app->ActiveDocument(); }), acad::ErrorNumber::NoActiveDocument);
    auto doc = app->newDrawing();
    EXPECT_EQ(doc->Name(), QStringLiteral("Drawing1.dxf"));
    EXPECT_EQ(app->ActiveDocument(), doc);
    EXPECT_EQ(doc->Layers()->Item(0L)->Name(), QStringLiteral("0"));
    const auto lts = doc->Linetypes()->names();
    for (const char* n : {"ByBlock", "ByLayer", "Continuous"})
        EXPECT_NE(std::find_if(lts.begin(), lts.end(),
                               [&](const QString& s) {
                                   return s.compare(QLatin1String(n), Qt::CaseInsensitive) == 0;
                               }),
                  lts.end())
            << n;
    auto layer = doc->Layers()->Add(QStringLiteral("New"));
    app->close(doc);
    EXPECT_EQ(errorOf([&] { layer->Name(); }), acad::ErrorNumber::Disconnected);
    EXPECT_EQ(errorOf([&] { app->ActiveDocument(); }), acad::ErrorNumber::NoActiveDocument);
}
