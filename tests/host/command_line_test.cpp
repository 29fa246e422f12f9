// The host's command line takes keys as the CAD application does: prompts,
// abbreviations, spaces and quotes, Escape, messages for what it does not
// take, and the busy state the tool polls.
#include <gtest/gtest.h>
#include <QRandomGenerator>

#include "CmdlineSupport.h"
#include "TestPaths.h"
#include "host/HostApplication.h"
#include "host/HostObjects.h"
#include "host/Viewports.h"
#include "host/command/Command.h"
#include "host/command/CommandLine.h"
#include "host/command/ScriptFile.h"

using host::command::matchKeyword;

namespace {

const QString kOptionPrompt = QStringLiteral(
    "Enter an option [?/Make/Set/New/Rename/ON/OFF/Color/Ltype/LWeight/Plot/Freeze/Thaw/LOck/"
    "Unlock]: ");

class CommandLineTest : public ::testing::Test {
protected:
    void open(const QString& key) {
        app = std::make_shared<host::HostApplication>();
        doc = key.isEmpty() ? app->newDrawing() : app->open(cmdline::copyOf(key));
        line = std::make_unique<host::CommandLine>(*app);
    }
    void SetUp() override { open(QStringLiteral("layers2000")); }
    acad::LayerPtr layer(const QString& name) { return doc->Layers()->Item(name); }
    bool printed(const QString& text) const {
        for (const QString& l : line->history())
            if (l.contains(text))
                return true;
        return false;
    }
    QString log() const { return line->history().join(QLatin1Char('\n')); }

    host::HostApplicationPtr app;
    host::HostDocumentPtr doc;
    std::unique_ptr<host::CommandLine> line;
};

}  // namespace

