#pragma once

#include <QString>
#include <cstdint>
#include <exception>

namespace acad {

// The numbers an automation call fails with. The tool shows them in its common
// error message, so they stay stable once a drawing host uses them.
namespace ErrorNumber {
constexpr std::int32_t KeyNotFound = static_cast<std::int32_t>(0x80200014u);
constexpr std::int32_t DuplicateKey = static_cast<std::int32_t>(0x8020001Bu);
constexpr std::int32_t InvalidInput = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t ObjectInUse = static_cast<std::int32_t>(0x80200015u);
constexpr std::int32_t NotAllowed = static_cast<std::int32_t>(0x80200016u);
constexpr std::int32_t NoActiveDocument = static_cast<std::int32_t>(0x80200017u);
constexpr std::int32_t FileError = static_cast<std::int32_t>(0x80200018u);
constexpr std::int32_t NotSupported = static_cast<std::int32_t>(0x80004001u);
constexpr std::int32_t Disconnected = static_cast<std::int32_t>(0x80010108u);
}  // namespace ErrorNumber

// A failed automation call: a number and a description, as such errors reach
// a caller.
class Error : public std::exception {
public:
    Error(std::int32_t number, QString description);

    std::int32_t number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    std::int32_t number_;
    QString description_;
    QByteArray what_;
};

[[noreturn]] void raise(std::int32_t number, const QString& description);

}  // namespace acad
