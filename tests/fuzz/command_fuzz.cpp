// The host's command line and script reader over any text: typed as keys or
// run as a script file on a drawing with layers. Whatever the text, the
// commands end (no hang, no crash) and the drawing still saves and reloads.
//
// Texts that could write files (QSAVE) or let SCRIPT read a file the text
// names (FILEDIA off) are skipped: a fuzzer must not touch files outside its
// own folder.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FuzzSupport.h"
#include "host/HostApplication.h"
#include "host/command/CommandLine.h"
#include "host/command/ScriptFile.h"

namespace {

// The command names the text could reach once backspaces, quotes and
// characters the command line drops are applied.
bool reachesFileCommands(const QString& text) {
    QString typed;
    for (const QChar c : text) {
        if (c == u'\b')
            typed.chop(1);
        else if (c == u'"')
            continue;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            typed += u'\n';
        else
            typed += c;
    }
    typed = typed.toUpper();
    return typed.contains(QLatin1String("QSAVE")) || typed.contains(QLatin1String("FILEDIA"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::ensureApplication();
    static QTemporaryDir dir;
    static const QString drawingPath = [] {
        const QString path = dir.filePath(QStringLiteral("layers.dxf"));
        QFile::copy(QStringLiteral(TOVA_FUZZ_DRAWING), path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }();
    if (size == 0)
        return 0;

    const bool asScript = (data[0] & 1) != 0;
    const QByteArray bytes = fuzzsupport::bytesOf(data + 1, size - 1);
    const QStringList lines = host::command::splitScriptLines(bytes);
    const QString text = lines.join(QLatin1Char('\n'));
    if (reachesFileCommands(text))
        return 0;

    auto app = std::make_shared<host::HostApplication>();
    host::HostDocumentPtr doc = app->open(drawingPath);
    host::CommandLine line(*app);
    if (asScript) {
        const QString script = dir.filePath(QStringLiteral("fuzz.scr"));
        QFile file(script);
        fuzzsupport::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate),
                             "the script can be written");
        file.write(bytes);
        file.close();
        line.runScriptFile(script);
        // Every slice handles at least one line, so this ends.
        for (qsizetype n = 0; line.isRunningScript() && n <= 4 * lines.size() + 16; ++n)
            QCoreApplication::processEvents();
        fuzzsupport::require(!line.isRunningScript(), "a script ends");
    } else {
        line.typeKeys(text);
    }
    line.typeKeys(QStringLiteral("\x1b"));
    fuzzsupport::require(!line.isBusy(), "the command line is idle after Escape or the script");

    // Whatever the commands did, the drawing saves to bytes that load again.
    const QByteArray saved = doc->drawing().toBytes();
    try {
        (void)host::Drawing::fromBytes(saved, QStringLiteral("saved.dxf"));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        fuzzsupport::require(false, "a drawing changed by commands reloads");
    }
    return 0;
}
