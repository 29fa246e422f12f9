#include <gtest/gtest.h>

#include <QStringList>

#include "platform/KeyNotation.h"

namespace {

using platform::KeyStroke;
using platform::parseKeys;

QList<int> keysOf(const QList<KeyStroke>& strokes) {
    QList<int> out;
    for (const KeyStroke& s : strokes)
        out.append(s.key);
    return out;
}

QString textOf(const QList<KeyStroke>& strokes) {
    QString out;
    for (const KeyStroke& s : strokes)
        out += s.text;
    return out;
}

// The script command line: Escape twice, words, and carriage returns as Enter.
TEST(KeyNotation, ScriptCommandSequence) {
    const auto strokes = parseKeys(QStringLiteral("{ESC}{ESC}filedia\r0\rscript\r"));
    ASSERT_TRUE(strokes);
    const QList<int> expected{Qt::Key_Escape, Qt::Key_Escape, Qt::Key_F,     Qt::Key_I,
                              Qt::Key_L,      Qt::Key_E,      Qt::Key_D,     Qt::Key_I,
                              Qt::Key_A,      Qt::Key_Return, Qt::Key_0,     Qt::Key_Return,
                              Qt::Key_S,      Qt::Key_C,      Qt::Key_R,     Qt::Key_I,
                              Qt::Key_P,      Qt::Key_T,      Qt::Key_Return};
    EXPECT_EQ(keysOf(*strokes), expected);
    EXPECT_EQ(strokes->at(2).text, QStringLiteral("f"));
    EXPECT_EQ(strokes->at(2).modifiers, Qt::NoModifier);
}

// "~", {ENTER}, a carriage return, a line feed and CR LF are each one Enter.
TEST(KeyNotation, EnterSpellings) {
    for (const QString& keys :
         {QStringLiteral("~"), QStringLiteral("{ENTER}"), QStringLiteral("{enter}"),
          QStringLiteral("\r"), QStringLiteral("\n"), QStringLiteral("\r\n")}) {
        const auto strokes = parseKeys(keys);
        ASSERT_TRUE(strokes) << keys.toStdString();
        ASSERT_EQ(strokes->size(), 1) << keys.toStdString();
        EXPECT_EQ(strokes->front().key, Qt::Key_Return);
    }
    EXPECT_EQ(parseKeys(QStringLiteral("\r\r"))->size(), 2);
}

// Named keys, with repeat counts.
TEST(KeyNotation, NamedKeysAndRepeats) {
    const auto strokes = parseKeys(QStringLiteral("{TAB}{BS}{DEL}{LEFT 3}{F12}{x 2}"));
    ASSERT_TRUE(strokes);
    const QList<int> expected{Qt::Key_Tab,  Qt::Key_Backspace, Qt::Key_Delete,
                              Qt::Key_Left, Qt::Key_Left,      Qt::Key_Left,
                              Qt::Key_F12,  Qt::Key_X,         Qt::Key_X};
    EXPECT_EQ(keysOf(*strokes), expected);
    EXPECT_EQ(strokes->back().text, QStringLiteral("x"));
    EXPECT_TRUE(parseKeys(QStringLiteral("{LEFT 0}"))->isEmpty());
}

// +, ^ and % hold Shift, Ctrl and Alt for one key or for a group; commands type no text.
TEST(KeyNotation, ModifiersAndGroups) {
    const auto strokes = parseKeys(QStringLiteral("+a^c%f+(xy)z^+{TAB}"));
    ASSERT_TRUE(strokes);
    ASSERT_EQ(strokes->size(), 7);
    EXPECT_EQ(strokes->at(0), (KeyStroke{Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A")}));
    EXPECT_EQ(strokes->at(1), (KeyStroke{Qt::Key_C, Qt::ControlModifier, {}}));
    EXPECT_EQ(strokes->at(2), (KeyStroke{Qt::Key_F, Qt::AltModifier, {}}));
    EXPECT_EQ(strokes->at(3), (KeyStroke{Qt::Key_X, Qt::ShiftModifier, QStringLiteral("X")}));
    EXPECT_EQ(strokes->at(4), (KeyStroke{Qt::Key_Y, Qt::ShiftModifier, QStringLiteral("Y")}));
    EXPECT_EQ(strokes->at(5), (KeyStroke{Qt::Key_Z, Qt::NoModifier, QStringLiteral("z")}));
    EXPECT_EQ(strokes->at(6).key, Qt::Key_Tab);
    EXPECT_EQ(strokes->at(6).modifiers, Qt::ControlModifier | Qt::ShiftModifier);
    // Nested groups add their modifiers to the outer ones.
    const auto nested = parseKeys(QStringLiteral("^(a+(b))"));
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->at(0).modifiers, Qt::ControlModifier);
    EXPECT_EQ(nested->at(1).modifiers, Qt::ControlModifier | Qt::ShiftModifier);
}

// A capital letter is typed with Shift, as on a keyboard.
TEST(KeyNotation, CapitalsUseShift) {
    const auto strokes = parseKeys(QStringLiteral("Ab"));
    ASSERT_TRUE(strokes);
    EXPECT_EQ(strokes->at(0), (KeyStroke{Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A")}));
    EXPECT_EQ(strokes->at(1), (KeyStroke{Qt::Key_B, Qt::NoModifier, QStringLiteral("b")}));
}

// Braces type the notation's special characters literally, one stroke each.
TEST(KeyNotation, BracedSpecialsAreLiteral) {
    const auto strokes = parseKeys(QStringLiteral("{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}"));
    ASSERT_TRUE(strokes);
    EXPECT_EQ(strokes->size(), 10);
    EXPECT_EQ(textOf(*strokes), QStringLiteral("+^%~(){}[]"));
    for (const KeyStroke& s : *strokes)
        EXPECT_EQ(s.modifiers, Qt::NoModifier) << s.text.toStdString();
}

// Text beyond ASCII is typed character by character, a surrogate pair as one.
TEST(KeyNotation, UnicodeCharacters) {
    const QString text = QStringLiteral("画層") + QString::fromUcs4(U"\U0001F600");
    const auto strokes = parseKeys(text);
    ASSERT_TRUE(strokes);
    EXPECT_EQ(strokes->size(), 3);
    EXPECT_EQ(textOf(*strokes), text);
}

// Malformed notation is refused with a reason.
TEST(KeyNotation, MalformedIsRefused) {
    for (const QString& keys :
         {QStringLiteral("{ESC"), QStringLiteral("abc+"), QStringLiteral("(ab"),
          QStringLiteral("ab)"), QStringLiteral("{NOPE}"), QStringLiteral("}"),
          QStringLiteral("{}"), QStringLiteral("+)"), QStringLiteral("^(a")}) {
        QString error;
        EXPECT_FALSE(parseKeys(keys, &error)) << keys.toStdString();
        EXPECT_FALSE(error.isEmpty()) << keys.toStdString();
    }
}

// Escaped text parses back to exactly the text, with no modifier anywhere.
TEST(KeyNotation, EscapedTextTypesItself) {
    const QStringList samples{
        QStringLiteral("/home/u/TOVA/tmp_tova_script.scr"),
        QStringLiteral("/d/a+b^c%d~e(f)g{h}i[j]k/x.scr"),
        QStringLiteral("{}}{{(+)}"),
        QStringLiteral("C:\\図面\\設計 (改)\\100%+.scr"),
        QStringLiteral("~^%+"),
    };
    for (const QString& s : samples) {
        const QString escaped = platform::escapeKeys(s);
        const auto strokes = parseKeys(escaped);
        ASSERT_TRUE(strokes) << escaped.toStdString();
        EXPECT_EQ(textOf(*strokes), s);
        for (const KeyStroke& k : *strokes)
            EXPECT_FALSE(k.modifiers & (Qt::ControlModifier | Qt::AltModifier));
    }
    EXPECT_EQ(platform::escapeKeys(QStringLiteral("a+b")), QStringLiteral("a{+}b"));
    EXPECT_EQ(platform::escapeKeys(QStringLiteral("[}")), QStringLiteral("{[}{}}"));
}

}  // namespace
