// Faults found by fuzzing and fault injection, each kept with its input
// (tests/data/regress): the host neither crashes, hangs nor loses data on
// them, and says clearly what it refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <cerrno>
#include <cmath>
#include <numbers>

#include "AcadErrors.h"
#include "TestPaths.h"
#include "acad/Error.h"
#include "host/AtomicFile.h"
#include "host/HostApplication.h"
#include "host/command/CommandLine.h"
#include "host/command/ScriptFile.h"
#include "host/render/GeometryImpl.h"
#include "host/render/Scene.h"
#include "host/window/HostWindow.h"
#include "platform/KeyNotation.h"

using testsupport::errorOf;

namespace {

QString regressPath(const QString& name) {
    return testsupport::sourceDir() + QStringLiteral("/tests/data/regress/") + name;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// A folder of its own for each test, so parallel runs never meet.
QString freshDir() {
    static int serial = 0;
    const QString dir = testsupport::tempDir() + QStringLiteral("/rel%1").arg(++serial);
    QDir().mkpath(dir);
    return dir;
}

QString copyInto(const QString& dir, const QString& regressName, const QString& as = QString()) {
    const QString target = dir + QLatin1Char('/') + (as.isEmpty() ? regressName : as);
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(regressPath(regressName), target));
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QString errorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const acad::Error& e) {
        return e.description();
    }
    return QString();
}

// Files in the folder other than the given ones: leftovers of a failed save.
QStringList othersIn(const QString& dir, const QStringList& expected) {
    QStringList out;
    for (const QString& n :
         QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (!expected.contains(n))
            out << n;
    return out;
}

class Reliability : public ::testing::Test {
protected:
    void TearDown() override { host::setAtomicFileHooksForTesting({}); }
    host::HostApplicationPtr app = std::make_shared<host::HostApplication>();
};

}  // namespace

// 1. A layer's extension dictionary that names an entity: deleting the layer
// removes no entity, every index stays usable, and a real dictionary goes
// with its layer together with what it owns.
TEST_F(Reliability, DeletingLayerWhoseDictionaryNamesAnEntity) {
    const QString dir = freshDir();
    auto doc = app->open(copyInto(dir, QStringLiteral("xdict_names_entity.dxf")));
    auto& d = doc->drawing();
    ASSERT_EQ(d.entities().size(), 2u);
    doc->Layers()->Item(QStringLiteral("DOOMED"))->Delete();
    ASSERT_EQ(d.entities().size(), 2u);
    for (const auto& e : d.entities())
        EXPECT_EQ(d.entityLayer(e), QStringLiteral("0"));
    EXPECT_EQ(doc->HandleToObject(QStringLiteral("20"))->Layer(), QStringLiteral("0"));

    doc->Layers()->Item(QStringLiteral("OWNED"))->Delete();
    doc->save();
    const QByteArray saved = readAll(doc->FullName());
    EXPECT_FALSE(saved.contains("kept with its layer"));  // the XRECORD went
    EXPECT_FALSE(saved.contains("\n30\n330\n12\n"));      // and its dictionary
    auto reread = host::Drawing::load(doc->FullName());
    EXPECT_EQ(reread->entities().size(), 2u);
    EXPECT_GE(reread->findEntity("20"), 0);
    EXPECT_EQ(reread->layerCount(), 1);
}

// 2. Angles of 1e300: the curves are drawn at once instead of turning 1e299
// times; an arc under a non-uniform scale goes the same way.
TEST_F(Reliability, HugeAnglesDrawAtOnce) {
    auto doc = app->open(regressPath(QStringLiteral("huge_angles.dxf")));
    const auto scene = host::render::Scene::modelSpace(doc->drawing());
    ASSERT_EQ(scene.primitives().size(), 3u);
    for (const auto& p : scene.primitives()) {
        EXPECT_TRUE(std::isfinite(p.startDeg) && std::isfinite(p.endDeg));
        for (const QPointF& q : p.points)
            EXPECT_TRUE(std::isfinite(q.x()) && std::isfinite(q.y()));
    }
    constexpr double kTurn = 2 * std::numbers::pi;
    using host::render::ellipseSweep;
    const double s = ellipseSweep(1e300, 0);
    EXPECT_GT(s, 0);
    EXPECT_LE(s, kTurn);
    EXPECT_DOUBLE_EQ(ellipseSweep(0, 0), kTurn);
    EXPECT_DOUBLE_EQ(ellipseSweep(1, 0.5), kTurn - 0.5);
    EXPECT_DOUBLE_EQ(ellipseSweep(0.5, 1), 0.5);
    EXPECT_DOUBLE_EQ(ellipseSweep(0, 100), kTurn);
    EXPECT_DOUBLE_EQ(ellipseSweep(-1e300, 1e300), kTurn);
}

