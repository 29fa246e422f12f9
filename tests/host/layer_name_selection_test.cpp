// A layer name names that layer and no other: escaped as a filter or typed
// as a -LAYER argument it selects exactly that layer, a rename's old name is
// taken literally, and every -LAYER option touches each named layer once.
#include <gtest/gtest.h>
#include <QRandomGenerator>
#include <QRegularExpression>

#include "acad/Wildcard.h"
#include "host/HostApplication.h"
#include "host/Wildcard.h"
#include "host/command/Command.h"
#include "host/command/CommandLine.h"

namespace {

class LayerNames : public ::testing::Test {
protected:
    void SetUp() override {
        doc = app->newDrawing();
        doc->onChanged = [this] { ++changes; };
    }
    void add(const QStringList& names) {
        for (const QString& n : names)
            doc->Layers()->Add(n);
    }
    // Layers (other than "0") whose state the predicate picks.
    QStringList where(const std::function<bool(acad::Layer&)>& pick) {
        QStringList out;
        auto layers = doc->Layers();
        for (long i = 1; i < layers->Count(); ++i) {
            auto l = layers->Item(i);
            if (pick(*l))
                out << l->Name();
        }
        return out;
    }
    QStringList frozen() {
        return where([](acad::Layer& l) { return l.Freeze(); });
    }
    QStringList off() {
        return where([](acad::Layer& l) { return !l.LayerOn(); });
    }
    QString log() const { return line.history().join(QLatin1Char('\n')); }
    // A -LAYER argument as a script writes it: quoted, so spaces stay in it.
    static QString quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

    host::HostApplicationPtr app = std::make_shared<host::HostApplication>();
    host::HostDocumentPtr doc;
    host::CommandLine line{*app};
    int changes = 0;
};

// Random names from characters the host accepts, wildcard characters,
// blanks and Japanese among them; blanks only inside, as -LAYER trims replies.
QString randomName(QRandomGenerator& rng) {
    static const QString kChars = QString::fromUtf8("AaBb19.#@~[]-_ ,$!&(){}+'^%壁ｱ");
    QString s;
    const int n = 1 + static_cast<int>(rng.bounded(8));
    for (int i = 0; i < n; ++i)
        s += kChars[static_cast<qsizetype>(rng.bounded(static_cast<quint32>(kChars.size())))];
    s = s.trimmed();
    return s.isEmpty() ? QStringLiteral("e") : s;
}

// Names a wildcard reading of `name` would also match: each wildcard
// character replaced by what it stands for.
QStringList decoys(const QString& name) {
    QStringList out;
    const QList<QPair<QChar, QString>> stand = {{u'.', QStringLiteral("-")},
                                                {u'#', QStringLiteral("7")},
                                                {u'@', QStringLiteral("Q")},
                                                {u'~', QStringLiteral("Z")},
                                                {u'[', QStringLiteral("A")},
                                                {u']', QStringLiteral("B")},
                                                {u',', QString()}};
    for (qsizetype i = 0; i < name.size(); ++i)
        for (const auto& [c, by] : stand)
            if (name[i] == c) {
                QString d = name;
                d.replace(i, 1, by);
                if (!d.trimmed().isEmpty() && d.trimmed() == d)
                    out << d;
            }
    // "[AB]" as a set stands for "A" alone.
    QString set = name;
    set.replace(QRegularExpression(QStringLiteral("\\[([^\\]])[^\\]]*\\]")), QStringLiteral("\\1"));
    if (set != name && !set.trimmed().isEmpty() && set.trimmed() == set)
        out << set;
    return out;
}

}  // namespace

// Property: for random accepted names among decoys that their wildcard
// reading would match, the escaped name matches only its own layer, and
// Freeze, OFF, LOck and Rename given it change only that layer.
TEST_F(LayerNames, EscapedNameSelectsExactlyThatLayer) {
    QRandomGenerator rng(20261208);
    QStringList names;
    for (int i = 0; i < 120; ++i) {
        const QString n = randomName(rng);
        names << n << decoys(n);
    }
    QStringList unique;
    for (const QString& n : names) {
        bool seen = QString::compare(n, QStringLiteral("0"), Qt::CaseInsensitive) == 0;
        for (const QString& u : unique)
            seen = seen || QString::compare(u, n, Qt::CaseInsensitive) == 0;
        if (!seen)
            unique << n;
    }
    const auto& d = doc->drawing();
    const int before = d.layerCount();
    add(unique);
    for (const QString& name : unique) {
        SCOPED_TRACE(name.toStdString());
        const QString pattern = acad::escapeWildcard(name);
        // As a filter value.
        for (int i = 0; i < d.layerCount(); ++i)
            EXPECT_EQ(host::wildcardMatch(pattern, d.layer(i)->name),
                      QString::compare(d.layer(i)->name, name, Qt::CaseInsensitive) == 0)
                << d.layer(i)->name.toStdString();
        const auto matched = host::command::matchLayers(d, pattern, nullptr);
        ASSERT_EQ(matched.size(), 1u);
        EXPECT_EQ(matched.front()->name, name);

        // As -LAYER arguments.
        line.typeKeys(QStringLiteral("-layer f ") + quoted(pattern) + QStringLiteral(" \r"));
        EXPECT_EQ(frozen(), QStringList{name}) << log().toStdString();
        line.typeKeys(QStringLiteral("-layer t * off ") + quoted(pattern) + QStringLiteral(" \r"));
        EXPECT_EQ(frozen(), QStringList());
        EXPECT_EQ(off(), QStringList{name});
        line.typeKeys(QStringLiteral("-layer on * lo ") + quoted(pattern) + QStringLiteral(" \r"));
        EXPECT_EQ(off(), QStringList());
        EXPECT_EQ(where([](acad::Layer& l) { return l.Lock(); }), QStringList{name});
        line.typeKeys(QStringLiteral("-layer u * \r"));
        // A rename takes the old name literally, unescaped.
        const QString renamed = QStringLiteral("RN%1-").arg(d.layerCount()) + name;
        line.typeKeys(QStringLiteral("-layer r ") + quoted(name) + QLatin1Char(' ') +
                      quoted(renamed) + QStringLiteral(" \r"));
        EXPECT_EQ(d.findLayer(name), nullptr) << log().toStdString();
        ASSERT_NE(d.findLayer(renamed), nullptr);
        line.typeKeys(QStringLiteral("-layer r ") + quoted(renamed) + QLatin1Char(' ') +
                      quoted(name) + QStringLiteral(" \r"));
        ASSERT_NE(d.findLayer(name), nullptr);
        EXPECT_EQ(d.findLayer(name)->name, name);
    }
    EXPECT_EQ(d.layerCount(), before + unique.size());
}

