// The real Ui port in Japanese: Qt's translations give the standard buttons
// Japanese texts, and message and input boxes are wide enough for their
// titles. Runs in its own test program, since the translator it installs
// holds for the whole process.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "platform/Procedure.h"
#include "platform/Translations.h"
#include "platform/Ui.h"

namespace {

// Runs inspect on the first modal window that opens, from inside its exec.
void onNextModal(std::function<void(QWidget&)> inspect) {
    auto* timer = new QTimer(qApp);  // deleted with the application if never run again
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        inspect(*modal);
    });
    timer->start();
}

int boldTitleAdvance(const QWidget& w) {
    QFont bold = w.font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(w.windowTitle());
}

class QtUiInJapanese : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installed = platform::installQtTranslations(*qApp); }
    static inline bool installed = false;
    platform::QtUi ui;
};

}  // namespace

// A Yes/No/Cancel question reads はい / いいえ / キャンセル, and a box with a
// short text is still as wide as its long title.
TEST_F(QtUiInJapanese, MessageBoxButtonsAndTitle) {
    ASSERT_TRUE(installed) << "Qt's Japanese translations are not installed";
    QStringList texts;
    int width = 0;
    int titleAdvance = 0;
    onNextModal([&](QWidget& w) {
        auto& box = static_cast<QMessageBox&>(w);
        for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            texts << box.button(b)->text();
        width = box.width();
        titleAdvance = boldTitleAdvance(box);
        box.button(QMessageBox::Cancel)->click();
    });
    const QString title = QStringLiteral("404 Not Find AutoCAD.Application");
    EXPECT_EQ(ui.messageBox(QStringLiteral("はい？"), platform::Buttons::YesNoCancel,
                            platform::Icon::Question, title),
              platform::Answer::Cancel);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("はい"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("いいえ"))) << texts[1].toStdString();
    EXPECT_TRUE(texts[2].startsWith(QStringLiteral("キャンセル"))) << texts[2].toStdString();
    // The title, and beside it at least the icon and three buttons of a
    // title bar, each about a line wide.
    const int line = QFontMetrics(qApp->font()).height();
    EXPECT_GE(width, titleAdvance + 4 * line) << width << " " << titleAdvance;
}

// An OK box with the program's title: OK stays OK, the title fits.
TEST_F(QtUiInJapanese, ShortMessageKeepsTheProgramTitle) {
    int width = 0;
    int titleAdvance = 0;
    onNextModal([&](QWidget& w) {
        auto& box = static_cast<QMessageBox&>(w);
        width = box.width();
        titleAdvance = boldTitleAdvance(box);
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ui.messageBox(QStringLiteral("終了"), platform::Buttons::OK,
                            platform::Icon::Information, platform::appTitle()),
              platform::Answer::OK);
    EXPECT_GE(width, titleAdvance + 4 * QFontMetrics(qApp->font()).height());
}

// The input box: Japanese OK and Cancel, wide enough for its title, and the
// typed text comes back.
TEST_F(QtUiInJapanese, InputBox) {
    QStringList buttons;
    int width = 0;
    int titleAdvance = 0;
    onNextModal([&](QWidget& w) {
        auto& box = static_cast<QInputDialog&>(w);
        for (QPushButton* b : box.findChildren<QPushButton*>())
            buttons << b->text();
        width = box.width();
        titleAdvance = boldTitleAdvance(box);
        box.setTextValue(QStringLiteral("壁-01"));
        box.accept();
    });
    const auto typed = ui.inputBox(QStringLiteral("画層名"),
                                   platform::appTitle() + QStringLiteral(" 画層名の入力"), {});
    EXPECT_EQ(typed, QStringLiteral("壁-01"));
    EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル"))) << buttons.join(',').toStdString();
    EXPECT_GE(width, titleAdvance);
}
