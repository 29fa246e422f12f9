#include "platform/Procedure.h"

#include <new>

namespace platform {

QString procedureErrorText(const QString& procedure, std::int32_t number,
                           const QString& description) {
    return QStringLiteral("エラーが ") + procedure + QStringLiteral(" で発生しました。") +
           QLatin1Char('\n') + QString::number(number) + QLatin1Char('\n') + description;
}

FailureDescription describeFailure(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr)
        return {7, QStringLiteral("メモリが不足しています。")};
    const QString what = QString::fromUtf8(e.what()).trimmed();
    QString description = QStringLiteral("予期しないエラーが発生しました。");
    if (!what.isEmpty())
        description += QStringLiteral("（") + what + QStringLiteral("）");
    return {0, description};
}

void showProcedureError(Ui& ui, const QString& procedure, std::int32_t number,
                        const QString& description) {
    ui.messageBox(procedureErrorText(procedure, number, description), Buttons::OK, Icon::Critical,
                  appTitle());
}

}  // namespace platform
