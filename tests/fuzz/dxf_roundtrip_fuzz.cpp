// A drawing loaded and saved unchanged gives back its bytes exactly; the
// saved bytes load again to the same layers and objects. Files the host
// refuses must be refused with its file error, never a crash.
#include "FuzzSupport.h"
#include "acad/Error.h"
#include "host/Drawing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::ensureApplication();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    std::unique_ptr<host::Drawing> first;
    try {
        first = host::Drawing::fromBytes(bytes, QStringLiteral("fuzz.dxf"));
    } catch (const acad::Error&) {
        return 0;  // refused with a clear error
    }
    const QByteArray saved = first->toBytes();
    fuzzsupport::require(saved == bytes, "an unchanged drawing saves byte for byte");

    std::unique_ptr<host::Drawing> second;
    try {
        second = host::Drawing::fromBytes(saved, QStringLiteral("saved.dxf"));
    } catch (const acad::Error&) {
        fuzzsupport::require(false, "a saved drawing loads again");
    }
    fuzzsupport::require(second->toBytes() == saved, "the reloaded drawing saves the same bytes");
    fuzzsupport::require(second->layerCount() == first->layerCount(), "same layers");
    for (int i = 0; i < first->layerCount(); ++i)
        fuzzsupport::require(second->layer(i)->name == first->layer(i)->name, "same layer names");
    fuzzsupport::require(second->entities().size() == first->entities().size(), "same objects");
    fuzzsupport::require(second->file().objects.size() == first->file().objects.size(),
                         "same tags");
    return 0;
}
