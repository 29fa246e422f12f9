#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "platform/ScriptedUi.h"

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::ScriptedUi;
using platform::UiRecord;

const QString kTitle = QStringLiteral("TovalenAutoCAD Ver2.01");

// A dialog with a name field and OK/Cancel, counting how it was closed.
class NameDialog : public QDialog {
public:
    NameDialog() {
        setObjectName(QStringLiteral("frmGetLayer"));
        setWindowTitle(QStringLiteral("画層名"));
        auto* layout = new QVBoxLayout(this);
        name = new QLineEdit(this);
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addWidget(name);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(this, &QDialog::accepted, this, [this] { ++accepts; });
        connect(this, &QDialog::rejected, this, [this] { ++rejects; });
    }
    // Refuses to close on OK while the name is empty.
    void accept() override {
        if (!name->text().isEmpty())
            QDialog::accept();
    }
    QLineEdit* name;
    QDialogButtonBox* buttons;
    int accepts = 0;
    int rejects = 0;
};

// Boxes shown as expected get the scripted answers, are recorded in order, and nothing fails.
TEST(ScriptedUi, AnswersExpectedBoxesInOrder) {
    ScriptedUi ui;
    ui.expectMessage(QStringLiteral("起動して宜しいですか？"), kTitle, Buttons::YesNo,
                     Icon::Warning, Answer::Yes);
    ui.expectInput(QStringLiteral("接頭"), QStringLiteral("A-"));
    ui.expectInput({}, std::nullopt);
    ui.expectOpenFile(QStringLiteral("/data/base.txt"));
    ui.expectOpenFile(std::nullopt);
    EXPECT_EQ(ui.pendingExpectations(), 5);

    EXPECT_EQ(ui.messageBox(QStringLiteral("起動して宜しいですか？"), Buttons::YesNo, Icon::Warning,
                            kTitle),
              Answer::Yes);
    EXPECT_EQ(ui.inputBox(QStringLiteral("接頭文字を入力"), kTitle, QStringLiteral("X")),
              std::optional<QString>(QStringLiteral("A-")));
    EXPECT_EQ(ui.inputBox(QStringLiteral("anything"), kTitle, {}), std::nullopt);
    EXPECT_EQ(ui.openFileName(QStringLiteral("ファイルを開く"), QStringLiteral("*.txt"),
                              QStringLiteral("/prog")),
              std::optional<QString>(QStringLiteral("/data/base.txt")));
    EXPECT_EQ(ui.openFileName(QStringLiteral("ファイルを開く"), {}, {}), std::nullopt);

    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
    EXPECT_TRUE(ui.allConsumed());
    ASSERT_EQ(ui.records().size(), 5);
    EXPECT_EQ(ui.records()[0].kind, UiRecord::Kind::Message);
    EXPECT_EQ(ui.records()[0].icon, Icon::Warning);
    EXPECT_EQ(ui.records()[1].kind, UiRecord::Kind::Input);
    EXPECT_EQ(ui.records()[1].defaultText, QStringLiteral("X"));
    EXPECT_EQ(ui.records()[3].filter, QStringLiteral("*.txt"));
    EXPECT_EQ(ui.records()[3].initialPath, QStringLiteral("/prog"));
}

// Any difference in text, title, buttons or icon is a failure; the scripted answer still stands.
TEST(ScriptedUi, MismatchIsRecorded) {
    struct Case {
        QString text, title;
        Buttons buttons;
        Icon icon;
    };
    const Case shown[] = {
        {QStringLiteral("done."), kTitle, Buttons::OK, Icon::Information},       // text
        {QStringLiteral("done"), QStringLiteral("TovalenAutoCAD"), Buttons::OK,  // title
         Icon::Information},
        {QStringLiteral("done"), kTitle, Buttons::OKCancel, Icon::Information},  // buttons
        {QStringLiteral("done"), kTitle, Buttons::OK, Icon::Warning},            // icon
    };
    for (const Case& c : shown) {
        ScriptedUi ui;
        ui.expectMessage(QStringLiteral("done"), kTitle, Buttons::OK, Icon::Information,
                         Answer::OK);
        EXPECT_EQ(ui.messageBox(c.text, c.buttons, c.icon, c.title), Answer::OK);
        ASSERT_EQ(ui.failures().size(), 1);
        EXPECT_TRUE(ui.failures().front().contains(QStringLiteral("but got")));
        EXPECT_TRUE(ui.allConsumed());
    }
    ScriptedUi ui;
    ui.expectInput(QStringLiteral("新しい画層名"), QStringLiteral("B"));
    EXPECT_EQ(ui.inputBox(QStringLiteral("接頭文字"), kTitle, {}),
              std::optional<QString>(QStringLiteral("B")));
    EXPECT_EQ(ui.failures().size(), 1);
}

