#pragma once

// Test-only hooks of the session, switched on by TOVA_TEST_HOOKS naming a
// folder (never set in use). With them:
// - every message box is appended to "messages.log" in that folder as one
//   JSON line {"title", "text", "buttons"} and answered by the first line of
//   "answers.txt" there (Yes, No, Cancel, OK or Retry; the line is used up),
//   or, when there is none, as closing the box does;
// - input boxes and file choosers are cancelled and dialogs rejected;
// - the session answers the STATUS, CLOSE and COMMAND requests.

#include <QString>

#include "platform/Ui.h"

namespace session {

// The folder of the hooks, empty when they are off.
QString testHooksFolder();

class RecordingUi : public platform::Ui {
public:
    explicit RecordingUi(QString folder);
    platform::Answer messageBox(const QString& text, platform::Buttons buttons, platform::Icon icon,
                                const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> openFileName(const QString& title, const QString& filter,
                                        const QString& initialPath) override;
    int execDialog(QDialog& dialog) override;
    void doEvents() override;

private:
    void log(const QString& kind, const QString& title, const QString& text,
             const QString& buttons);
    std::optional<platform::Answer> takeAnswer();

    QString folder_;
    platform::QtUi events_;
};

}  // namespace session
