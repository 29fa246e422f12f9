#pragma once

// A Ui that answers from a script, for tests. The test queues what it expects
// the code under test to show, in order, with the answer to give; the
// ScriptedUi records every box shown and notes as a failure every box that
// was not expected or differs from the expectation (texts compared exactly).
// Failures are collected, never thrown: boxes are shown from event handlers.
// A box nobody expected gets the answer that does least (Cancel, else No,
// else OK; an input box or file chooser is cancelled; a dialog is not shown
// and counts as rejected).
//
//   platform::ScriptedUi ui;
//   ui.expectMessage(text, title, Buttons::YesNo, Icon::Warning, Answer::Yes);
//   ... run the code ...
//   EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n');
//   EXPECT_TRUE(ui.allConsumed());

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "platform/Ui.h"

namespace platform {

// One box the code under test showed.
struct UiRecord {
    enum class Kind { Message, Input, OpenFile, Dialog };
    Kind kind = Kind::Message;
    QString text;   // message text, input prompt
    QString title;  // box title, dialog window title
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    QString defaultText;  // input boxes
    QString filter;       // file choosers
    QString initialPath;  // file choosers
    QString objectName;   // dialogs

    // One line for failure messages and logs.
    QString describe() const;
};

class ScriptedUi : public Ui {
public:
    // The answer Ui::execDialog gives back; the function may set the dialog's
    // controls and click its buttons.
    using DialogDriver = std::function<int(QDialog&)>;

    // A message box with exactly this text, title, buttons and icon, answered with answer.
    // whileShown runs before the answer, as events a real box lets through would.
    void expectMessage(const QString& text, const QString& title, Buttons buttons, Icon icon,
                       Answer answer, std::function<void()> whileShown = {});
    // An input box whose prompt contains promptContains (any prompt when
    // empty), answered with answer; nullopt cancels.
    void expectInput(const QString& promptContains, std::optional<QString> answer);
    // A file chooser, answered with answer; nullopt cancels.
    void expectOpenFile(std::optional<QString> answer);
    // A modal dialog, driven by drive. When objectName is given the dialog must carry it.
    //
    // The dialog is opened without blocking (QDialog::open), so its own
    // accept(), reject() and done() work as under exec(), then drive runs.
    // If drive closed the dialog (by a button or accept()), execDialog returns
    // the dialog's own result; if the dialog is still open, drive's return
    // value is applied through the dialog's accept() (Accepted), reject()
    // (Rejected) or done(code), so its own closing logic runs. A dialog that
    // still refuses to close is a failure and is closed as rejected.
    void expectDialog(DialogDriver drive, const QString& objectName = {});

    // Every box shown, in order.
    const QList<UiRecord>& records() const { return records_; }
    // Boxes that were not expected or differed from the expectation, and
    // expectations that could never be met; empty when all went as scripted.
    const QStringList& failures() const { return failures_; }
    // Whether every expectation was met by a box.
    bool allConsumed() const { return expected_.empty(); }
    int pendingExpectations() const { return static_cast<int>(expected_.size()); }
    // Descriptions of the expectations not met yet.
    QStringList pendingDescriptions() const;
    // How often the code let pending events run.
    int doEventsCount() const { return doEvents_; }

    // Ui
    Answer messageBox(const QString& text, Buttons buttons, Icon icon,
                      const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> openFileName(const QString& title, const QString& filter,
                                        const QString& initialPath) override;
    int execDialog(QDialog& dialog) override;
    void doEvents() override;

private:
    struct Expectation {
        UiRecord::Kind kind;
        QString text;  // exact message text, or the part an input prompt must contain
        QString title;
        Buttons buttons = Buttons::OK;
        Icon icon = Icon::None;
        Answer answer = Answer::OK;
        std::optional<QString> textAnswer;
        DialogDriver drive;
        QString objectName;
        std::function<void()> whileShown;

        QString describe() const;
    };

    // The next expectation when it is of kind; records a failure otherwise.
    std::optional<Expectation> take(const UiRecord& shown);
    void fail(const QString& why) { failures_.append(why); }

    std::deque<Expectation> expected_;
    QList<UiRecord> records_;
    QStringList failures_;
    int doEvents_ = 0;
};

}  // namespace platform
