// Recovery files: what the host writes when the session ends without its
// user, what the next open of the drawing offers, and the window's closing.
#include <gtest/gtest.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <deque>

#include "TestPaths.h"
#include "host/Drawing.h"
#include "host/HostApplication.h"
#include "host/Recovery.h"
#include "host/window/HostWindow.h"

namespace {

class Recovery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app = std::make_shared<host::HostApplication>();
        host::HostDialogs d;
        d.askSaveChanges = [this](QWidget*, const QString& name) {
            return ask(QStringLiteral("save ") + name);
        };
        d.askOpenRecovery = [this](QWidget*, const QString& text) { return ask(text); };
        d.showError = [this](QWidget*, const QString& m) { asked << QStringLiteral("error ") + m; };
        window = std::make_unique<host::HostWindow>(app, d);
    }
    int ask(const QString& what) {
        asked << what;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << what.toStdString();
            return QMessageBox::Cancel;
        }
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    QString copyOf(const QString& name, const QString& as) {
        const QString target = dir.filePath(as);
        EXPECT_TRUE(QFile::copy(testsupport::sourceDir() + "/tests/data/" + name, target));
        return target;
    }
    static QByteArray bytesOf(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool hasLayer(const QString& path, const QString& layer) {
        return host::Drawing::load(path)->findLayer(layer) != nullptr;
    }

    QTemporaryDir dir;
    host::HostApplicationPtr app;
    std::unique_ptr<host::HostWindow> window;
    std::deque<int> answers;
    QStringList asked;
};

}  // namespace

// Only modified drawings are written, each to "NAME.dxf.recover" beside its
// file (which stays as it was); a drawing never saved goes to the folder
// given, numbered when its name is taken.
TEST_F(Recovery, WritesEachModifiedDrawingBesideItsFile) {
    const QString changed = copyOf(QStringLiteral("small_2000.dxf"), QStringLiteral("a.dxf"));
    const QString kept = copyOf(QStringLiteral("small_r12.dxf"), QStringLiteral("b.dxf"));
    const QByteArray original = bytesOf(changed);
    app->open(changed)->Layers()->Add(QStringLiteral("ADDED"));
    app->open(kept);
    app->newDrawing()->Layers()->Add(QStringLiteral("NEW"));
    const QString untitled = dir.filePath(QStringLiteral("untitled"));
    ASSERT_TRUE(QDir().mkpath(untitled));

    QStringList failures;
    const QStringList written = host::writeRecoveryFiles(*app, untitled, &failures);
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
    ASSERT_EQ(written, (QStringList{changed + ".recover", untitled + "/Drawing1.dxf.recover"}));
    EXPECT_EQ(bytesOf(changed), original);
    EXPECT_TRUE(hasLayer(written[0], QStringLiteral("ADDED")));
    EXPECT_TRUE(hasLayer(written[1], QStringLiteral("NEW")));
    EXPECT_FALSE(QFile::exists(kept + ".recover"));
    // A second end of a session: the unsaved drawing does not overwrite the first one's.
    EXPECT_EQ(host::writeRecoveryFiles(*app, untitled).value(1),
              untitled + "/Drawing1 (2).dxf.recover");
    // A folder that cannot be written is reported; the others are still written.
    QFile::remove(written[0]);
    failures.clear();
    EXPECT_EQ(host::writeRecoveryFiles(*app, dir.filePath(QStringLiteral("missing")), &failures),
              QStringList{written[0]});
    EXPECT_EQ(failures.size(), 1);
}

// Opening a drawing with a recovery file asks; No opens the file as saved and
// keeps the recovery file, Yes opens the recovered contents under the
// drawing's own name, modified; saving it removes the recovery file. A
// recovery file older than the drawing is not offered.
TEST_F(Recovery, OpeningOffersTheRecoveredDrawing) {
    const QString path = copyOf(QStringLiteral("small_2000.dxf"), QStringLiteral("a.dxf"));
    auto doc = app->open(path);
    doc->Layers()->Add(QStringLiteral("ADDED"));
    host::writeRecoveryFiles(*app, dir.path());
    app->close(doc);
    const QString recovery = path + ".recover";
    ASSERT_EQ(host::pendingRecoveryFor(path), recovery);

    answers = {QMessageBox::No};
    ASSERT_TRUE(window->openDrawing(path));
    ASSERT_EQ(asked, QStringList{host::recoveryQuestion(QStringLiteral("a.dxf"), recovery)});
    EXPECT_FALSE(app->activeDocument()->isModified());
    EXPECT_EQ(app->activeDocument()->Layers()->Count(), host::Drawing::load(path)->layerCount());
    EXPECT_TRUE(QFile::exists(recovery));
    // The tab that holds the drawing is shown again without a question.
    ASSERT_TRUE(window->openDrawing(path));
    EXPECT_EQ(asked.size(), 1);
    app->close(app->activeDocument());

    answers = {QMessageBox::Yes};
    ASSERT_TRUE(window->openDrawing(path));
    auto recovered = app->activeDocument();
    EXPECT_EQ(recovered->FullName(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(recovered->Name(), QStringLiteral("a.dxf"));
    EXPECT_TRUE(recovered->isModified());
    EXPECT_FALSE(hasLayer(path, QStringLiteral("ADDED")));
    ASSERT_TRUE(window->saveDrawing(recovered));
    EXPECT_TRUE(hasLayer(path, QStringLiteral("ADDED")));
    EXPECT_FALSE(QFile::exists(recovery));

    // A recovery file older than its drawing is left alone.
    host::writeRecoveryFiles(*app, dir.path());  // nothing modified: nothing written
    EXPECT_FALSE(QFile::exists(recovery));
    QFile(recovery).open(QIODevice::WriteOnly);
    QFile drawing(path);
    ASSERT_TRUE(drawing.open(QIODevice::ReadWrite));
    ASSERT_TRUE(drawing.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                    QFileDevice::FileModificationTime));
    EXPECT_TRUE(host::pendingRecoveryFor(path).isEmpty());
}

// Closing the window asks about each modified drawing; Cancel keeps the
// window and its drawings, Yes saves and the window reports it closed.
TEST_F(Recovery, ClosingTheWindowAsksAndReportsTheEnd) {
    const QString path = copyOf(QStringLiteral("small_2000.dxf"), QStringLiteral("a.dxf"));
    window->show();
    app->open(path)->Layers()->Add(QStringLiteral("ADDED"));
    QSignalSpy closed(window.get(), &host::HostWindow::closed);
    answers = {QMessageBox::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(closed.count(), 0);
    ASSERT_EQ(app->documents().size(), 1u);
    answers = {QMessageBox::Yes};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(asked, (QStringList{"save a.dxf", "save a.dxf"}));
    EXPECT_TRUE(hasLayer(path, QStringLiteral("ADDED")));
}
