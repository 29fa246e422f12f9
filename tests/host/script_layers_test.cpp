// Scripts typed into the host's command line the way the tool types them
// change layers and viewport freezing exactly as written, and the tool's
// VPLAYER templates freeze and thaw in the current viewport only.
#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>

#include "CmdlineSupport.h"
#include "TestPaths.h"
#include "host/HostApplication.h"
#include "host/Viewports.h"
#include "host/command/CommandLine.h"

namespace {

QJsonObject layerOf(const QJsonObject& state, const QString& name) {
    return state.value(QStringLiteral("layers")).toObject().value(name).toObject();
}

QStringList frozenIn(const QJsonObject& state, int viewport) {
    const QJsonArray vps = state.value(QStringLiteral("layouts"))
                               .toObject()
                               .value(QStringLiteral("Layout1"))
                               .toArray();
    QStringList names;
    for (const auto& v : vps[viewport].toObject().value(QStringLiteral("frozen")).toArray())
        names << v.toString();
    names.sort();
    return names;
}

// The keystrokes with which the tool starts a script.
QString toolKeys(const QString& script) {
    return QStringLiteral("\x1b\x1b") + QStringLiteral("filedia\r0\rscript\r") + script +
           QStringLiteral("\r");
}

// The tool's script generation: the template's non-comment lines once per
// layer, "<LAYER>" replaced and leading spaces removed.
QStringList fromTemplate(const QString& templateFile, const QStringList& names) {
    QFile f(testsupport::sourceDir() + QStringLiteral("/data/") + templateFile);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << templateFile.toStdString();
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    QStringList out;
    for (const QString& name : names)
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (line.startsWith(QLatin1Char(';')))
                continue;
            line.replace(QStringLiteral("<LAYER>"), name);
            while (line.startsWith(QLatin1Char(' ')))
                line.remove(0, 1);
            out << line;
        }
    return out;
}