// A box nobody expected is a failure and gets the answer that does least.
TEST(ScriptedUi, UnexpectedIsRecorded) {
    ScriptedUi ui;
    EXPECT_EQ(ui.messageBox(QStringLiteral("q"), Buttons::YesNo, Icon::Question, kTitle),
              Answer::No);
    EXPECT_EQ(ui.messageBox(QStringLiteral("q"), Buttons::YesNoCancel, Icon::Question, kTitle),
              Answer::Cancel);
    EXPECT_EQ(ui.messageBox(QStringLiteral("i"), Buttons::OK, Icon::Information, kTitle),
              Answer::OK);
    EXPECT_EQ(ui.inputBox(QStringLiteral("p"), kTitle, QStringLiteral("d")), std::nullopt);
    EXPECT_EQ(ui.openFileName(QStringLiteral("t"), {}, {}), std::nullopt);
    NameDialog dialog;
    EXPECT_EQ(ui.execDialog(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ui.failures().size(), 6);
    EXPECT_EQ(ui.records().size(), 6);
    EXPECT_TRUE(ui.failures().front().startsWith(QStringLiteral("unexpected")));
}

// A box of another kind than expected fails and leaves the expectation for its own box.
TEST(ScriptedUi, KindMismatchKeepsTheExpectation) {
    ScriptedUi ui;
    ui.expectMessage(QStringLiteral("m"), kTitle, Buttons::OK, Icon::None, Answer::OK);
    EXPECT_EQ(ui.inputBox(QStringLiteral("p"), kTitle, {}), std::nullopt);
    EXPECT_EQ(ui.failures().size(), 1);
    EXPECT_FALSE(ui.allConsumed());
    EXPECT_EQ(ui.pendingDescriptions().size(), 1);
    EXPECT_EQ(ui.messageBox(QStringLiteral("m"), Buttons::OK, Icon::None, kTitle), Answer::OK);
    EXPECT_TRUE(ui.allConsumed());
    EXPECT_EQ(ui.failures().size(), 1);
}

// An answer the expected box does not offer can never be given.
TEST(ScriptedUi, ImpossibleAnswerFailsAtOnce) {
    ScriptedUi ui;
    ui.expectMessage(QStringLiteral("m"), kTitle, Buttons::YesNo, Icon::None, Answer::Retry);
    EXPECT_EQ(ui.failures().size(), 1);
}

// A driven dialog closes through its own buttons and the result is the dialog's own.
TEST(ScriptedUi, DialogClosedByItsButtons) {
    ScriptedUi ui;
    ui.expectDialog(
        [](QDialog& d) {
            auto& dialog = static_cast<NameDialog&>(d);
            EXPECT_TRUE(dialog.isVisible());
            dialog.name->setText(QStringLiteral("A-1"));
            dialog.buttons->button(QDialogButtonBox::Ok)->click();
            return QDialog::Rejected;  // ignored: the dialog already closed
        },
        QStringLiteral("frmGetLayer"));
    NameDialog dialog;
    EXPECT_EQ(ui.execDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.accepts, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
    ASSERT_EQ(ui.records().size(), 1);
    EXPECT_EQ(ui.records()[0].objectName, QStringLiteral("frmGetLayer"));
    EXPECT_EQ(ui.records()[0].title, QStringLiteral("画層名"));
}

// A dialog left open is closed through its own accept(), reject() or done() with drive's answer.
TEST(ScriptedUi, DialogClosedWithDrivesAnswer) {
    ScriptedUi ui;
    ui.expectDialog([](QDialog& d) {
        static_cast<NameDialog&>(d).name->setText(QStringLiteral("x"));
        return int(QDialog::Accepted);
    });
    ui.expectDialog([](QDialog&) { return int(QDialog::Rejected); });
    ui.expectDialog([](QDialog&) { return 7; });
    NameDialog first;
    NameDialog second;
    NameDialog third;
    EXPECT_EQ(ui.execDialog(first), QDialog::Accepted);
    EXPECT_EQ(first.accepts, 1);
    EXPECT_EQ(ui.execDialog(second), QDialog::Rejected);
    EXPECT_EQ(second.rejects, 1);
    EXPECT_EQ(ui.execDialog(third), 7);
    EXPECT_FALSE(third.isVisible());
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
}

// A dialog that refuses to close, or has another name than expected, is a failure.
TEST(ScriptedUi, DialogFailures) {
    ScriptedUi ui;
    ui.expectDialog([](QDialog&) { return int(QDialog::Accepted); });  // name left empty
    ui.expectDialog([](QDialog&) { return int(QDialog::Rejected); }, QStringLiteral("frmOption"));
    NameDialog refusing;
    EXPECT_EQ(ui.execDialog(refusing), QDialog::Rejected);
    EXPECT_FALSE(refusing.isVisible());
    NameDialog misnamed;
    ui.execDialog(misnamed);
    ASSERT_EQ(ui.failures().size(), 2);
    EXPECT_TRUE(ui.failures()[0].contains(QStringLiteral("did not close")));
    EXPECT_TRUE(ui.failures()[1].contains(QStringLiteral("frmOption")));
}

// Letting events run is counted and runs queued work.
TEST(ScriptedUi, DoEventsRunsPendingEvents) {
    ScriptedUi ui;
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    ui.doEvents();
    EXPECT_TRUE(ran);
    EXPECT_EQ(ui.doEventsCount(), 1);
}

// Acts on the next modal widget of type W once it is shown, from the event
// loop. A widget still open after the act (a file chooser that is still
// reading its folder may refuse an accept) gets the act again, so the run
// never waits on it for good; a widget that never closes is closed.
template <typename W>
void whenModal(std::function<void(W*)> act) {
    auto* timer = new QTimer(qApp);  // deleted with the application if never run again
    auto tries = std::make_shared<int>(0);
    auto target = std::make_shared<QPointer<W>>();
    auto acted = std::make_shared<bool>(false);
    auto finish = [timer] {
        timer->stop();
        timer->deleteLater();
    };
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (*acted) {
            if (target->isNull() || !(*target)->isVisible()) {
                finish();
            } else if (++*tries > 500) {
                (*target)->close();
                finish();
            } else {
                act(target->data());
            }
            return;
        }
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            *target = w;
            *acted = true;
            *tries = 0;
            act(w);
        } else if (++*tries > 500) {  // give up rather than hang the run
            if (QWidget* any = QApplication::activeModalWidget())
                any->close();
            finish();
        }
    });
    timer->start(10);
}

