#include "platform/Ui.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

namespace {

QMessageBox::StandardButtons standardButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
            return QMessageBox::Ok;
        case Buttons::OKCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon messageIcon(Icon icon) {
    switch (icon) {
        case Icon::None:
            return QMessageBox::NoIcon;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// Boxes belong to the window the user is working in.
QWidget* boxParent() {
    return QApplication::activeWindow();
}

}  // namespace

Answer QtUi::messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    QMessageBox box(messageIcon(icon), title, text, standardButtons(buttons), boxParent());
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::OK;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return dismissAnswer(buttons);
    }
}

std::optional<QString> QtUi::inputBox(const QString& prompt, const QString& title,
                                      const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(boxParent(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtUi::openFileName(const QString& title, const QString& filter,
                                          const QString& initialPath) {
    const QString path = QFileDialog::getOpenFileName(boxParent(), title, initialPath, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

int QtUi::execDialog(QDialog& dialog) {
    return dialog.exec();
}

void QtUi::doEvents() {
    QCoreApplication::processEvents();
}

Answer dismissAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
            return Answer::OK;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::OKCancel:
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel:
            return Answer::Cancel;
    }
    return Answer::Cancel;
}

}  // namespace platform
