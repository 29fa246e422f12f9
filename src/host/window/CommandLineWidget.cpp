#include "host/window/CommandLineWidget.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "host/command/CommandLine.h"

namespace host {

CommandLineWidget::CommandLineWidget(CommandLine& commandLine, QWidget* parent)
    : QWidget(parent), cmd_(commandLine) {
    setObjectName(QStringLiteral("CommandLine"));
    setFocusPolicy(Qt::StrongFocus);
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    history_ = new QPlainTextEdit(this);
    history_->setReadOnly(true);
    history_->setFocusPolicy(Qt::NoFocus);
    history_->setMaximumBlockCount(2000);
    history_->setFont(mono);
    inputLine_ = new QLabel(this);
    inputLine_->setFont(mono);
    inputLine_->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    layout->addWidget(history_, 1);
    layout->addWidget(inputLine_);
    const QFontMetrics fm(mono);
    setFixedHeight(fm.lineSpacing() * 5 + 16);
    connect(&cmd_, &CommandLine::historyAppended, this,
            [this](const QString& line) { history_->appendPlainText(line); });
    connect(&cmd_, &CommandLine::promptChanged, this, [this] { updateInputLine(); });
    connect(&cmd_, &CommandLine::inputChanged, this, [this] { updateInputLine(); });
    for (const QString& line : cmd_.history())
        history_->appendPlainText(line);
    updateInputLine();
}

QString CommandLineWidget::historyText() const {
    return history_->toPlainText();
}

void CommandLineWidget::updateInputLine() {
    inputLine_->setText(cmd_.prompt() + cmd_.input());
}

bool CommandLineWidget::handleKey(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            cmd_.enter();
            return true;
        case Qt::Key_Escape:
            cmd_.escape();
            return true;
        case Qt::Key_Backspace:
            cmd_.typeChar(QChar(0x08));
            return true;
        default:
            break;
    }
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n')
            cmd_.enter();
        else if (c == QChar(0x1b))
            cmd_.escape();
        else if (c.isPrint())
            cmd_.typeChar(c);
    }
    return true;
}

void CommandLineWidget::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event))
        QWidget::keyPressEvent(event);
}

}  // namespace host
