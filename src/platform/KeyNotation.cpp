#include "platform/KeyNotation.h"

#include <QHash>
#include <algorithm>

namespace platform {

namespace {

struct NamedKey {
    int key;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

const QHash<QString, NamedKey>& namedKeys() {
    static const QHash<QString, NamedKey> keys = [] {
        QHash<QString, NamedKey> k;
        const NamedKey backspace{Qt::Key_Backspace, QStringLiteral("\b")};
        const NamedKey del{Qt::Key_Delete, QStringLiteral("\x7f")};
        const NamedKey enter{Qt::Key_Return, QStringLiteral("\r")};
        const NamedKey escape{Qt::Key_Escape, QStringLiteral("\x1b")};
        const NamedKey insert{Qt::Key_Insert, {}};
        k.insert(QStringLiteral("BACKSPACE"), backspace);
        k.insert(QStringLiteral("BS"), backspace);
        k.insert(QStringLiteral("BKSP"), backspace);
        k.insert(QStringLiteral("BREAK"), {Qt::Key_Pause, {}});
        k.insert(QStringLiteral("CAPSLOCK"), {Qt::Key_CapsLock, {}});
        k.insert(QStringLiteral("DELETE"), del);
        k.insert(QStringLiteral("DEL"), del);
        k.insert(QStringLiteral("DOWN"), {Qt::Key_Down, {}});
        k.insert(QStringLiteral("END"), {Qt::Key_End, {}});
        k.insert(QStringLiteral("ENTER"), enter);
        k.insert(QStringLiteral("ESC"), escape);
        k.insert(QStringLiteral("ESCAPE"), escape);
        k.insert(QStringLiteral("HELP"), {Qt::Key_Help, {}});
        k.insert(QStringLiteral("HOME"), {Qt::Key_Home, {}});
        k.insert(QStringLiteral("INSERT"), insert);
        k.insert(QStringLiteral("INS"), insert);
        k.insert(QStringLiteral("LEFT"), {Qt::Key_Left, {}});
        k.insert(QStringLiteral("NUMLOCK"), {Qt::Key_NumLock, {}});
        k.insert(QStringLiteral("PGDN"), {Qt::Key_PageDown, {}});
        k.insert(QStringLiteral("PGUP"), {Qt::Key_PageUp, {}});
        k.insert(QStringLiteral("PRTSC"), {Qt::Key_Print, {}});
        k.insert(QStringLiteral("RIGHT"), {Qt::Key_Right, {}});
        k.insert(QStringLiteral("SCROLLLOCK"), {Qt::Key_ScrollLock, {}});
        k.insert(QStringLiteral("TAB"), {Qt::Key_Tab, QStringLiteral("\t")});
        k.insert(QStringLiteral("UP"), {Qt::Key_Up, {}});
        k.insert(QStringLiteral("ADD"), {Qt::Key_Plus, QStringLiteral("+"), Qt::KeypadModifier});
        k.insert(QStringLiteral("SUBTRACT"),
                 {Qt::Key_Minus, QStringLiteral("-"), Qt::KeypadModifier});
        k.insert(QStringLiteral("MULTIPLY"),
                 {Qt::Key_Asterisk, QStringLiteral("*"), Qt::KeypadModifier});
        k.insert(QStringLiteral("DIVIDE"),
                 {Qt::Key_Slash, QStringLiteral("/"), Qt::KeypadModifier});
        for (int f = 1; f <= 16; ++f)
            k.insert(QStringLiteral("F") + QString::number(f), {Qt::Key_F1 + f - 1, {}});
        return k;
    }();
    return keys;
}

bool isSpecial(QChar c) {
    return QStringView(u"+^%~(){}[]").contains(c);
}

// Text is typed only while no command modifier is held, as on a keyboard.
KeyStroke withModifiers(int key, QString text, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        text.clear();
    return KeyStroke{key, modifiers, std::move(text)};
}

// The stroke that types one character (a code point, one or two code units).
KeyStroke characterStroke(const QString& ch, Qt::KeyboardModifiers modifiers) {
    if (ch == QLatin1String("\t"))
        return withModifiers(Qt::Key_Tab, ch, modifiers);
    const char32_t code = ch.toUcs4().value(0);
    // A capital letter is typed with Shift; Shift on a small letter types the capital.
    QString text = ch;
    if (QChar::isUpper(code) && QChar::toLower(code) != code)
        modifiers |= Qt::ShiftModifier;
    else if ((modifiers & Qt::ShiftModifier) && QChar::toUpper(code) != code)
        text = ch.toUpper();
    // Qt names a character key by its capital (Key_A for "a"), like a keyboard does.
    return withModifiers(static_cast<int>(QChar::toUpper(code)), std::move(text), modifiers);
}

KeyStroke enterStroke(Qt::KeyboardModifiers modifiers) {
    return withModifiers(Qt::Key_Return, QStringLiteral("\r"), modifiers);
}

class Parser {
public:
    explicit Parser(const QString& keys) : s_(keys) {}