// 4. Rename's old name is literal: "P.1" renames P.1, never P-1, and "Q#1"
// names the layer Q#1, not Q11; with no such layer nothing is renamed.
TEST_F(LayerNames, RenameOldNameIsLiteral) {
    add({QStringLiteral("P-1"), QStringLiteral("P.1"), QStringLiteral("Q11"),
         QStringLiteral("R11")});
    line.typeKeys(QStringLiteral("-layer r P.1 RENAMED_P \r"));
    EXPECT_NE(doc->drawing().findLayer(QStringLiteral("P-1")), nullptr);
    EXPECT_NE(doc->drawing().findLayer(QStringLiteral("RENAMED_P")), nullptr);
    EXPECT_EQ(doc->drawing().findLayer(QStringLiteral("P.1")), nullptr);
    line.typeKeys(QStringLiteral("-layer r R#1 X \r"));
    EXPECT_NE(doc->drawing().findLayer(QStringLiteral("R11")), nullptr);
    EXPECT_EQ(doc->drawing().findLayer(QStringLiteral("X")), nullptr);
    EXPECT_TRUE(log().contains(QStringLiteral("Cannot find layer \"R#1\".")));
    add({QStringLiteral("Q#1")});
    line.typeKeys(QStringLiteral("-layer r Q#1 X \r"));
    EXPECT_NE(doc->drawing().findLayer(QStringLiteral("Q11")), nullptr);
    EXPECT_NE(doc->drawing().findLayer(QStringLiteral("X")), nullptr);
}

// 5. A name is resolved once: an escaped "A`.1" freezes A.1 only, and
// "X`,Y" turns off the layer "X,Y" only.
TEST_F(LayerNames, NamesAreResolvedOnce) {
    add({QStringLiteral("A.1"), QStringLiteral("A-1"), QStringLiteral("X,Y"), QStringLiteral("X"),
         QStringLiteral("Y")});
    line.typeKeys(QStringLiteral("-layer f A`.1 \r"));
    EXPECT_EQ(frozen(), QStringList{QStringLiteral("A.1")});
    line.typeKeys(QStringLiteral("-layer off X`,Y \r"));
    EXPECT_EQ(off(), QStringList{QStringLiteral("X,Y")});
}

// 6. Every -LAYER option changes each layer it names exactly once, however
// the names read as patterns: the work is one pass over the named layers.
TEST_F(LayerNames, EachNamedLayerIsChangedOnce) {
    QStringList names;
    // Read again as patterns, "L.5" would also name L-5, and "L#5" L05.
    for (int i = 0; i < 200; ++i)
        names << QStringLiteral("L%1").arg(i) << QStringLiteral("L.%1").arg(i)
              << QStringLiteral("L-%1").arg(i) << QStringLiteral("L#%1").arg(i)
              << QStringLiteral("L0%1").arg(i);
    add(names);
    const int n = static_cast<int>(doc->Layers()->Count()) - 1;  // all but the current one
    // OFF asks about the current layer "0": the second Enter answers No.
    for (const char* keys : {"f * \r", "t * \r", "off * \r\r", "on * \r", "lo * \r", "u * \r",
                             "c 3 * \r", "p n * \r", "lw 0.3 * \r"}) {
        changes = 0;
        line.typeKeys(QStringLiteral("-layer ") + QLatin1String(keys));
        EXPECT_EQ(line.prompt(), QStringLiteral("Command: ")) << keys;
        // The current layer "0" is named too, except where it is left out;
        // one more notice comes when the command's undo step closes.
        EXPECT_GE(changes, n) << keys;
        EXPECT_LE(changes, n + 2) << keys << "\n" << log().toStdString();
    }
    EXPECT_EQ(frozen(), QStringList());
    EXPECT_EQ(off(), QStringList());
}
