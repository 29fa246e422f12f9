#pragma once

// The Ui port: every message box, input box, file chooser and modal dialog of
// the tool goes through it, so tests can answer them from a script.

#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace platform {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Critical, Question, Warning, Information };
enum class Answer { OK, Cancel, Yes, No, Retry };

// What closing a box without pressing a button means: its Cancel, else its
// No, else OK.
Answer dismissAnswer(Buttons buttons);

class Ui {
public:
    virtual ~Ui() = default;
    virtual Answer messageBox(const QString& text, Buttons buttons, Icon icon,
                              const QString& title) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // filter in Qt's form: "Text (*.txt);;Script (*.scr)", the first one selected.
    // nullopt when the user cancels.
    virtual std::optional<QString> openFileName(const QString& title, const QString& filter,
                                                const QString& initialPath) = 0;
    // Runs a modal dialog and returns its result code (QDialog::Accepted ...).
    virtual int execDialog(QDialog& dialog) = 0;
    // Lets pending window events run.
    virtual void doEvents() = 0;
};

// The width, in pixels, a window needs so that the window manager shows its
// title whole. The real port's message and input boxes are at least this wide.
int titleBarWidth(const QWidget& window, const QString& title);

// The real port: QMessageBox, QInputDialog, QFileDialog, QDialog::exec.
class QtUi : public Ui {
public:
    Answer messageBox(const QString& text, Buttons buttons, Icon icon,
                      const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> openFileName(const QString& title, const QString& filter,
                                        const QString& initialPath) override;
    int execDialog(QDialog& dialog) override;
    void doEvents() override;
};

}  // namespace platform
