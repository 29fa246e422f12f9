#pragma once

// How the tool's procedures meet failure: a trapped procedure shows the
// common error message naming itself and ends; a skip-on-failure step is
// simply passed over. Exceptions never leave an event handler.

#include <QString>
#include <cstdint>
#include <exception>

#include "acad/Error.h"
#include "platform/Ui.h"

namespace platform {

// The title every message box of the tool carries.
inline const QString& appTitle() {
    static const QString title = QStringLiteral("TovalenAutoCAD Ver2.01");
    return title;
}

// "エラーが <procedure> で発生しました。", the number and the description, as a
// critical message box.
void showProcedureError(Ui& ui, const QString& procedure, std::int32_t number,
                        const QString& description);
QString procedureErrorText(const QString& procedure, std::int32_t number,
                           const QString& description);

// The number and description the common message gives a failure that is not
// an automation error: running out of memory is number 7 with its own text;
// any other is number 0, described as unexpected, followed by what it says.
struct FailureDescription {
    std::int32_t number;
    QString description;
};
FailureDescription describeFailure(const std::exception& e);

// Runs f; on failure shows the common error message for procedure and
// returns false.
template <typename F>
bool trap(Ui& ui, const QString& procedure, F&& f) {
    try {
        f();
        return true;
    } catch (const acad::Error& e) {
        showProcedureError(ui, procedure, e.number(), e.description());
    } catch (const std::exception& e) {
        const FailureDescription d = describeFailure(e);
        showProcedureError(ui, procedure, d.number, d.description);
    }
    return false;
}

// Runs one step of a skip-on-failure procedure: a failure is passed over.
// Returns whether the step succeeded.
template <typename F>
bool skipOnFailure(F&& f) {
    try {
        f();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace platform