// Keywords are taken by their capital letters or any longer start, in any case.
TEST(Keywords, AbbreviationsFollowTheCapitals) {
    const QStringList opts{QStringLiteral("ON"),     QStringLiteral("OFF"),
                           QStringLiteral("Ltype"),  QStringLiteral("LWeight"),
                           QStringLiteral("LOck"),   QStringLiteral("eXcept current"),
                           QStringLiteral("No plot")};
    const struct {
        const char* reply;
        int index;
    } cases[] = {{"on", 0},     {"OFF", 1},   {"of", -1}, {"o", -1},   {"l", 2},      {"LTY", 2},
                 {"lw", 3},     {"lweig", 3}, {"lo", 4},  {"LOCK", 4}, {"x", 5},      {"ex", 5},
                 {"EXCEPT", 5}, {"e", -1},    {"n", 6},   {"_lo", 4},  {"lockx", -1}, {"", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(matchKeyword(opts, QString::fromLatin1(c.reply)), c.index) << c.reply;
}

// Script lines: CR LF and LF both end lines, a final break adds no line, a
// BOM is dropped, and an empty line in the middle is kept.
TEST(ScriptLines, LineEnds) {
    EXPECT_EQ(
        host::command::splitScriptLines("a\r\nb\n\r\nc\r\n"),
        (QStringList{QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("c")}));
    EXPECT_EQ(host::command::splitScriptLines("\xEF\xBB\xBFx\n\n"),
              (QStringList{QStringLiteral("x"), QString()}));
    EXPECT_EQ(host::command::splitScriptLines("last"), QStringList{QStringLiteral("last")});
    // Not UTF-8: read as Shift_JIS (CP932), the code page of scripts from Windows.
    EXPECT_EQ(host::command::splitScriptLines("\x95\xC7-NEW\r\n"),
              QStringList{QString::fromUtf8("壁-NEW")});
}

// The command prompt, a command's prompts and the busy state follow each other.
TEST_F(CommandLineTest, PromptsAndBusyAroundACommand) {
    std::vector<bool> busy;
    QObject::connect(line.get(), &host::CommandLine::busyChanged,
                     [&](bool b) { busy.push_back(b); });
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
    line->typeKeys(QStringLiteral("-lay"));
    EXPECT_EQ(line->input(), QStringLiteral("-lay"));
    line->typeKeys(QStringLiteral("er"));
    line->enter();
    EXPECT_EQ(line->prompt(), kOptionPrompt);
    EXPECT_TRUE(printed(QStringLiteral("Current layer:  \"WALL\"")));
    EXPECT_FALSE(app->GetAcadState()->IsQuiescent());
    line->typeKeys(QStringLiteral("f "));
    EXPECT_EQ(line->prompt(),
              QStringLiteral("Enter name list of layer(s) to freeze or <select objects>: "));
    line->typeKeys(QStringLiteral("DOOR "));
    EXPECT_EQ(line->prompt(), kOptionPrompt);
    line->enter();
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
    EXPECT_TRUE(app->GetAcadState()->IsQuiescent());
    EXPECT_TRUE(layer(QStringLiteral("DOOR"))->Freeze());
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    // An empty Enter at the command prompt repeats nothing.
    line->enter();
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
    EXPECT_TRUE(app->GetAcadState()->IsQuiescent());
    EXPECT_EQ(busy.size(), 2u);
}

// Command names take "_" and "." prefixes in any case; option keywords their
// abbreviations.
TEST_F(CommandLineTest, PrefixesAndAbbreviations) {
    const int regens = doc->regenCount();
    line->typeKeys(QStringLiteral("_.regen\r._REGEN\r"));
    EXPECT_EQ(doc->regenCount(), regens + 2);
    line->typeKeys(QStringLiteral("_.-LAYER lo WINDOW LOCK DOOR _U GRID \r"));
    EXPECT_TRUE(layer(QStringLiteral("WINDOW"))->Lock());
    EXPECT_TRUE(layer(QStringLiteral("DOOR"))->Lock());
    EXPECT_FALSE(layer(QStringLiteral("GRID"))->Lock());
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
}

// A space submits, except inside a reply that starts with a double quote;
// the quotes are removed.
TEST_F(CommandLineTest, SpacesAndQuotes) {
    line->typeKeys(QStringLiteral("-layer m \"My New Layer\" n \"Second one\",third\r\r"));
    EXPECT_EQ(doc->ActiveLayer()->Name(), QStringLiteral("My New Layer"));
    EXPECT_EQ(layer(QStringLiteral("My New Layer"))->Color(), 7);
    EXPECT_TRUE(layer(QStringLiteral("My New Layer"))->LayerOn());
    EXPECT_EQ(layer(QStringLiteral("Second one"))->Name(), QStringLiteral("Second one"));
    EXPECT_EQ(layer(QStringLiteral("THIRD"))->Name(), QStringLiteral("third"));
    // Without quotes the space splits the name: "Furniture" alone names nothing.
    line->typeKeys(QStringLiteral("-layer off Furniture A\r"));
    EXPECT_TRUE(printed(QStringLiteral("Cannot find layer \"Furniture\".")));
    EXPECT_TRUE(printed(QStringLiteral("Invalid option keyword.")));
    EXPECT_TRUE(layer(QStringLiteral("Furniture A"))->LayerOn());
    line->typeKeys(QStringLiteral("off \"Furniture A\" \r"));
    EXPECT_FALSE(layer(QStringLiteral("Furniture A"))->LayerOn());
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
}

// Escape cancels the running command, prints *Cancel* and leaves the host idle.
TEST_F(CommandLineTest, EscapeCancels) {
    line->typeKeys(QStringLiteral("-layer color 3 "));
    EXPECT_FALSE(app->GetAcadState()->IsQuiescent());
    line->typeKeys(QStringLiteral("DO"));
    line->escape();
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
    EXPECT_EQ(line->input(), QString());
    EXPECT_TRUE(printed(QStringLiteral("*Cancel*")));
    EXPECT_TRUE(app->GetAcadState()->IsQuiescent());
    EXPECT_EQ(layer(QStringLiteral("DOOR"))->Color(), 2);
    // Backspace edits the input.
    line->typeKeys(QStringLiteral("regenX\bX\b"));
    EXPECT_EQ(line->input(), QStringLiteral("regen"));
}

// Unknown commands and invalid replies print a message and the line goes on.
TEST_F(CommandLineTest, UnknownAndInvalidInputGoOn) {
    line->typeKeys(QStringLiteral("xyz\r"));
    EXPECT_TRUE(printed(QStringLiteral("Unknown command \"XYZ\".  Press F1 for help.")));
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
    line->typeKeys(QStringLiteral("-layer bogus\r"));
    EXPECT_TRUE(printed(QStringLiteral("Invalid option keyword.")));
    EXPECT_EQ(line->prompt(), kOptionPrompt);
    line->typeKeys(QStringLiteral("c 999 red DOOR lw 7 0.3 DOOR p maybe n DOOR \r"));
    EXPECT_TRUE(printed(QStringLiteral("Requires a color number from 1 to 255 or a color name.")));
    EXPECT_TRUE(printed(QStringLiteral("Invalid lineweight.")));
    EXPECT_EQ(layer(QStringLiteral("DOOR"))->Color(), 1);
    EXPECT_EQ(layer(QStringLiteral("DOOR"))->Lineweight(), 30);
    EXPECT_FALSE(layer(QStringLiteral("DOOR"))->Plottable());
    line->typeKeys(QStringLiteral("filedia\r7\rx\r0\r"));
    EXPECT_TRUE(printed(QStringLiteral("Requires an integer between 0 and 1.")));
    EXPECT_EQ(line->fileDia(), 0);
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
}

// Name lists take wildcards and commas; an empty list means the current layer
// where the prompt offers it.
TEST_F(CommandLineTest, WildcardNameLists) {
    line->typeKeys(QStringLiteral("-layer c 4 A-# lo ~[AB]*,DOOR c 2 \r\r"));
    EXPECT_EQ(layer(QStringLiteral("A-1"))->Color(), 4);
    EXPECT_EQ(layer(QStringLiteral("A-2"))->Color(), 4);
    EXPECT_EQ(layer(QStringLiteral("B-1"))->Color(), 7);
    EXPECT_FALSE(layer(QStringLiteral("A-1"))->Lock());
    EXPECT_FALSE(layer(QStringLiteral("B-1"))->Lock());
    EXPECT_TRUE(layer(QStringLiteral("DOOR"))->Lock());
    EXPECT_TRUE(layer(QStringLiteral("WALL"))->Lock());
    EXPECT_EQ(layer(QStringLiteral("WALL"))->Color(), 2) << "empty list: the current layer";
    line->typeKeys(QStringLiteral("-layer on Q* \r"));
    EXPECT_TRUE(printed(QStringLiteral("No matching layer names found.")));
}

// Freezing the current layer is refused with a message; the other names in
// the list are frozen and the command goes on.
TEST_F(CommandLineTest, RefusalsArePrinted) {
    line->typeKeys(QStringLiteral("-layer f WALL,DOOR s HATCH s WINDOW r 0 zero r DOOR 0 \r"));
    EXPECT_TRUE(printed(QStringLiteral("Cannot freeze layer \"WALL\".  It is the CURRENT layer.")));
    EXPECT_FALSE(layer(QStringLiteral("WALL"))->Freeze());
    EXPECT_TRUE(layer(QStringLiteral("DOOR"))->Freeze());
    EXPECT_TRUE(printed(QStringLiteral("フリーズされた画層は現在画層にできません。")));
    EXPECT_EQ(doc->ActiveLayer()->Name(), QStringLiteral("WINDOW"));
    EXPECT_TRUE(printed(QStringLiteral("画層 \"0\" の名前は変更できません。")));
    EXPECT_TRUE(printed(QStringLiteral("既に存在します")));
    EXPECT_EQ(layer(QStringLiteral("DOOR"))->Name(), QStringLiteral("DOOR"));
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
    // Turning the current layer off asks first.
    line->typeKeys(QStringLiteral("-layer off WINDOW "));
    EXPECT_TRUE(line->prompt().startsWith(QStringLiteral("Really want layer WINDOW")));
    line->typeKeys(QStringLiteral("y color -5 DOOR \r"));
    EXPECT_FALSE(layer(QStringLiteral("WINDOW"))->LayerOn());
    EXPECT_EQ(layer(QStringLiteral("DOOR"))->Color(), 5);
    EXPECT_FALSE(layer(QStringLiteral("DOOR"))->LayerOn()) << "a leading - turns the layer off";
}

// FILEDIA 1 sends SCRIPT to a dialog; FILEDIA 0 and "~" behave as the CAD application.
TEST_F(CommandLineTest, FiledaAndScriptPrompt) {
    QStringList dialog;
    QObject::connect(line.get(), &host::CommandLine::fileDialogRequested,
                     [&](const QString& c) { dialog << c; });
    line->typeKeys(QStringLiteral("filedia\r"));
    EXPECT_EQ(line->prompt(), QStringLiteral("Enter new value for FILEDIA <1>: "));
    line->enter();
    EXPECT_EQ(line->fileDia(), 1);
    line->typeKeys(QStringLiteral("script\r"));
    ASSERT_EQ(dialog.count(), 1);
    EXPECT_EQ(dialog[0], QStringLiteral("SCRIPT"));
    EXPECT_TRUE(app->GetAcadState()->IsQuiescent());
    line->typeKeys(QStringLiteral("filedia 0 script "));
    EXPECT_TRUE(line->prompt().startsWith(QStringLiteral("Enter script file name <")));
    line->typeKeys(QStringLiteral("~\r"));
    EXPECT_EQ(dialog.count(), 2);
    line->typeKeys(QStringLiteral("script\r") + testsupport::tempDir() +
                   QStringLiteral("/no such file.scr\r"));
    EXPECT_TRUE(printed(QStringLiteral("Cannot find script file")));
    EXPECT_TRUE(app->GetAcadState()->IsQuiescent());
}

// A script may start another, which replaces it; Escape stops a script.
TEST_F(CommandLineTest, NestedScriptsAndEscape) {
    const QString inner = cmdline::writeScript(QStringLiteral("inner script.scr"),
                                               {QStringLiteral("-layer c 3 TEXT"), QString()});
    const QString outer = cmdline::writeScript(
        QStringLiteral("outer.scr"),
        {QStringLiteral("-layer c 4 DOOR"), QString(), QStringLiteral("script"), inner,
         QStringLiteral("-layer c 5 WINDOW"), QString()});
    line->typeKeys(QStringLiteral("filedia 0 script ") + outer + QStringLiteral("\r"));
    EXPECT_TRUE(line->isRunningScript());
    ASSERT_TRUE(cmdline::waitUntilQuiescent(*app)) << log().toStdString();
    EXPECT_EQ(layer(QStringLiteral("DOOR"))->Color(), 4);
    EXPECT_EQ(layer(QStringLiteral("TEXT"))->Color(), 3);
    EXPECT_EQ(layer(QStringLiteral("WINDOW"))->Color(), 4) << "the outer script was replaced";

    QStringList many;
    for (int i = 0; i < 20000; ++i)
        many << QStringLiteral("-layer c %1 DOOR").arg(i % 200 + 1) << QString();
    const QString big = cmdline::writeScript(QStringLiteral("big.scr"), many);
    line->runScriptFile(big);
    EXPECT_FALSE(app->GetAcadState()->IsQuiescent());
    line->typeKeys(QStringLiteral("regen\r"));  // ignored while the script runs
    line->escape();
    EXPECT_FALSE(line->isRunningScript());
    EXPECT_TRUE(app->GetAcadState()->IsQuiescent());
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
}

// MSPACE needs a layout and enters a floating viewport; VPLAYER Current needs
// it and re-prompts otherwise.
TEST_F(CommandLineTest, MspaceAndVplayerCurrent) {
    line->typeKeys(QStringLiteral("mspace\r"));
    EXPECT_TRUE(printed(QStringLiteral("** Command not allowed in Model Tab **")));
    EXPECT_FALSE(doc->MSpace());
    doc->setActiveSpace(acad::acPaperSpace);
    const auto vps = host::floatingViewports(doc->drawing(), QStringLiteral("Layout1"));
    ASSERT_EQ(vps.size(), 2u);
    line->typeKeys(QStringLiteral("vplayer f DOOR c "));
    EXPECT_TRUE(printed(QStringLiteral("not a floating viewport")));
    EXPECT_TRUE(line->prompt().startsWith(
        QStringLiteral("Enter an option [All/Select/Current/eXcept current]")));
    line->escape();
    line->typeKeys(QStringLiteral("ms\r"));
    EXPECT_TRUE(doc->MSpace());
    EXPECT_EQ(doc->currentViewport(), vps[0].entity);
    doc->setCurrentViewport(vps[1].entity);
    line->typeKeys(QStringLiteral("pspace\rmspace\r"));
    EXPECT_EQ(doc->currentViewport(), vps[1].entity) << "a valid current viewport is kept";
    line->typeKeys(QStringLiteral("vplayer f DOOR,WINDOW \rt WINDOW x r DIM a \r"));
    const auto& d = doc->drawing();
    EXPECT_TRUE(host::isFrozenInViewport(d, vps[1].entity, QStringLiteral("DOOR")));
    EXPECT_TRUE(host::isFrozenInViewport(d, vps[1].entity, QStringLiteral("WINDOW")));
    EXPECT_FALSE(host::isFrozenInViewport(d, vps[0].entity, QStringLiteral("DOOR")));
    EXPECT_TRUE(host::isFrozenInViewport(d, vps[0].entity, QStringLiteral("DIM")))
        << "Reset applies the frozen-in-new-viewports default";
    EXPECT_TRUE(host::isFrozenInViewport(d, vps[1].entity, QStringLiteral("DIM")));
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
}

// QSAVE of a drawing never saved asks for a file name, which may hold spaces.
TEST_F(CommandLineTest, QsaveAsksForANewDrawingsName) {
    open(QString());
    const QString target = testsupport::tempDir() + QStringLiteral("/saved drawing");
    line->typeKeys(QStringLiteral("-layer n NEWLAYER \r"));
    line->typeKeys(QStringLiteral("qsave\r"));
    EXPECT_TRUE(line->prompt().startsWith(QStringLiteral("Save drawing as <")));
    line->typeKeys(target + QStringLiteral("\r"));
    EXPECT_EQ(doc->FullName(), target + QStringLiteral(".dxf"));
    EXPECT_FALSE(doc->isModified());
    auto reread = host::Drawing::load(target + QStringLiteral(".dxf"));
    EXPECT_TRUE(reread->findLayer(QStringLiteral("NEWLAYER")) != nullptr);
}

// No key sequence ends the command line: random commands, options, names and
// Escapes leave it answering, and after Escape it is idle with a drawing that
// still reads back.
TEST_F(CommandLineTest, RandomInputNeverBreaksIt) {
    doc->setActiveSpace(acad::acPaperSpace);
    const QStringList words{QStringLiteral("-layer"),  QStringLiteral("vplayer"),
                            QStringLiteral("filedia"), QStringLiteral("script"),
                            QStringLiteral("regen"),   QStringLiteral("mspace"),
                            QStringLiteral("pspace"),  QStringLiteral("m"),
                            QStringLiteral("s"),       QStringLiteral("n"),
                            QStringLiteral("r"),       QStringLiteral("on"),
                            QStringLiteral("off"),     QStringLiteral("c"),
                            QStringLiteral("l"),       QStringLiteral("lw"),
                            QStringLiteral("p"),       QStringLiteral("f"),
                            QStringLiteral("t"),       QStringLiteral("lo"),
                            QStringLiteral("u"),       QStringLiteral("?"),
                            QStringLiteral("a"),       QStringLiteral("x"),
                            QStringLiteral("y"),       QStringLiteral("v"),
                            QStringLiteral("0"),       QStringLiteral("1"),
                            QStringLiteral("-3"),      QStringLiteral("300"),
                            QStringLiteral("DOOR"),    QStringLiteral("A*"),
                            QStringLiteral("~*"),      QStringLiteral("\"Furniture A\""),
                            QStringLiteral("\""),      QStringLiteral("[`"),
                            QStringLiteral(",,"),      QStringLiteral("~"),
                            QStringLiteral("\x1b"),    QStringLiteral("WALL"),
                            QStringLiteral("\b")};
    QRandomGenerator random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QString keys = words[static_cast<int>(random.bounded(words.size()))];
        keys += random.bounded(3) == 0 ? QStringLiteral("\r") : QStringLiteral(" ");
        line->typeKeys(keys);
    }
    line->escape();
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));
    EXPECT_TRUE(app->GetAcadState()->IsQuiescent());
    EXPECT_NO_THROW(host::Drawing::fromBytes(doc->drawing().toBytes(), QStringLiteral("fuzz")));
    line->typeKeys(QStringLiteral("-layer m AFTERWARDS \r"));
    EXPECT_EQ(doc->ActiveLayer()->Name(), QStringLiteral("AFTERWARDS"));
}