// 3. The keystroke notation repeats a key at most kMaxKeyRepeat times; more
// is refused with a reason instead of typing a billion keys.
TEST(KeyRepeat, CountIsCapped) {
    auto ok = platform::parseKeys(QStringLiteral("{a %1}").arg(platform::kMaxKeyRepeat));
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(ok->size(), platform::kMaxKeyRepeat);
    for (const char* bad : {"{a 1000000000}", "{ENTER 1001}", "{a 99999999999999999999999}"}) {
        QString why;
        EXPECT_FALSE(platform::parseKeys(QString::fromLatin1(bad), &why).has_value()) << bad;
        EXPECT_TRUE(why.contains(QStringLiteral("繰り返し回数"))) << why.toStdString();
    }
    // Groups nest to kMaxGroupDepth; deeper is refused, not parsed off the stack.
    const auto nested = [](int depth) {
        QString keys(depth, u'(');
        keys.append(u'a').append(QString(depth, u')'));
        return keys;
    };
    EXPECT_TRUE(platform::parseKeys(nested(platform::kMaxGroupDepth)).has_value());
    QString why;
    EXPECT_FALSE(platform::parseKeys(nested(200000), &why).has_value());
    EXPECT_TRUE(why.contains(QStringLiteral("入れ子"))) << why.toStdString();
}

// 7. Fifty references to a block holding a 100 x 100 array of itself: the
// work is bounded for the whole drawing, and the line after them is drawn.
TEST_F(Reliability, BlockBombIsBoundedPerDrawing) {
    using host::render::GeometryBuilder;
    auto doc = app->open(regressPath(QStringLiteral("block_bomb.dxf")));
    const auto& d = doc->drawing();
    const auto scene = host::render::Scene::modelSpace(d);
    const auto bound = GeometryBuilder::kSharedSteps + static_cast<long long>(d.entities().size()) *
                                                           GeometryBuilder::kStepsPerEntity;
    EXPECT_LE(static_cast<long long>(scene.primitives().size()), bound);
    EXPECT_GT(scene.primitives().size(), 1000u);  // the references are drawn, as far as they go
    GeometryBuilder builder(d);
    std::vector<host::render::Primitive> prims;
    for (int i : host::render::modelSpaceEntities(d))
        builder.build(i, prims);
    EXPECT_EQ(builder.sharedStepsLeft(), 0);
    EXPECT_EQ(prims.size(), scene.primitives().size());
    bool lastDrawn = false;
    for (const auto& p : scene.primitives())
        lastDrawn = lastDrawn || p.layer == QLatin1String("LAST");
    EXPECT_TRUE(lastDrawn);
}

// 8. Saving a drawing opened through a symbolic link writes the file the
// link points to; the link stays a link.
TEST_F(Reliability, SaveThroughSymbolicLink) {
    const QString dir = freshDir();
    QDir().mkpath(dir + QStringLiteral("/real"));
    QDir().mkpath(dir + QStringLiteral("/links"));
    const QString real = copyInto(dir + QStringLiteral("/real"), QStringLiteral("eof_blank.dxf"),
                                  QStringLiteral("plan.dxf"));
    const QString link = dir + QStringLiteral("/links/plan.dxf");
    ASSERT_EQ(::symlink("../real/plan.dxf", QFile::encodeName(link).constData()), 0);
    auto doc = app->open(link);
    doc->Layers()->Add(QStringLiteral("ADDED"));
    doc->save();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_NE(host::Drawing::load(real)->findLayer(QStringLiteral("ADDED")), nullptr);
    EXPECT_TRUE(othersIn(dir + QStringLiteral("/links"), {QStringLiteral("plan.dxf")}).isEmpty());
}

