#include "platform/Ui.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>

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

// Adds room for the title to a box's layout; false when it has none yet.
bool widenLayout(QWidget& box) {
    const int width = titleBarWidth(box, box.windowTitle());
    auto* room = new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(room, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    } else if (auto* column = qobject_cast<QBoxLayout*>(box.layout())) {
        column->addItem(room);
    } else {
        delete room;
        return false;
    }
    box.layout()->activate();
    return true;
}

// Widens a box whose layout is built as it is shown (the input box).
class WidenOnShow : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            widenLayout(static_cast<QWidget&>(*watched));
        }
        return false;
    }
};

// Makes a box at least as wide as its title needs: a box sized to a short
// text would have its title cut in the title bar. Message and input boxes
// size themselves from their layout's minimum, so the room is a spacer in
// the layout.
void keepTitleWhole(QWidget& box) {
    if (!widenLayout(box))
        box.installEventFilter(new WidenOnShow(&box));
}

}  // namespace

int titleBarWidth(const QWidget& window, const QString& title) {
    // Window managers draw titles in a bold face about the size of the
    // window's font; beside the title sit the window icon and up to three
    // buttons, each about a line and a half wide.
    QFont bold = window.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(title) + 6 * metrics.height();
}

Answer QtUi::messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    QMessageBox box(messageIcon(icon), title, text, standardButtons(buttons), boxParent());
    keepTitleWhole(box);
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
    QInputDialog box(boxParent());
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    keepTitleWhole(box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
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