QStringList dataLines(const QString& file) {
    QFile f(testsupport::sourceDir() + QStringLiteral("/data/") + file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

class ScriptLayers : public ::testing::Test {
protected:
    void SetUp() override {
        path = cmdline::copyOf(QStringLiteral("layers2000"));
        app = std::make_shared<host::HostApplication>();
        doc = app->open(path);
        doc->setActiveSpace(acad::acPaperSpace);
        doc->setCurrentLayout(QStringLiteral("Layout1"));
        line = std::make_unique<host::CommandLine>(*app);
    }
    // Types the tool's keys, checks the host turns busy and then idle.
    void run(const QString& script) {
        line->typeKeys(toolKeys(script));
        EXPECT_FALSE(app->GetAcadState()->IsQuiescent()) << "the script runs asynchronously";
        ASSERT_TRUE(cmdline::waitUntilQuiescent(*app))
            << line->history().join(QLatin1Char('\n')).toStdString();
    }
    QString path;
    host::HostApplicationPtr app;
    host::HostDocumentPtr doc;
    std::unique_ptr<host::CommandLine> line;
};

}  // namespace

// A -LAYER and VPLAYER script leaves every layer and viewport as it says,
// goes on past refusals and unknown commands, and saves through QSAVE.
TEST_F(ScriptLayers, LayerAndViewportScriptAsTheToolRunsIt) {
    const QString script = cmdline::writeScript(QStringLiteral("layers script.scr"),
                                                {QStringLiteral(";layer states"),
                                                 QStringLiteral("-LAYER"),
                                                 QStringLiteral("OFF"),
                                                 QStringLiteral("DOOR"),
                                                 QStringLiteral("FREEZE"),
                                                 QStringLiteral("WINDOW"),
                                                 QStringLiteral("lo"),
                                                 QStringLiteral("\"Furniture A\""),
                                                 QStringLiteral("COLOR"),
                                                 QStringLiteral("3"),
                                                 QStringLiteral("TEXT,DIM"),
                                                 QStringLiteral("NEW"),
                                                 QStringLiteral("\"New One\",NEWTWO"),
                                                 QStringLiteral("MAKE"),
                                                 QStringLiteral("MADE"),
                                                 QStringLiteral("FREEZE"),
                                                 QStringLiteral("MADE"),
                                                 QStringLiteral("PLOT"),
                                                 QStringLiteral("N"),
                                                 QStringLiteral("NOPLOT-ME"),
                                                 QString(),
                                                 QStringLiteral("NOSUCHCMD"),
                                                 QStringLiteral("_.MSPACE"),
                                                 QStringLiteral("VPLAYER F GRID C"),
                                                 QStringLiteral("T"),
                                                 QStringLiteral("TEXT"),
                                                 QStringLiteral("ALL"),
                                                 QString(),
                                                 QStringLiteral("QSAVE")});
    run(script);
    const QString log = line->history().join(QLatin1Char('\n'));
    EXPECT_TRUE(
        log.contains(QStringLiteral("Cannot freeze layer \"MADE\".  It is the CURRENT layer.")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("Unknown command \"NOSUCHCMD\".")));
    EXPECT_FALSE(doc->isModified()) << "QSAVE wrote the drawing";
    EXPECT_EQ(line->prompt(), QStringLiteral("Command: "));

    const QJsonObject s = cmdline::check(path);
    EXPECT_EQ(s.value(QStringLiteral("audit_errors")).toInt(), 0);
    EXPECT_FALSE(layerOf(s, QStringLiteral("DOOR")).value(QStringLiteral("on")).toBool());
    EXPECT_TRUE(layerOf(s, QStringLiteral("WINDOW")).value(QStringLiteral("frozen")).toBool());
    EXPECT_TRUE(layerOf(s, QStringLiteral("Furniture A")).value(QStringLiteral("locked")).toBool());
    EXPECT_EQ(layerOf(s, QStringLiteral("TEXT")).value(QStringLiteral("color")).toInt(), 3);
    EXPECT_EQ(layerOf(s, QStringLiteral("DIM")).value(QStringLiteral("color")).toInt(), 3);
    for (const QString& name : {QStringLiteral("New One"), QStringLiteral("NEWTWO")}) {
        const QJsonObject l = layerOf(s, name);
        ASSERT_FALSE(l.isEmpty()) << name.toStdString();
        EXPECT_EQ(l.value(QStringLiteral("color")).toInt(), 7);
        EXPECT_EQ(l.value(QStringLiteral("linetype")).toString().toUpper(),
                  QStringLiteral("CONTINUOUS"));
    }
    EXPECT_EQ(s.value(QStringLiteral("current")).toString(), QStringLiteral("MADE"));
    EXPECT_FALSE(layerOf(s, QStringLiteral("MADE")).value(QStringLiteral("frozen")).toBool());
    EXPECT_FALSE(layerOf(s, QStringLiteral("NOPLOT-ME")).value(QStringLiteral("plot")).toBool());
    // Layers the script never named keep their states.
    EXPECT_TRUE(layerOf(s, QStringLiteral("WALL")).value(QStringLiteral("on")).toBool());
    EXPECT_EQ(layerOf(s, QStringLiteral("WALL")).value(QStringLiteral("color")).toInt(), 1);
    EXPECT_TRUE(layerOf(s, QStringLiteral("HATCH")).value(QStringLiteral("frozen")).toBool());
    // GRID frozen in the current (first) viewport only; TEXT thawed in all.
    EXPECT_EQ(frozenIn(s, 0), QStringList{QStringLiteral("GRID")});
    EXPECT_EQ(frozenIn(s, 1), QStringList());
}

// The VPLAYER templates, repeated per layer as the tool generates them and
// joined with the header and footer, freeze and then thaw layers in the
// current viewport only, names with spaces included, and restore FILEDIA.
TEST_F(ScriptLayers, TemplatesFreezeAndThawInTheCurrentViewportOnly) {
    const auto vps = host::floatingViewports(doc->drawing(), QStringLiteral("Layout1"));
    ASSERT_EQ(vps.size(), 2u);
    // The second viewport is current, so a template that froze in the first
    // or in all viewports would show.
    doc->setCurrentViewport(vps[1].entity);
    doc->setMSpace(true);
    const QStringList names{QStringLiteral("Furniture A"), QStringLiteral("GRID")};
    QStringList freeze = dataLines(QStringLiteral("SCRIPT_HEADER.txt"));
    freeze += fromTemplate(QStringLiteral("VPLAYER_FREEZE_ON.txt"), names);
    freeze += dataLines(QStringLiteral("SCRIPT_FOOTER.txt"));
    run(cmdline::writeScript(QStringLiteral("tmp_tova_script.scr"), freeze));
    EXPECT_EQ(line->fileDia(), 1) << "the footer sets FILEDIA back";
    EXPECT_FALSE(line->history().join(QLatin1Char('\n')).contains(QStringLiteral("Invalid")))
        << line->history().join(QLatin1Char('\n')).toStdString();
    doc->save();
    QJsonObject s = cmdline::check(path);
    EXPECT_EQ(frozenIn(s, 0), QStringList());
    EXPECT_EQ(frozenIn(s, 1), (QStringList{QStringLiteral("Furniture A"), QStringLiteral("GRID"),
                                           QStringLiteral("TEXT")}));
    EXPECT_FALSE(layerOf(s, QStringLiteral("GRID")).value(QStringLiteral("frozen")).toBool())
        << "a viewport freeze is not a global freeze";

    QStringList thaw = fromTemplate(QStringLiteral("VPLAYER_FREEZE_OFF.txt"),
                                    {QStringLiteral("Furniture A"), QStringLiteral("TEXT")});
    run(cmdline::writeScript(QStringLiteral("tmp_tova_thaw.scr"), thaw));
    doc->save();
    s = cmdline::check(path);
    EXPECT_EQ(frozenIn(s, 1), QStringList{QStringLiteral("GRID")});
    EXPECT_EQ(frozenIn(s, 0), QStringList());
}