// 9. A file another program changed since it was opened is never overwritten
// unasked: the object model refuses, and an explicit overwrite works.
TEST_F(Reliability, ChangedOnDiskIsNotOverwrittenSilently) {
    const QString dir = freshDir();
    const QString path = copyInto(dir, QStringLiteral("eof_blank.dxf"));
    auto doc = app->open(path);
    EXPECT_FALSE(doc->changedOnDisk());
    doc->Layers()->Add(QStringLiteral("MINE"));
    // Touching the file alone counts as a change: its time is all one sees.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                  QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(doc->changedOnDisk());
    // Another program saves its own version.
    const QByteArray theirs = "999\nfrom another program\n" + readAll(path);
    writeAll(path, theirs);
    EXPECT_TRUE(doc->changedOnDisk());
    const QString why = errorText([&] { doc->save(); });
    EXPECT_TRUE(why.contains(QStringLiteral("ほかのプログラムによって変更されています")))
        << why.toStdString();
    EXPECT_EQ(errorOf([&] { doc->save(); }), acad::ErrorNumber::FileError);
    EXPECT_EQ(readAll(path), theirs);
    // The command line's QSAVE refuses the same way.
    host::CommandLine line(*app);
    line.typeKeys(QStringLiteral("qsave\r"));
    EXPECT_EQ(readAll(path), theirs);
    EXPECT_TRUE(
        line.history().join(QLatin1Char('\n')).contains(QStringLiteral("上書き保存を中止")));
    // Overwriting on purpose, then saving again, asks nothing more.
    doc->save(QString(), true);
    EXPECT_NE(host::Drawing::load(path)->findLayer(QStringLiteral("MINE")), nullptr);
    EXPECT_FALSE(doc->changedOnDisk());
    doc->Layers()->Add(QStringLiteral("MORE"));
    doc->save();
    EXPECT_NE(host::Drawing::load(path)->findLayer(QStringLiteral("MORE")), nullptr);
}