// The real message box shows the text, title, icon and buttons and maps the clicked button.
TEST(QtUi, MessageBoxMapsButtonsAndIcon) {
    platform::QtUi ui;
    QString seenText, seenTitle;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons seenButtons;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        seenText = box->text();
        seenTitle = box->windowTitle();
        seenIcon = box->icon();
        seenButtons = box->standardButtons();
        box->button(QMessageBox::No)->click();
    });
    const Answer a =
        ui.messageBox(QStringLiteral("タイリング？"), Buttons::YesNoCancel, Icon::Question, kTitle);
    EXPECT_EQ(a, Answer::No);
    EXPECT_EQ(seenText, QStringLiteral("タイリング？"));
    EXPECT_EQ(seenTitle, kTitle);
    EXPECT_EQ(seenIcon, QMessageBox::Question);
    EXPECT_EQ(seenButtons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Retry)->click(); });
    EXPECT_EQ(ui.messageBox(QStringLiteral("r"), Buttons::RetryCancel, Icon::Critical, kTitle),
              Answer::Retry);
}

// The real input box gives the typed text, or nothing when cancelled.
TEST(QtUi, InputBoxGivesTextOrCancel) {
    platform::QtUi ui;
    QString seenDefault;
    whenModal<QInputDialog>([&](QInputDialog* box) {
        seenDefault = box->textValue();
        box->setTextValue(QStringLiteral("typed"));
        box->accept();
    });
    EXPECT_EQ(ui.inputBox(QStringLiteral("prompt"), kTitle, QStringLiteral("default")),
              std::optional<QString>(QStringLiteral("typed")));
    EXPECT_EQ(seenDefault, QStringLiteral("default"));
    whenModal<QInputDialog>([](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(ui.inputBox(QStringLiteral("prompt"), kTitle, {}), std::nullopt);
}

// The real file chooser starts where asked and offers the filters; closing it
// gives no path. (Accepting it is not driven here: the chooser reads its
// folder in a thread, and an early accept meets a "file not found" box.)
TEST(QtUi, OpenFileNameShowsTheChooser) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString filter = QStringLiteral("テキストファイル(*.txt);;スクリプトファイル(*.scr)");
    platform::QtUi ui;
    QString seenTitle;
    QStringList seenFilters;
    QString seenFolder;
    whenModal<QFileDialog>([&](QFileDialog* d) {
        seenTitle = d->windowTitle();
        seenFilters = d->nameFilters();
        seenFolder = d->directory().absolutePath();
        d->reject();
    });
    EXPECT_EQ(ui.openFileName(QStringLiteral("ファイルを開く"), filter, dir.path()), std::nullopt);
    EXPECT_EQ(seenTitle, QStringLiteral("ファイルを開く"));
    EXPECT_EQ(seenFilters, filter.split(QStringLiteral(";;")));
    EXPECT_EQ(seenFolder, QDir(dir.path()).absolutePath());
}

// The real dialog runs modally and returns its own result.
TEST(QtUi, ExecDialogReturnsTheResult) {
    platform::QtUi ui;
    NameDialog dialog;
    whenModal<QDialog>([](QDialog* d) {
        static_cast<NameDialog*>(d)->name->setText(QStringLiteral("n"));
        d->accept();
    });
    EXPECT_EQ(ui.execDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.accepts, 1);
}

}  // namespace
