// The hand-off of the ON list to the layer viewer: the question, the file,
// the command line, and the messages when the viewer is missing or fails.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "files/clsCSV_Function2.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"
#include "preview/ViewerHandOff.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

struct HandOff {
    QTemporaryDir home;      // the program's folder
    QTemporaryDir programs;  // the programs folder
    platform::ScriptedUi ui;
    clsCSV_Function2 csv;
    preview::ViewerHandOff h;
    int foreground = 0;
    QStringList started;  // program, then its arguments

    HandOff() {
        h.onList = QStringList{"0", "A-1"};
        h.programFolder = home.path();
        h.programsFolder = programs.path();
        h.csv = &csv;
        h.toForeground = [this] { ++foreground; };
        h.start = [this](const QString& program, const QStringList& args, QString*) {
            started = QStringList{program} + args;
            return true;
        };
    }
    ~HandOff() {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
        EXPECT_TRUE(ui.allConsumed()) << ui.pendingDescriptions().join('\n').toStdString();
    }
    void ask(Answer a) {
        ui.expectMessage(preview::questionText(), platform::appTitle(), Buttons::OKCancel,
                         Icon::Question, a);
    }
    QByteArray csvFile() const {
        QFile f(home.path() + "/WMF.csv");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void installViewer() {
        const QString viewer = preview::viewerPath(programs.path());
        QDir().mkpath(QFileInfo(viewer).path());
        QFile f(viewer);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
    }
};

}  // namespace

TEST(ViewerHandOff, TextsAndPaths) {
    EXPECT_EQ(
        preview::questionText(),
        QStringLiteral("ON側（左側）のリストボックスにある画層を「TovalenAutoCAD画層ビューワー」で"
                       "プレビュー表示します。\r\n\r\n本コマンドは、Brenvikの姉妹ソフト「"
                       "TovalenAutoCAD画層ビューワー」がインストールされている必要があります。"
                       "\r\nよろしいですか？"));
    EXPECT_EQ(preview::viewerPath("/opt/"),
              QStringLiteral("/opt/Tovalenシリーズ/TovalenAutoCAD画層ビューワー/ZODUVA.exe"));
    EXPECT_EQ(preview::commandLine("/opt", "/my tools"),
              QStringLiteral("/opt/Tovalenシリーズ/TovalenAutoCAD画層ビューワー/ZODUVA.exe /my "
                             "tools/WMF.csv"));
}

TEST(ViewerHandOff, CancelWritesNothing) {
    HandOff t;
    t.installViewer();
    t.ask(Answer::Cancel);
    preview::pu_subHandOff(t.ui, t.h);
    EXPECT_FALSE(QFile::exists(t.home.path() + "/WMF.csv"));
    EXPECT_TRUE(t.started.isEmpty());
    EXPECT_EQ(t.foreground, 0);
}

// ON list 0 and A-1: two quoted lines with CR LF; the viewer gets the file's
// path, split at spaces like the unquoted command line.
TEST(ViewerHandOff, WritesTheListAndStartsTheViewer) {
    HandOff t;
    t.installViewer();
    t.ask(Answer::OK);
    preview::pu_subHandOff(t.ui, t.h);
    EXPECT_EQ(t.csvFile(), "\"0\"\r\n\"A-1\"\r\n");
    EXPECT_FALSE(QFile::exists(t.home.path() + "/buff_WMF.csv"));
    EXPECT_EQ(t.started,
              (QStringList{preview::viewerPath(t.programs.path()), t.home.path() + "/WMF.csv"}));
    EXPECT_EQ(t.foreground, 1);
}

TEST(ViewerHandOff, MissingViewerAfterTheFileIsWritten) {
    HandOff t;
    t.ask(Answer::OK);
    const QString viewer = preview::viewerPath(t.programs.path());
    t.ui.expectMessage(
        QStringLiteral("「TovalenAutoCAD画層ビューワー」が下記パスに見つかりませんでした。\r\n") +
            viewer +
            QStringLiteral("\r\n「TovalenAutoCAD画層ビューワー」と連携するには、上記フォルダーに"
                           "「TovalenAutoCAD画層ビューワー」をインストールしてください。"),
        platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    preview::pu_subHandOff(t.ui, t.h);
    EXPECT_EQ(t.csvFile(), "\"0\"\r\n\"A-1\"\r\n");
    EXPECT_TRUE(t.started.isEmpty());
}

// The list cannot be written (the folder is gone): the error, and the viewer
// is still started; a viewer that fails to start gives number and description.
TEST(ViewerHandOff, ListErrorThenStartFailure) {
    HandOff t;
    t.installViewer();
    t.h.programFolder = t.home.path() + "/gone";
    t.h.start = [](const QString&, const QStringList&, QString* why) {
        *why = QStringLiteral("起動できません");
        return false;
    };
    t.ask(Answer::OK);
    t.ui.expectMessage(
        QStringLiteral("エラー！\r\n表示する画層のリストを作成中にエラーが発生しました。"),
        platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    t.ui.expectMessage(QStringLiteral("5\r\n起動できません"), platform::appTitle(), Buttons::OK,
                       Icon::Critical, Answer::OK);
    preview::pu_subHandOff(t.ui, t.h);
}
