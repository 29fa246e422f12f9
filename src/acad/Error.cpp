#include "acad/Error.h"

namespace acad {

Error::Error(std::int32_t number, QString description)
    : number_(number), description_(std::move(description)), what_(description_.toUtf8()) {}

void raise(std::int32_t number, const QString& description) {
    throw Error(number, description);
}

}  // namespace acad
