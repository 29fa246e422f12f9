#include "platform/Procedure.h"

namespace platform {

QString procedureErrorText(const QString& procedure, std::int32_t number,
                           const QString& description) {
    return QStringLiteral("エラーが ") + procedure + QStringLiteral(" で発生しました。") +
           QLatin1Char('\n') + QString::number(number) + QLatin1Char('\n') + description;
}

void showProcedureError(Ui& ui, const QString& procedure, std::int32_t number,
                        const QString& description) {
    ui.messageBox(procedureErrorText(procedure, number, description), Buttons::OK, Icon::Critical,
                  appTitle());
}

}  // namespace platform
