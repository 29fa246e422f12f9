// The session with real processes: `tova-host` and `tova` started as a user
// starts them, on the offscreen platform, each test with its own socket,
// settings and folders. The session's test hooks (TOVA_TEST_HOOKS) log every
// message box, answer them from a file, and report the windows and drawings.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

#include "TestPaths.h"
#include "app/basAcadObject.h"
#include "platform/SingleInstance.h"
#include "session/SessionRequest.h"

using session::Request;

namespace {

constexpr int kWaitMs = 60000;

class SessionProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        for (const char* sub : {"hooks", "home", "config"})
            ASSERT_TRUE(QDir(dir_.path()).mkpath(QString::fromLatin1(sub)));
        drawing_ = dir_.filePath(QStringLiteral("sample.dxf"));
        ASSERT_TRUE(QFile::copy(testsupport::sourceDir() + "/tests/data/small_2000.dxf", drawing_));
        QFile f(drawing_);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        original_ = f.readAll();
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env_.insert(QStringLiteral("TOVA_SESSION_NAME"), socket());
        env_.insert(QStringLiteral("TOVA_TEST_HOOKS"), hooks());
        env_.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env_.insert(QStringLiteral("HOME"), dir_.filePath(QStringLiteral("home")));
        env_.insert(QStringLiteral("TOVA_HOME"), dir_.filePath(QStringLiteral("home")));
        env_.remove(QStringLiteral("TOVA_HOST_DRAWINGS"));
    }

    void TearDown() override {
        for (auto& p : processes_)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }

    QString socket() const { return dir_.filePath(QStringLiteral("s.sock")); }
    QString hooks() const { return dir_.filePath(QStringLiteral("hooks")); }

    QProcess* start(const QString& command, const QStringList& args = {}) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env_);
        p->setWorkingDirectory(dir_.path());
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(testsupport::buildDir() + "/src/app/" + command, args);
        EXPECT_TRUE(p->waitForStarted(kWaitMs)) << command.toStdString();
        processes_.push_back(std::move(p));
        return processes_.back().get();
    }

    // A later start: hands its request over and exits at once with 0.
    void startAndExpectHandedOver(const QString& command, const QStringList& args = {}) {
        QProcess* p = start(command, args);
        ASSERT_TRUE(p->waitForFinished(kWaitMs)) << command.toStdString();
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0);
    }

    QJsonObject status() const {
        const auto reply = platform::SingleInstance::request(
            socket(), session::encode({Request::Kind::Status, {}}));
        return reply ? QJsonDocument::fromJson(*reply).object() : QJsonObject();
    }

    bool send(Request::Kind kind, const QStringList& args) const {
        const auto reply =
            platform::SingleInstance::request(socket(), session::encode({kind, args}));
        return reply && *reply == session::kOk;
    }

    // Polls the session's status until pred holds; the status seen last is kept.
    bool waitForStatus(const std::function<bool(const QJsonObject&)>& pred) {
        QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            last_ = status();
            if (pred(last_))
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    bool waitForMessage(const QString& textStart) {
        QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            for (const auto& m : messages())
                if (m[QStringLiteral("text")].toString().startsWith(textStart))
                    return true;
            QThread::msleep(20);
        }
        return false;
    }

    QList<QJsonObject> messages() const {
        QFile f(QDir(hooks()).filePath(QStringLiteral("messages.log")));
        QList<QJsonObject> all;
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray& line : f.readAll().split('\n'))
                if (!line.isEmpty())
                    all << QJsonDocument::fromJson(line).object();
        return all;
    }

    int countMessages(const QString& textStart) const {
        int n = 0;
        for (const auto& m : messages())
            n += m[QStringLiteral("text")].toString().startsWith(textStart) ? 1 : 0;
        return n;
    }

    void answer(const QString& a) const {
        QFile f(QDir(hooks()).filePath(QStringLiteral("answers.txt")));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(a.toUtf8() + '\n');
    }

    // Whether ezdxf reads the layer as on, "missing" when it cannot.
    QString layerOnAsEzdxfReads(const QString& file, const QString& layer) const {
        QProcess py;
        py.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, ezdxf\n"
                                 "d = ezdxf.readfile(sys.argv[1])\n"
                                 "print('on' if d.layers.get(sys.argv[2]).is_on() else 'off')"),
                  file, layer});
        if (!py.waitForFinished(kWaitMs) || py.exitCode() != 0)
            return QStringLiteral("missing");
        return QString::fromUtf8(py.readAllStandardOutput()).trimmed();
    }

    QByteArray bytesOf(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static bool hostHasModifiedDrawing(const QJsonObject& s) {
        const auto docs = s[QStringLiteral("host")][QStringLiteral("documents")].toArray();
        return !docs.isEmpty() && docs[0][QStringLiteral("modified")].toBool();
    }
    static bool toolShows(const QJsonObject& s, const QString& titleEnd) {
        const auto tool = s[QStringLiteral("tool")].toObject();
        return tool[QStringLiteral("visible")].toBool() &&
               tool[QStringLiteral("title")].toString().endsWith(titleEnd) &&
               tool[QStringLiteral("on")].toInt() + tool[QStringLiteral("off")].toInt() > 0;
    }

    QTemporaryDir dir_;
    QString drawing_;
    QByteArray original_;
    QProcessEnvironment env_;
    std::vector<std::unique_ptr<QProcess>> processes_;
    QJsonObject last_;
};

