#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace host {

class CommandLine;

// The command line at the bottom of the host window: a history pane and the
// prompt with what has been typed. Keys typed anywhere in the window arrive
// here and go to the interpreter as the CAD application takes them.
class CommandLineWidget : public QWidget {
    Q_OBJECT
public:
    CommandLineWidget(CommandLine& commandLine, QWidget* parent = nullptr);
    // Handles a key for the interpreter; false when it is not one it takes.
    bool handleKey(QKeyEvent* event);
    QString historyText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateInputLine();
    CommandLine& cmd_;
    QPlainTextEdit* history_;
    QLabel* inputLine_;
};

}  // namespace host
