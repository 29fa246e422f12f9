#include "host/command/Command.h"

#include "host/Viewports.h"
#include "host/Wildcard.h"
#include "host/command/LayerCommand.h"
#include "host/command/SimpleCommands.h"
#include "host/command/VplayerCommand.h"

namespace host::command {

namespace {

const char* const kColorNames[] = {"red", "yellow", "green", "cyan", "blue", "magenta", "white"};

// The letters a keyword must at least be given by: up to its last capital
// letter (its whole first word when it has no capital).
int minimumPrefix(const QString& keyword) {
    int last = -1;
    for (int i = 0; i < keyword.size(); ++i)
        if (keyword[i].isUpper())
            last = i;
    if (last >= 0)
        return last + 1;
    const int space = static_cast<int>(keyword.indexOf(QLatin1Char(' ')));
    return space < 0 ? static_cast<int>(keyword.size()) : space;
}

QString capitals(const QString& keyword) {
    QString caps;
    for (QChar c : keyword)
        if (c.isUpper() || c == QLatin1Char('?'))
            caps += c;
    return caps;
}

// Splits a name list at its commas, keeping commas that are escaped with a
// backquote or enclosed in a closed bracket expression.
QStringList splitNameList(const QString& list) {
    QStringList pieces{QString()};
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QChar c = list[i];
        if (c == QLatin1Char('`') && i + 1 < list.size()) {
            pieces.back() += c;
            pieces.back() += list[++i];
        } else if (c == QLatin1Char('[')) {
            qsizetype j = i + 1;
            if (j < list.size() && list[j] == QLatin1Char('~'))
                ++j;
            if (j < list.size() && list[j] == QLatin1Char(']'))
                ++j;
            const qsizetype close = list.indexOf(QLatin1Char(']'), j);
            if (close < 0) {
                pieces.back() += c;
            } else {
                pieces.back() += list.mid(i, close - i + 1);
                i = close;
            }
        } else if (c == QLatin1Char(',')) {
            pieces.push_back(QString());
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

}  // namespace

QString stripPrefixes(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char('_') || text[i] == QLatin1Char('.')))
        ++i;
    return text.mid(i);
}

int matchKeyword(const QStringList& keywords, const QString& reply) {
    const QString r = stripPrefixes(reply.trimmed());
    if (r.isEmpty())
        return -1;
    for (int k = 0; k < keywords.size(); ++k) {
        const QString& kw = keywords[k];
        if (QString::compare(r, capitals(kw), Qt::CaseInsensitive) == 0)
            return k;
        if (r.size() >= minimumPrefix(kw) && kw.startsWith(r, Qt::CaseInsensitive))
            return k;
    }
    return -1;
}

std::vector<QString> matchLayerNames(const Drawing& drawing, const QString& list,
                                     QStringList* missing) {
    std::vector<QString> names;
    for (const auto& rec : matchLayers(drawing, list, missing))
        names.push_back(rec->name);
    return names;
}

std::vector<std::shared_ptr<LayerRecord>> matchLayers(const Drawing& drawing, const QString& list,
                                                      QStringList* missing) {
    std::vector<WildcardPattern> patterns;
    for (const QString& piece : splitNameList(list)) {
        const QString p = piece.trimmed();
        if (p.isEmpty())
            continue;
        patterns.emplace_back(p);
    }
    std::vector<bool> used(patterns.size(), false);
    std::vector<std::shared_ptr<LayerRecord>> names;
    for (int i = 0; i < drawing.layerCount(); ++i) {
        const QString& name = drawing.layer(i)->name;
        bool hit = false;
        for (size_t k = 0; k < patterns.size(); ++k)
            if (patterns[k].matches(name)) {
                used[k] = true;
                hit = true;
            }
        if (hit)
            names.push_back(drawing.layer(i));
    }
    if (missing)
        for (size_t k = 0; k < patterns.size(); ++k)
            if (!used[k] && patterns[k].isLiteral())
                missing->push_back(patterns[k].literalText());
    return names;
}

QString effectiveLayout(const HostDocument& doc) {
    const std::vector<QString> names = layoutNames(doc.drawing());
    for (const QString& n : names)
        if (QString::compare(n, doc.currentLayout(), Qt::CaseInsensitive) == 0)
            return n;
    return names.empty() ? QString() : names.front();
}

QString colorText(int color) {
    if (color >= 1 && color <= 7)
        return QStringLiteral("%1 (%2)").arg(color).arg(QLatin1String(kColorNames[color - 1]));
    return QString::number(color);
}

int parseColor(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (ok)
        return n >= 1 && n <= 255 ? n : 0;
    for (int i = 0; i < 7; ++i)
        if (QString::compare(text.trimmed(), QLatin1String(kColorNames[i]), Qt::CaseInsensitive) ==
            0)
            return i + 1;
    return 0;
}

std::unique_ptr<Command> makeCommand(const QString& name, CommandContext& ctx) {
    const QString n = name.toUpper();
    if (n == QLatin1String("FILEDIA"))
        return makeFiledia(ctx);
    if (n == QLatin1String("SCRIPT") || n == QLatin1String("SCR"))
        return makeScript(ctx);
    if (n == QLatin1String("REGEN") || n == QLatin1String("RE"))
        return makeRegen(ctx);
    if (n == QLatin1String("MSPACE") || n == QLatin1String("MS"))
        return makeMspace(ctx);
    if (n == QLatin1String("PSPACE") || n == QLatin1String("PS"))
        return makePspace(ctx);
    if (n == QLatin1String("QSAVE"))
        return makeQsave(ctx);
    // The host has no layer palette: LAYER runs the command-line version.
    if (n == QLatin1String("-LAYER") || n == QLatin1String("-LA") || n == QLatin1String("LAYER") ||
        n == QLatin1String("LA"))
        return makeLayerCommand(ctx);
    if (n == QLatin1String("VPLAYER") || n == QLatin1String("-VPLAYER"))
        return makeVplayerCommand(ctx);
    return nullptr;
}

}  // namespace host::command