    std::optional<QList<KeyStroke>> run(QString* error) {
        const bool ok = sequence(Qt::NoModifier, false);
        if (!ok) {
            if (error)
                *error = error_;
            return std::nullopt;
        }
        return out_;
    }

private:
    bool fail(const QString& why) {
        error_ = why + QStringLiteral(" at position ") + QString::number(i_);
        return false;
    }

    // Items up to the end, or up to the ")" closing a group.
    bool sequence(Qt::KeyboardModifiers held, bool inGroup) {
        while (i_ < s_.size()) {
            if (s_[i_] == QLatin1Char(')')) {
                if (!inGroup)
                    return fail(QStringLiteral("\")\" without \"(\""));
                ++i_;
                return true;
            }
            if (!item(held))
                return false;
        }
        return inGroup ? fail(QStringLiteral("unclosed \"(\"")) : true;
    }

    bool item(Qt::KeyboardModifiers held) {
        Qt::KeyboardModifiers mods = held;
        for (; i_ < s_.size(); ++i_) {
            const QChar c = s_[i_];
            if (c == QLatin1Char('+'))
                mods |= Qt::ShiftModifier;
            else if (c == QLatin1Char('^'))
                mods |= Qt::ControlModifier;
            else if (c == QLatin1Char('%'))
                mods |= Qt::AltModifier;
            else
                break;
        }
        if (i_ >= s_.size())
            return fail(QStringLiteral("modifier without a key"));
        const QChar c = s_[i_];
        if (c == QLatin1Char('(')) {
            if (depth_ >= kMaxGroupDepth)
                return fail(QStringLiteral("\"(\" の入れ子が深すぎます（上限は %1 段）")
                                .arg(kMaxGroupDepth));
            ++i_;
            ++depth_;
            const bool ok = sequence(mods, true);
            --depth_;
            return ok;
        }
        // Only reached after modifiers: sequence() takes a ")" in item position.
        if (c == QLatin1Char(')'))
            return fail(QStringLiteral("modifier without a key"));
        if (c == QLatin1Char('{'))
            return braced(mods);
        if (c == QLatin1Char('}'))
            return fail(QStringLiteral("\"}\" without \"{\""));
        if (c == QLatin1Char('~') || c == QLatin1Char('\n')) {
            ++i_;
            out_.append(enterStroke(mods));
            return true;
        }
        if (c == QLatin1Char('\r')) {
            ++i_;
            if (i_ < s_.size() && s_[i_] == QLatin1Char('\n'))
                ++i_;
            out_.append(enterStroke(mods));
            return true;
        }
        const int width = c.isHighSurrogate() && i_ + 1 < s_.size() ? 2 : 1;
        out_.append(characterStroke(s_.mid(i_, width), mods));
        i_ += width;
        return true;
    }

    // "{NAME}", "{c}" or either with a repeat count: "{NAME n}".
    bool braced(Qt::KeyboardModifiers mods) {
        // The first character inside may itself be "}" ("{}}").
        const qsizetype close = s_.indexOf(QLatin1Char('}'), i_ + 2);
        if (close < 0)
            return fail(QStringLiteral("unclosed \"{\""));
        QString name = s_.mid(i_ + 1, close - i_ - 1);
        long long count = 1;
        const qsizetype space = name.lastIndexOf(QLatin1Char(' '));
        if (space > 0) {
            const QString digits = name.mid(space + 1);
            const bool allDigits =
                !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) {
                    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                });
            if (allDigits) {
                // A count too long for a number is past the limit as well.
                bool ok = false;
                const long long n = digits.toLongLong(&ok);
                if (!ok || n > kMaxKeyRepeat)
                    return fail(QStringLiteral("キーの繰り返し回数 %1 が多すぎます（上限は %2 回）")
                                    .arg(digits)
                                    .arg(kMaxKeyRepeat));
                count = n;
                name.truncate(space);
            }
        }
        QList<KeyStroke> strokes;
        if (name.size() == 1 || (name.size() == 2 && name[0].isHighSurrogate())) {
            strokes.append(characterStroke(name, mods));
        } else if (const auto it = namedKeys().constFind(name.toUpper());
                   it != namedKeys().constEnd()) {
            strokes.append(withModifiers(it->key, it->text, mods | it->modifiers));
        } else {
            return fail(QStringLiteral("unknown key \"") + name + QStringLiteral("\""));
        }
        for (long long n = 0; n < count; ++n)
            out_ += strokes;
        i_ = close + 1;
        return true;
    }

    const QString& s_;
    qsizetype i_ = 0;
    int depth_ = 0;  // "(...)" groups open around the item being read
    QList<KeyStroke> out_;
    QString error_;
};

}  // namespace

std::optional<QList<KeyStroke>> parseKeys(const QString& keys, QString* error) {
    return Parser(keys).run(error);
}

QString escapeKeys(const QString& literal) {
    QString out;
    out.reserve(literal.size() * 2);
    for (const QChar c : literal) {
        if (isSpecial(c)) {
            out += QLatin1Char('{');
            out += c;
            out += QLatin1Char('}');
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace platform
