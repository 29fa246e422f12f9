#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/Keystrokes.h"
#include "platform/Windows.h"

namespace {

// A command line like the host's: Enter runs the line, Escape cancels it.
class CommandLine : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    QStringList commands;
    int escapes = 0;
    QList<QPair<int, Qt::KeyboardModifiers>> presses;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        presses.append({e->key(), e->modifiers()});
        if (e->key() == Qt::Key_Return) {
            commands.append(text());
            clear();
        } else if (e->key() == Qt::Key_Escape) {
            ++escapes;
            clear();
        } else {
            QLineEdit::keyPressEvent(e);
        }
    }
};

// A top-level window holding one or more command lines, the first focused.
class Window : public QWidget {
public:
    explicit Window(int lines = 1) {
        auto* layout = new QVBoxLayout(this);
        for (int i = 0; i < lines; ++i) {
            auto* line = new CommandLine(this);
            layout->addWidget(line);
            this->lines.append(line);
        }
        show();
        this->lines.front()->setFocus();
    }
    QList<CommandLine*> lines;
};

void foreground(QWidget& w) {
    ASSERT_TRUE(platform::bringToForeground(platform::handleOf(&w)));
}

// The script command reaches the command line: two Escapes, then three Enter-ended lines.
TEST(Keystrokes, ScriptCommandReachesKeyPressEvent) {
    Window w;
    foreground(w);
    CommandLine* line = w.lines.front();
    line->setText(QStringLiteral("half-typed"));
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("{ESC}{ESC}filedia\r0\rscript\r"), true));
    EXPECT_EQ(line->escapes, 2);
    EXPECT_EQ(line->commands, (QStringList{QStringLiteral("filedia"), QStringLiteral("0"),
                                           QStringLiteral("script")}));
    EXPECT_TRUE(line->text().isEmpty());
}

// An escaped path with every special character arrives unchanged.
TEST(Keystrokes, EscapedPathArrivesLiterally) {
    QWidget w;
    auto* edit = new QLineEdit(&w);
    w.show();
    edit->setFocus();
    foreground(w);
    const QString path = QStringLiteral("/tmp/a+b^c%d~e(f)g{h}i[j]k 画層/tmp_tova_script.scr");
    ASSERT_TRUE(platform::sendKeys(platform::escapeKeys(path), true));
    EXPECT_EQ(edit->text().toStdString(), path.toStdString());
}

// Modifiers arrive with their keys.
TEST(Keystrokes, ModifiersReachTheWidget) {
    Window w;
    foreground(w);
    CommandLine* line = w.lines.front();
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("+a^b%c"), true));
    ASSERT_EQ(line->presses.size(), 3);
    EXPECT_EQ(line->presses[0],
              qMakePair(int(Qt::Key_A), Qt::KeyboardModifiers(Qt::ShiftModifier)));
    EXPECT_EQ(line->presses[1],
              qMakePair(int(Qt::Key_B), Qt::KeyboardModifiers(Qt::ControlModifier)));
    EXPECT_EQ(line->presses[2], qMakePair(int(Qt::Key_C), Qt::KeyboardModifiers(Qt::AltModifier)));
    EXPECT_EQ(line->text(), QStringLiteral("A"));
    // Ctrl+A selects all, so the next character replaces the line.
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("bc^ax"), true));
    EXPECT_EQ(line->text(), QStringLiteral("x"));
}

// Keys go to the recorded foreground window, whichever was shown last.
TEST(Keystrokes, KeysFollowTheForegroundRecord) {
    Window a;
    Window b;
    foreground(b);
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("to b~"), true));
    foreground(a);
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("to a~"), true));
    EXPECT_EQ(a.lines.front()->commands, QStringList{QStringLiteral("to a")});
    EXPECT_EQ(b.lines.front()->commands, QStringList{QStringLiteral("to b")});
}

// Each key goes to the widget that has the focus when it arrives: Tab moves it.
TEST(Keystrokes, FocusIsResolvedPerKey) {
    Window w(2);
    foreground(w);
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("one{TAB}two"), true));
    EXPECT_EQ(w.lines[0]->text(), QStringLiteral("one"));
    EXPECT_EQ(w.lines[1]->text(), QStringLiteral("two"));
}

// Without waiting, the keys arrive later, from the event loop, in order.
TEST(Keystrokes, WithoutWaitKeysArriveFromTheEventLoop) {
    Window w;
    foreground(w);
    CommandLine* line = w.lines.front();
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("abc"), false));
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("def~"), false));
    EXPECT_TRUE(line->text().isEmpty());
    EXPECT_EQ(platform::pendingKeys(), 7);
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform::pendingKeys() == 0; }, 5000));
    EXPECT_EQ(line->commands, QStringList{QStringLiteral("abcdef")});
}

// A modal dialog over the foreground window takes the keys, as it would from a keyboard.
TEST(Keystrokes, ModalDialogTakesTheKeys) {
    Window w;
    foreground(w);
    QDialog dialog(&w);
    auto* edit = new QLineEdit(&dialog);
    dialog.open();
    edit->setFocus();
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("layer-1"), true));
    EXPECT_EQ(edit->text(), QStringLiteral("layer-1"));
    EXPECT_TRUE(w.lines.front()->text().isEmpty());
    // Escape reaches the dialog, which closes as rejected.
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("{ESC}"), true));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// Malformed notation types nothing at all.
TEST(Keystrokes, MalformedTypesNothing) {
    Window w;
    foreground(w);
    EXPECT_FALSE(platform::sendKeys(QStringLiteral("abc{ESC"), true));
    QApplication::processEvents();
    EXPECT_TRUE(w.lines.front()->presses.isEmpty());
    EXPECT_EQ(platform::pendingKeys(), 0);
}

}  // namespace