// 9. The host window asks before overwriting a changed file: Cancel keeps
// theirs, "save as" writes elsewhere, overwrite replaces it; an unchanged
// file saves without a question.
TEST_F(Reliability, WindowAsksBeforeOverwritingAChangedFile) {
    EXPECT_EQ(
        host::changedOnDiskQuestion(QStringLiteral("plan.dxf")),
        QString::fromUtf8("\"plan.dxf\" は開いた後でほかのプログラムによって変更されています。\n"
                          "上書きすると、その変更は失われます。上書き保存しますか？"));
    const QString dir = freshDir();
    QStringList asked, errors;
    int answer = QMessageBox::Cancel;
    QString saveAs;
    host::HostDialogs dialogs;
    dialogs.askChangedOnDisk = [&](QWidget*, const QString& name) {
        asked << name;
        return answer;
    };
    dialogs.saveFile = [&](QWidget*, const QString&) { return saveAs; };
    dialogs.showError = [&](QWidget*, const QString& m) { errors << m; };
    host::HostWindow window(app, dialogs);
    const QString path = copyInto(dir, QStringLiteral("eof_blank.dxf"));
    auto doc = app->open(path);
    doc->Layers()->Add(QStringLiteral("MINE"));
    ASSERT_TRUE(window.saveDrawing(doc));
    EXPECT_TRUE(asked.isEmpty());

    const QByteArray theirs = "999\nfrom another program\n" + readAll(path);
    writeAll(path, theirs);
    EXPECT_FALSE(window.saveDrawing(doc));
    EXPECT_EQ(asked, QStringList{QStringLiteral("eof_blank.dxf")});
    EXPECT_EQ(readAll(path), theirs);

    answer = QMessageBox::No;
    saveAs = dir + QStringLiteral("/mine.dxf");
    EXPECT_TRUE(window.saveDrawing(doc));
    EXPECT_EQ(readAll(path), theirs);
    EXPECT_NE(host::Drawing::load(saveAs)->findLayer(QStringLiteral("MINE")), nullptr);
    EXPECT_EQ(doc->FullName(), saveAs);

    answer = QMessageBox::Yes;
    writeAll(saveAs, theirs);
    EXPECT_TRUE(window.saveDrawing(doc));
    EXPECT_EQ(asked.size(), 3);
    EXPECT_NE(host::Drawing::load(saveAs)->findLayer(QStringLiteral("MINE")), nullptr);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

// 10. The mode bits decide: a read-only drawing stays unwritten even for
// root, and a replaced file keeps its own permissions.
TEST_F(Reliability, ModeBitsDecideReadOnlyAndAreKept) {
    const QString dir = freshDir();
    const QString path = copyInto(dir, QStringLiteral("eof_blank.dxf"));
    const QByteArray before = readAll(path);
    const QByteArray name = QFile::encodeName(path);
    ASSERT_EQ(::chmod(name.constData(), 0444), 0);
    auto doc = app->open(path);
    doc->Layers()->Add(QStringLiteral("X"));
    const QString why = errorText([&] { doc->save(); });
    EXPECT_TRUE(why.contains(QStringLiteral("読み取り専用"))) << why.toStdString();
    EXPECT_EQ(readAll(path), before);
    struct stat st {};
    ASSERT_EQ(::stat(name.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);

    ASSERT_EQ(::chmod(name.constData(), 0640), 0);
    doc->save(QString(), true);
    ASSERT_EQ(::stat(name.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_NE(readAll(path), before);
}

// 11. Names up to the folder's 255-byte limit save: the temporary name is short.
TEST_F(Reliability, LongFileNamesSave) {
    const QString dir = freshDir();
    const QString ascii = QString(251, QLatin1Char('a')) + QStringLiteral(".dxf");
    // 83 characters of three bytes each: 249 bytes, 253 with the suffix.
    const QString japanese = QString(83, QChar(0x58C1)) + QStringLiteral(".dxf");
    ASSERT_EQ(QFile::encodeName(ascii).size(), 255);
    ASSERT_EQ(QFile::encodeName(japanese).size(), 253);
    for (const QString& n : {ascii, japanese}) {
        auto doc = app->newDrawing();
        doc->save(dir + QLatin1Char('/') + n);
        EXPECT_TRUE(QFileInfo::exists(dir + QLatin1Char('/') + n));
        doc->Layers()->Add(QStringLiteral("AGAIN"));
        doc->save();
        EXPECT_NE(
            host::Drawing::load(dir + QLatin1Char('/') + n)->findLayer(QStringLiteral("AGAIN")),
            nullptr);
    }
    EXPECT_EQ(othersIn(dir, {ascii, japanese}), QStringList());
}

// 12. A disk that fills up part way (a short write, then ENOSPC or nothing
// more taken) is named as full; the old file and the folder are untouched.
TEST_F(Reliability, FullDiskSaysSoAndKeepsTheOldFile) {
    const QString dir = freshDir();
    const QString path = copyInto(dir, QStringLiteral("eof_blank.dxf"));
    const QByteArray before = readAll(path);
    auto doc = app->open(path);
    doc->Layers()->Add(QStringLiteral("BIGGER"));
    static int calls = 0;
    auto shortThenFull = [](int fd, const void* buf, size_t count) -> ssize_t {
        if (calls++ == 0)
            return ::write(fd, buf, std::min<size_t>(count, 100));
        errno = ENOSPC;
        return -1;
    };
    auto shortThenNothing = [](int fd, const void* buf, size_t count) -> ssize_t {
        if (calls++ == 0)
            return ::write(fd, buf, std::min<size_t>(count, 100));
        return 0;
    };
    for (auto hook : {+shortThenFull, +shortThenNothing}) {
        calls = 0;
        host::setAtomicFileHooksForTesting({hook, nullptr});
        const QString why = errorText([&] { doc->save(); });
        EXPECT_TRUE(why.contains(QStringLiteral("ディスクの空き容量が不足しています")))
            << why.toStdString();
        EXPECT_GE(calls, 2);
        EXPECT_EQ(readAll(path), before);
        EXPECT_EQ(othersIn(dir, {QStringLiteral("eof_blank.dxf")}), QStringList());
    }
    host::setAtomicFileHooksForTesting({});
    doc->save();
    EXPECT_NE(readAll(path), before);
}

// 16. After the rename the folder itself is synced, so the new name is on
// disk too; the file's data was synced before the rename.
TEST_F(Reliability, FolderIsSyncedAfterTheRename) {
    const QString dir = freshDir();
    static std::vector<std::pair<dev_t, ino_t>> synced;
    static std::vector<bool> syncedDir;
    synced.clear();
    syncedDir.clear();
    host::setAtomicFileHooksForTesting({nullptr, [](int fd) {
                                            struct stat st {};
                                            if (::fstat(fd, &st) != 0)
                                                return -1;
                                            synced.emplace_back(st.st_dev, st.st_ino);
                                            syncedDir.push_back(S_ISDIR(st.st_mode));
                                            return ::fsync(fd);
                                        }});
    auto doc = app->newDrawing();
    doc->save(dir + QStringLiteral("/synced.dxf"));
    struct stat folder {};
    ASSERT_EQ(::stat(QFile::encodeName(dir).constData(), &folder), 0);
    ASSERT_EQ(synced.size(), 2u);
    EXPECT_FALSE(syncedDir[0]);  // the new file's data first
    EXPECT_TRUE(syncedDir[1]);   // then the folder that names it
    EXPECT_EQ(synced[1], std::make_pair(folder.st_dev, folder.st_ino));
}

// 13. A drawing whose handles are used up takes no new object: a clear
// error, and the drawing saves as it was instead of with a wrapped seed.
TEST_F(Reliability, HandleSeedOverflowIsRefused) {
    const QString dir = freshDir();
    const QString path = copyInto(dir, QStringLiteral("handseed_max.dxf"));
    auto doc = app->open(path);
    const long before = doc->Layers()->Count();
    const QString why = errorText([&] { doc->Layers()->Add(QStringLiteral("NEW")); });
    EXPECT_TRUE(why.contains(QStringLiteral("ハンドルが上限"))) << why.toStdString();
    EXPECT_EQ(errorOf([&] { doc->Layers()->Add(QStringLiteral("NEW")); }),
              acad::ErrorNumber::NotAllowed);
    EXPECT_EQ(doc->Layers()->Count(), before);
    EXPECT_EQ(doc->drawing().toBytes(), readAll(regressPath(QStringLiteral("handseed_max.dxf"))));
    // One handle below the top is still given out, and the seed stays above it.
    doc->drawing().setHeader("$HANDSEED", 5, "FFFFFFFFFFFFFFFE");
    doc->Layers()->Add(QStringLiteral("LASTONE"));
    EXPECT_EQ(doc->drawing().headerString("$HANDSEED", 5), QStringLiteral("FFFFFFFFFFFFFFFF"));
    EXPECT_EQ(errorOf([&] { doc->Layers()->Add(QStringLiteral("ONEMORE")); }),
              acad::ErrorNumber::NotAllowed);
}

// 14. "EOF " with a trailing blank ends the file like "EOF", and the file
// round-trips byte for byte.
TEST_F(Reliability, EofWithTrailingBlank) {
    const QByteArray bytes = readAll(regressPath(QStringLiteral("eof_blank.dxf")));
    ASSERT_TRUE(bytes.endsWith("EOF \n"));
    auto d = host::Drawing::fromBytes(bytes, QStringLiteral("eof_blank.dxf"));
    EXPECT_EQ(d->entities().size(), 1u);
    EXPECT_EQ(d->toBytes(), bytes);
}

// 15. A Shift_JIS script from a Windows office makes the layer it names, and
// control characters (C0, DEL, C1) never get into a new layer name.
TEST_F(Reliability, ShiftJisScriptsAndControlCharacters) {
    auto doc = app->newDrawing();
    host::CommandLine line(*app);
    line.runScriptFile(regressPath(QStringLiteral("sjis_layer.scr")));
    for (int i = 0; i < 1000 && line.isRunningScript(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(line.isRunningScript());
    EXPECT_NE(doc->drawing().findLayer(QString::fromUtf8("壁-NEW")), nullptr)
        << line.history().join(QLatin1Char('\n')).toStdString();
    const long count = doc->Layers()->Count();
    for (char16_t c : {u'\x01', u'\t', u'\x1f', u'\x7f', u'\x85', u'\x95', u'\x9f'}) {
        const QString name = QStringLiteral("A") + QChar(c) + QStringLiteral("B");
        const QString why = errorText([&] { doc->Layers()->Add(name); });
        EXPECT_TRUE(why.contains(QStringLiteral("制御文字"))) << int(c) << why.toStdString();
    }
    EXPECT_EQ(doc->Layers()->Count(), count);
    EXPECT_NO_THROW(doc->Layers()->Add(QString::fromUtf8("Ç壁 ok")));
}
