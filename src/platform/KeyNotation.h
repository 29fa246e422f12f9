#pragma once

// The keystroke notation scripts are typed in (the classic SendKeys one):
//   plain characters type themselves; "~", carriage return and line feed are
//   Enter (a carriage return followed by a line feed is one Enter);
//   "+", "^" and "%" hold Shift, Ctrl and Alt for the next key or for a
//   "(...)" group; "{NAME}" names a key (ESC, ENTER, TAB, BS, DEL, arrows,
//   F1..F16, ...), "{c}" types a special character literally ("{+}", "{{}",
//   "{}}", "{~}", "{(}" ...), and "{NAME n}" repeats a key n times.

#include <QList>
#include <QString>
#include <Qt>
#include <optional>

namespace platform {

// The largest repeat count "{NAME n}" takes; a script never needs more than a
// few hundred, and a larger count is refused rather than typed.
constexpr int kMaxKeyRepeat = 1000;
// The deepest nesting of "(...)" groups; deeper notation is refused rather
// than parsed (each level holds a part of the parser's stack).
constexpr int kMaxGroupDepth = 100;

struct KeyStroke {
    int key = 0;  // a Qt::Key
    Qt::KeyboardModifiers modifiers;
    QString text;  // what the key types; empty for keys that type nothing

    bool operator==(const KeyStroke&) const = default;
};

// The strokes the notation stands for; nullopt (with a reason in error) for
// notation that is not well formed: an unclosed brace or group, a modifier
// with no key after it, an unknown key name, a repeat count above
// kMaxKeyRepeat, groups nested deeper than kMaxGroupDepth.
std::optional<QList<KeyStroke>> parseKeys(const QString& keys, QString* error = nullptr);

// literal in notation that types it unchanged: every character the notation
// treats specially (+ ^ % ~ ( ) { } [ ]) is put in braces, carriage returns
// and line feeds are kept (they stay Enter).
QString escapeKeys(const QString& literal);

}  // namespace platform
