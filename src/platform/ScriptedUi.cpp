#include "platform/ScriptedUi.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>
#include <exception>

namespace platform {

namespace {

QString kindName(UiRecord::Kind kind) {
    switch (kind) {
        case UiRecord::Kind::Message:
            return QStringLiteral("message box");
        case UiRecord::Kind::Input:
            return QStringLiteral("input box");
        case UiRecord::Kind::OpenFile:
            return QStringLiteral("file chooser");
        case UiRecord::Kind::Dialog:
            return QStringLiteral("dialog");
    }
    return {};
}

QString buttonsName(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
            return QStringLiteral("OK");
        case Buttons::OKCancel:
            return QStringLiteral("OKCancel");
        case Buttons::YesNo:
            return QStringLiteral("YesNo");
        case Buttons::YesNoCancel:
            return QStringLiteral("YesNoCancel");
        case Buttons::RetryCancel:
            return QStringLiteral("RetryCancel");
    }
    return {};
}

QString iconName(Icon icon) {
    switch (icon) {
        case Icon::None:
            return QStringLiteral("no icon");
        case Icon::Critical:
            return QStringLiteral("Critical");
        case Icon::Question:
            return QStringLiteral("Question");
        case Icon::Warning:
            return QStringLiteral("Warning");
        case Icon::Information:
            return QStringLiteral("Information");
    }
    return {};
}

QString answerName(Answer answer) {
    switch (answer) {
        case Answer::OK:
            return QStringLiteral("OK");
        case Answer::Cancel:
            return QStringLiteral("Cancel");
        case Answer::Yes:
            return QStringLiteral("Yes");
        case Answer::No:
            return QStringLiteral("No");
        case Answer::Retry:
            return QStringLiteral("Retry");
    }
    return {};
}

bool offers(Buttons buttons, Answer answer) {
    switch (buttons) {
        case Buttons::OK:
            return answer == Answer::OK;
        case Buttons::OKCancel:
            return answer == Answer::OK || answer == Answer::Cancel;
        case Buttons::YesNo:
            return answer == Answer::Yes || answer == Answer::No;
        case Buttons::YesNoCancel:
            return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
        case Buttons::RetryCancel:
            return answer == Answer::Retry || answer == Answer::Cancel;
    }
    return false;
}

QString quoted(const QString& s) {
    return QLatin1Char('"') + s + QLatin1Char('"');
}

}  // namespace

QString UiRecord::describe() const {
    switch (kind) {
        case Kind::Message:
            return kindName(kind) + QStringLiteral(" [") + buttonsName(buttons) +
                   QStringLiteral(", ") + iconName(icon) + QStringLiteral("] title ") +
                   quoted(title) + QStringLiteral(" text ") + quoted(text);
        case Kind::Input:
            return kindName(kind) + QStringLiteral(" title ") + quoted(title) +
                   QStringLiteral(" prompt ") + quoted(text) + QStringLiteral(" default ") +
                   quoted(defaultText);
        case Kind::OpenFile:
            return kindName(kind) + QStringLiteral(" title ") + quoted(title) +
                   QStringLiteral(" filter ") + quoted(filter) + QStringLiteral(" in ") +
                   quoted(initialPath);
        case Kind::Dialog:
            return kindName(kind) + QLatin1Char(' ') + quoted(objectName) +
                   QStringLiteral(" title ") + quoted(title);
    }
    return {};
}

QString ScriptedUi::Expectation::describe() const {
    switch (kind) {
        case UiRecord::Kind::Message:
            return kindName(kind) + QStringLiteral(" [") + buttonsName(buttons) +
                   QStringLiteral(", ") + iconName(icon) + QStringLiteral("] title ") +
                   quoted(title) + QStringLiteral(" text ") + quoted(text) +
                   QStringLiteral(" answered ") + answerName(answer);
        case UiRecord::Kind::Input:
            return kindName(kind) + QStringLiteral(" with a prompt containing ") + quoted(text);
        case UiRecord::Kind::OpenFile:
            return kindName(kind);
        case UiRecord::Kind::Dialog:
            return kindName(kind) +
                   (objectName.isEmpty() ? QString() : QLatin1Char(' ') + quoted(objectName));
    }
    return {};
}

void ScriptedUi::expectMessage(const QString& text, const QString& title, Buttons buttons,
                               Icon icon, Answer answer, std::function<void()> whileShown) {
    Expectation e{UiRecord::Kind::Message, text, title, buttons, icon, answer, {}, {}, {},
                  std::move(whileShown)};
    if (!offers(buttons, answer))
        fail(QStringLiteral("expectation can never be met: ") + e.describe() +
             QStringLiteral(" (no such button)"));
    expected_.push_back(std::move(e));
}