// The host started first: the tool attaches without the start question and
// reads the drawing. A change survives closing the tool; the next tool
// shows it. A second tool start brings the first forward and exits. Closing
// the host with the changed drawing asks; Cancel keeps it, Yes saves it; the
// tool then finds no drawing and the session ends.
TEST_F(SessionProcesses, HostFirstThenToolAttachesAndNothingIsLost) {
    QProcess* session = start(QStringLiteral("tova-host"), {QStringLiteral("sample.dxf")});
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) {
        return s[QStringLiteral("host")][QStringLiteral("active")].toString() == "sample.dxf";
    })) << QJsonDocument(last_).toJson().constData();

    startAndExpectHandedOver(QStringLiteral("tova"));
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) { return toolShows(s, " sample.dxf"); }))
        << QJsonDocument(last_).toJson().constData();
    EXPECT_EQ(countMessages(basAcadObject::startQuestion()), 0);
    EXPECT_EQ(countMessages(basAcadObject::tilingQuestion()), 1);
    const int offBefore = last_[QStringLiteral("tool")][QStringLiteral("off")].toInt();

    // A layer changes in the drawing, the tool closes: the host keeps it.
    ASSERT_TRUE(send(Request::Kind::Command, {QStringLiteral("-LAYER\rOFF\rA-2\r")}));
    ASSERT_TRUE(waitForStatus(hostHasModifiedDrawing));
    ASSERT_TRUE(send(Request::Kind::Close, {QStringLiteral("tool")}));
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) {
        return !s.contains(QStringLiteral("tool")) && hostHasModifiedDrawing(s) &&
               s[QStringLiteral("host")][QStringLiteral("visible")].toBool();
    })) << QJsonDocument(last_).toJson().constData();

    // The next tool attaches without the question and reads the change.
    startAndExpectHandedOver(QStringLiteral("tova"));
    ASSERT_TRUE(waitForStatus([offBefore](const QJsonObject& s) {
        return toolShows(s, " sample.dxf") &&
               s[QStringLiteral("tool")][QStringLiteral("off")].toInt() == offBefore + 1;
    })) << QJsonDocument(last_).toJson().constData();
    EXPECT_EQ(countMessages(basAcadObject::startQuestion()), 0);

    // A second tool start while the tool is open: handed over, same session.
    const qint64 pid = last_[QStringLiteral("pid")].toInteger();
    startAndExpectHandedOver(QStringLiteral("tova"));
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) {
        return s[QStringLiteral("tool")][QStringLiteral("active")].toBool();
    }));
    EXPECT_EQ(last_[QStringLiteral("pid")].toInteger(), pid);
    EXPECT_EQ(session->processId(), pid);
    for (size_t i = 1; i < processes_.size(); ++i)
        EXPECT_EQ(processes_[i]->state(), QProcess::NotRunning);

    // Closing the host asks; Cancel keeps everything open.
    answer(QStringLiteral("Cancel"));
    ASSERT_TRUE(send(Request::Kind::Close, {QStringLiteral("host")}));
    ASSERT_TRUE(waitForMessage(QStringLiteral("「sample.dxf」への変更を保存しますか？")));
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) {
        return hostHasModifiedDrawing(s) && s[QStringLiteral("tool")].isObject();
    }));
    EXPECT_EQ(bytesOf(drawing_), original_);

    // Yes saves; the host ends, the tool finds no drawing and the session ends.
    answer(QStringLiteral("Yes"));
    ASSERT_TRUE(send(Request::Kind::Close, {QStringLiteral("host")}));
    ASSERT_TRUE(session->waitForFinished(kWaitMs));
    EXPECT_EQ(session->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(session->exitCode(), 0);
    EXPECT_EQ(countMessages(QStringLiteral("「sample.dxf」への変更を保存しますか？")), 2);
    EXPECT_EQ(countMessages(basAcadObject::noDocumentMessage()), 1);
    EXPECT_EQ(layerOnAsEzdxfReads(drawing_, QStringLiteral("A-2")), QStringLiteral("off"));
    EXPECT_EQ(layerOnAsEzdxfReads(drawing_, QStringLiteral("B-1")), QStringLiteral("on"));
    EXPECT_FALSE(QFile::exists(socket()));
}

