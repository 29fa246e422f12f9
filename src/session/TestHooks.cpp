#include "session/TestHooks.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace session {

namespace {

QString buttonsName(platform::Buttons b) {
    switch (b) {
        case platform::Buttons::OK:
            return QStringLiteral("OK");
        case platform::Buttons::OKCancel:
            return QStringLiteral("OKCancel");
        case platform::Buttons::YesNo:
            return QStringLiteral("YesNo");
        case platform::Buttons::YesNoCancel:
            return QStringLiteral("YesNoCancel");
        case platform::Buttons::RetryCancel:
            return QStringLiteral("RetryCancel");
    }
    return {};
}

std::optional<platform::Answer> answerNamed(const QString& name) {
    using platform::Answer;
    static const std::pair<const char*, Answer> kNames[] = {
        {"Yes", Answer::Yes}, {"No", Answer::No},       {"Cancel", Answer::Cancel},
        {"OK", Answer::OK},   {"Retry", Answer::Retry},
    };
    for (const auto& [text, answer] : kNames)
        if (name == QLatin1String(text))
            return answer;
    return std::nullopt;
}

}  // namespace

QString testHooksFolder() {
    return qEnvironmentVariable("TOVA_TEST_HOOKS");
}

RecordingUi::RecordingUi(QString folder) : folder_(std::move(folder)) {}

void RecordingUi::log(const QString& kind, const QString& title, const QString& text,
                      const QString& buttons) {
    QFile file(QDir(folder_).filePath(QStringLiteral("messages.log")));
    if (!file.open(QIODevice::Append))
        return;
    const QJsonObject line{{QStringLiteral("kind"), kind},
                           {QStringLiteral("title"), title},
                           {QStringLiteral("text"), text},
                           {QStringLiteral("buttons"), buttons}};
    file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}

std::optional<platform::Answer> RecordingUi::takeAnswer() {
    QFile file(QDir(folder_).filePath(QStringLiteral("answers.txt")));
    if (!file.open(QIODevice::ReadWrite))
        return std::nullopt;
    QList<QByteArray> lines = file.readAll().split('\n');
    while (!lines.isEmpty() && lines.front().trimmed().isEmpty())
        lines.removeFirst();
    if (lines.isEmpty())
        return std::nullopt;
    const QString first = QString::fromUtf8(lines.takeFirst().trimmed());
    file.resize(0);
    file.seek(0);
    file.write(lines.join('\n'));
    return answerNamed(first);
}

platform::Answer RecordingUi::messageBox(const QString& text, platform::Buttons buttons,
                                         platform::Icon, const QString& title) {
    log(QStringLiteral("message"), title, text, buttonsName(buttons));
    return takeAnswer().value_or(platform::dismissAnswer(buttons));
}

std::optional<QString> RecordingUi::inputBox(const QString& prompt, const QString& title,
                                             const QString&) {
    log(QStringLiteral("input"), title, prompt, QString());
    return std::nullopt;
}

std::optional<QString> RecordingUi::openFileName(const QString& title, const QString&,
                                                 const QString&) {
    log(QStringLiteral("openfile"), title, QString(), QString());
    return std::nullopt;
}

int RecordingUi::execDialog(QDialog& dialog) {
    log(QStringLiteral("dialog"), dialog.windowTitle(), dialog.objectName(), QString());
    return QDialog::Rejected;
}

void RecordingUi::doEvents() {
    events_.doEvents();
}

}  // namespace session