void ScriptedUi::expectInput(const QString& promptContains, std::optional<QString> answer) {
    Expectation e{UiRecord::Kind::Input,
                  promptContains,
                  {},
                  Buttons::OK,
                  Icon::None,
                  Answer::OK,
                  std::move(answer),
                  {},
                  {},
                  {}};
    expected_.push_back(std::move(e));
}

void ScriptedUi::expectOpenFile(std::optional<QString> answer) {
    Expectation e{UiRecord::Kind::OpenFile, {}, {}, Buttons::OK, Icon::None, Answer::OK,
                  std::move(answer),        {}, {}, {}};
    expected_.push_back(std::move(e));
}

void ScriptedUi::expectDialog(DialogDriver drive, const QString& objectName) {
    Expectation e{UiRecord::Kind::Dialog, {},         {}, Buttons::OK, Icon::None, Answer::OK, {},
                  std::move(drive),       objectName, {}};
    expected_.push_back(std::move(e));
}

QStringList ScriptedUi::pendingDescriptions() const {
    QStringList out;
    for (const Expectation& e : expected_)
        out.append(e.describe());
    return out;
}

std::optional<ScriptedUi::Expectation> ScriptedUi::take(const UiRecord& shown) {
    records_.append(shown);
    if (expected_.empty()) {
        fail(QStringLiteral("unexpected ") + shown.describe());
        return std::nullopt;
    }
    if (expected_.front().kind != shown.kind) {
        // The expectation stays for the box it was meant for.
        fail(QStringLiteral("expected ") + expected_.front().describe() +
             QStringLiteral(" but got ") + shown.describe());
        return std::nullopt;
    }
    Expectation e = std::move(expected_.front());
    expected_.pop_front();
    return e;
}

Answer ScriptedUi::messageBox(const QString& text, Buttons buttons, Icon icon,
                              const QString& title) {
    UiRecord shown;
    shown.kind = UiRecord::Kind::Message;
    shown.text = text;
    shown.title = title;
    shown.buttons = buttons;
    shown.icon = icon;
    const auto e = take(shown);
    if (!e)
        return dismissAnswer(buttons);
    if (e->text != text || e->title != title || e->buttons != buttons || e->icon != icon)
        fail(QStringLiteral("expected ") + e->describe() + QStringLiteral(" but got ") +
             shown.describe());
    if (e->whileShown)
        e->whileShown();
    return e->answer;
}

std::optional<QString> ScriptedUi::inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) {
    UiRecord shown;
    shown.kind = UiRecord::Kind::Input;
    shown.text = prompt;
    shown.title = title;
    shown.defaultText = defaultText;
    const auto e = take(shown);
    if (!e)
        return std::nullopt;
    if (!prompt.contains(e->text))
        fail(QStringLiteral("expected ") + e->describe() + QStringLiteral(" but got ") +
             shown.describe());
    return e->textAnswer;
}

std::optional<QString> ScriptedUi::openFileName(const QString& title, const QString& filter,
                                                const QString& initialPath) {
    UiRecord shown;
    shown.kind = UiRecord::Kind::OpenFile;
    shown.title = title;
    shown.filter = filter;
    shown.initialPath = initialPath;
    const auto e = take(shown);
    if (!e)
        return std::nullopt;
    return e->textAnswer;
}

int ScriptedUi::execDialog(QDialog& dialog) {
    UiRecord shown;
    shown.kind = UiRecord::Kind::Dialog;
    shown.title = dialog.windowTitle();
    shown.objectName = dialog.objectName();
    const auto e = take(shown);
    // A dialog nobody expected is not shown at all and counts as cancelled.
    if (!e)
        return QDialog::Rejected;
    if (!e->objectName.isEmpty() && e->objectName != shown.objectName)
        fail(QStringLiteral("expected ") + e->describe() + QStringLiteral(" but got ") +
             shown.describe());

    QPointer<QDialog> guard(&dialog);
    bool finished = false;
    int result = QDialog::Rejected;
    const auto connection = QObject::connect(&dialog, &QDialog::finished, [&](int r) {
        finished = true;
        result = r;
    });
    dialog.open();
    int code = QDialog::Rejected;
    try {
        if (e->drive)
            code = e->drive(dialog);
    } catch (const std::exception& ex) {
        fail(QStringLiteral("driving ") + shown.describe() + QStringLiteral(" threw: ") +
             QString::fromLocal8Bit(ex.what()));
    } catch (...) {
        fail(QStringLiteral("driving ") + shown.describe() + QStringLiteral(" threw"));
    }
    if (guard && !finished) {
        if (code == QDialog::Accepted)
            guard->accept();
        else if (code == QDialog::Rejected)
            guard->reject();
        else
            guard->done(code);
    }
    if (guard && !finished) {
        fail(shown.describe() + QStringLiteral(" did not close"));
        guard->QDialog::done(QDialog::Rejected);
    }
    QObject::disconnect(connection);
    return result;
}

void ScriptedUi::doEvents() {
    ++doEvents_;
    QCoreApplication::processEvents();
}

}  // namespace platform
