// The wildcard matcher over any pattern and text: no crash, no hang, and the
// compiled pattern agrees with the one-shot match; a literal pattern matches
// its own text, and an escaped text matches itself.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "acad/Wildcard.h"
#include "host/Wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const QString pattern = QString::fromUtf8(in.ConsumeRandomLengthString(256));
    const QString text = QString::fromUtf8(in.ConsumeRemainingBytesAsString());

    const host::WildcardPattern compiled(pattern);
    fuzzsupport::require(compiled.matches(text) == host::wildcardMatch(pattern, text),
                         "compiled and one-shot matches agree");
    if (compiled.isLiteral())
        fuzzsupport::require(compiled.matches(compiled.literalText()),
                             "a literal pattern matches its own text");

    const QString escaped = acad::escapeWildcard(text);
    fuzzsupport::require(host::wildcardMatch(escaped, text), "an escaped text matches itself");
    if (!text.isEmpty()) {
        const host::WildcardPattern exact(escaped);
        fuzzsupport::require(exact.isLiteral(), "an escaped text is a literal pattern");
        fuzzsupport::require(exact.literalText().compare(text, Qt::CaseInsensitive) == 0,
                             "an escaped text names exactly that text");
    }
    return 0;
}
