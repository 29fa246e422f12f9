// The keystroke notation over any text: parsing ends with strokes or an
// error, never a crash or a runaway repeat; escaping any literal and parsing
// it back types exactly the literal.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "platform/KeyNotation.h"

namespace {

// What a list of strokes types, ignoring keys that type nothing.
QString typedText(const QList<platform::KeyStroke>& strokes) {
    QString out;
    for (const auto& s : strokes)
        out += s.text;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const bool roundTrip = in.ConsumeBool();
    const QString text = QString::fromUtf8(in.ConsumeRemainingBytesAsString());

    QString error;
    const auto strokes = platform::parseKeys(text, &error);
    fuzzsupport::require(strokes.has_value() || !error.isEmpty(), "a refusal gives a reason");

    if (roundTrip) {
        // Line ends stay Enter, which types no text; compare without them.
        QString literal = text;
        literal.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        const auto back = platform::parseKeys(platform::escapeKeys(literal), &error);
        fuzzsupport::require(back.has_value(), "an escaped literal parses");
        fuzzsupport::require(typedText(*back) == literal, "an escaped literal types itself");
    }
    return 0;
}
