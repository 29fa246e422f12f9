#include "session/SessionRequest.h"

#include <array>
#include <utility>

#include "platform/TextCodec.h"

namespace session {

namespace {

constexpr std::array<std::pair<Request::Kind, QByteArrayView>, 5> kWords{{
    {Request::Kind::Tool, "TOOL"},
    {Request::Kind::Host, "HOST"},
    {Request::Kind::Status, "STATUS"},
    {Request::Kind::Close, "CLOSE"},
    {Request::Kind::Command, "COMMAND"},
}};

}  // namespace

QByteArray encode(const Request& request) {
    QByteArray line;
    for (const auto& [kind, word] : kWords)
        if (kind == request.kind)
            line = word.toByteArray();
    for (const QString& arg : request.args)
        line += '\t' + arg.toUtf8().toPercentEncoding();
    return line;
}

std::optional<Request> decode(const QByteArray& line) {
    const QList<QByteArray> parts = line.split('\t');
    Request r;
    bool known = false;
    for (const auto& [kind, word] : kWords)
        if (parts.front() == word) {
            r.kind = kind;
            known = true;
        }
    if (!known)
        return std::nullopt;
    for (qsizetype i = 1; i < parts.size(); ++i)
        r.args << platform::decodeUtf8(QByteArray::fromPercentEncoding(parts[i]));
    return r;
}

}  // namespace session