// SIGTERM to the session (host and tool open) with a changed drawing asks
// nothing: the change is in "sample.dxf.recover", the drawing's file is
// untouched, and the next open of the drawing offers the recovered contents.
TEST_F(SessionProcesses, TerminationKeepsChangesInARecoveryFile) {
    QProcess* session = start(QStringLiteral("tova-host"), {QStringLiteral("sample.dxf")});
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) {
        return s[QStringLiteral("host")][QStringLiteral("active")].toString() == "sample.dxf";
    }));
    ASSERT_TRUE(send(Request::Kind::Command, {QStringLiteral("-LAYER\rOFF\rB-2\r")}));
    ASSERT_TRUE(waitForStatus(hostHasModifiedDrawing));
    startAndExpectHandedOver(QStringLiteral("tova"));
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) { return toolShows(s, " sample.dxf"); }));
    session->terminate();  // SIGTERM
    ASSERT_TRUE(session->waitForFinished(kWaitMs));
    EXPECT_EQ(session->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(session->exitCode(), 0);
    // Only the tool's tiling question at its start: the end asked nothing.
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0][QStringLiteral("text")].toString(), basAcadObject::tilingQuestion());
    const QString recovery = drawing_ + QStringLiteral(".recover");
    ASSERT_TRUE(QFile::exists(recovery));
    EXPECT_EQ(bytesOf(drawing_), original_);
    EXPECT_EQ(layerOnAsEzdxfReads(recovery, QStringLiteral("B-2")), QStringLiteral("off"));
    EXPECT_EQ(layerOnAsEzdxfReads(recovery, QStringLiteral("B-1")), QStringLiteral("on"));

    // The next open offers it; Yes opens the recovered drawing, changed.
    answer(QStringLiteral("Yes"));
    QProcess* again = start(QStringLiteral("tova-host"), {drawing_});
    ASSERT_TRUE(waitForStatus(hostHasModifiedDrawing));
    ASSERT_EQ(countMessages(QStringLiteral("The changes to sample.dxf were not saved")), 1);
    const auto offer = messages().back();
    EXPECT_EQ(offer[QStringLiteral("title")].toString(), QStringLiteral("Tovalen Drawing Host"));
    EXPECT_EQ(offer[QStringLiteral("buttons")].toString(), QStringLiteral("YesNo"));
    // Another drawing opens in a tab of its own; the same drawing again shows
    // its tab: no second tab, no second question.
    ASSERT_TRUE(QFile::copy(drawing_, dir_.filePath(QStringLiteral("other.dxf"))));
    startAndExpectHandedOver(QStringLiteral("tova-host"), {QStringLiteral("other.dxf")});
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) {
        return s[QStringLiteral("host")][QStringLiteral("documents")].toArray().size() == 2 &&
               s[QStringLiteral("host")][QStringLiteral("active")].toString() == "other.dxf";
    })) << QJsonDocument(last_).toJson().constData();
    startAndExpectHandedOver(QStringLiteral("tova-host"), {QStringLiteral("sample.dxf")});
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) {
        return s[QStringLiteral("host")][QStringLiteral("documents")].toArray().size() == 2 &&
               s[QStringLiteral("host")][QStringLiteral("active")].toString() == "sample.dxf";
    })) << QJsonDocument(last_).toJson().constData();
    EXPECT_EQ(countMessages(QStringLiteral("The changes to sample.dxf were not saved")), 1);
    again->terminate();
    ASSERT_TRUE(again->waitForFinished(kWaitMs));
    EXPECT_EQ(again->exitCode(), 0);
    EXPECT_EQ(bytesOf(drawing_), original_);
}

// Without a running host the tool asks the start question; No ends it with
// status 0. Yes starts the host in the session.
TEST_F(SessionProcesses, ToolAloneAsksToStartTheHost) {
    answer(QStringLiteral("No"));
    QProcess* declined = start(QStringLiteral("tova"));
    ASSERT_TRUE(declined->waitForFinished(kWaitMs));
    EXPECT_EQ(declined->exitCode(), 0);
    EXPECT_EQ(countMessages(basAcadObject::startQuestion()), 1);

    answer(QStringLiteral("Yes"));
    QProcess* session = start(QStringLiteral("tova"));
    ASSERT_TRUE(waitForStatus([](const QJsonObject& s) { return toolShows(s, "Drawing1.dxf"); }))
        << QJsonDocument(last_).toJson().constData();
    EXPECT_EQ(countMessages(basAcadObject::startQuestion()), 2);
    // The host's window closes without a question (nothing changed); the
    // tool takes the no-document path and the session ends.
    ASSERT_TRUE(send(Request::Kind::Close, {QStringLiteral("host")}));
    ASSERT_TRUE(session->waitForFinished(kWaitMs));
    EXPECT_EQ(session->exitCode(), 0);
    EXPECT_EQ(countMessages(basAcadObject::noDocumentMessage()), 1);
}

}  // namespace
