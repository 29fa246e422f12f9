// A drawing loaded, changed by a sequence of object-model operations chosen
// by the input (layers added, renamed, deleted and set; objects moved between
// layers; selection sets made, filtered, cleared and deleted; the drawing
// drawn and exported) and saved: the saved drawing must load again. With
// TOVA_FUZZ_SAVE_DIR set, the saved bytes are written there so that the
// corpus run can check them with ezdxf.
//
// The drawing is the whole input (bytes after its EOF are kept by the
// reader); the operations are read from the end of the input, so a plain
// drawing is a seed and the fuzzer steers the operations by its tail.
#include <fuzzer/FuzzedDataProvider.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FuzzSupport.h"
#include "acad/Error.h"
#include "host/HostDocument.h"
#include "host/render/Scene.h"

namespace {

// Pieces layer names are made of: wildcard characters, Japanese text,
// control characters and names every drawing has.
const char16_t* const kPieces[] = {
    u"0",      u"A", u"a", u"WALL", u"壁", u"ｶﾍﾞ", u".",         u"#",          u"@",   u"~",
    u"[",      u"]", u"-", u" ",    u"`",  u",",   u"*",         u"?",          u"1",   u"Ç",
    u"\u0095", u"|", u"<", u"$",    u"_",  u"\t",  u"Defpoints", u"\U0001F600", u"DIM", u"x",
};

QString makeName(FuzzedDataProvider& in, const std::vector<QString>& existing) {
    QString name;
    if (!existing.empty() && in.ConsumeBool())
        name = existing[in.ConsumeIntegralInRange<size_t>(0, existing.size() - 1)];
    const int pieces = in.ConsumeIntegralInRange(0, 5);
    for (int i = 0; i < pieces; ++i)
        name += QString::fromUtf16(
            kPieces[in.ConsumeIntegralInRange<size_t>(0, std::size(kPieces) - 1)]);
    if (in.ConsumeIntegralInRange(0, 15) == 0)
        name = name.repeated(in.ConsumeIntegralInRange(2, 300));
    return name;
}

std::vector<QString> layerNames(host::HostDocument& doc) {
    std::vector<QString> names;
    for (int i = 0; i < doc.drawing().layerCount(); ++i)
        names.push_back(doc.drawing().layer(i)->name);
    return names;
}

acad::LayerPtr pickLayer(FuzzedDataProvider& in, host::HostDocument& doc) {
    auto layers = doc.Layers();
    const long count = layers->Count();
    if (count == 0)
        return nullptr;
    return layers->Item(in.ConsumeIntegralInRange<long>(0, count - 1));
}

acad::EntityPtr pickEntity(FuzzedDataProvider& in, host::HostDocument& doc) {
    const auto& entities = doc.drawing().entities();
    if (entities.empty())
        return nullptr;
    return doc.wrapEntity(in.ConsumeIntegralInRange<int>(0, int(entities.size()) - 1));
}

void setLayerProperty(FuzzedDataProvider& in, acad::Layer& layer, host::HostDocument& doc) {
    switch (in.ConsumeIntegralInRange(0, 8)) {
        case 0:
            layer.SetLayerOn(in.ConsumeBool());
            break;
        case 1:
            layer.SetFreeze(in.ConsumeBool());
            break;
        case 2:
            layer.SetLock(in.ConsumeBool());
            break;
        case 3:
            layer.SetPlottable(in.ConsumeBool());
            break;
        case 4:
            layer.SetViewportDefault(in.ConsumeBool());
            break;
        case 5:
            layer.SetColor(in.ConsumeIntegralInRange<long>(-300, 300));
            break;
        case 6:
            layer.SetLineweight(in.ConsumeIntegralInRange<long>(-5, 220));
            break;
        case 7: {
            const auto types = doc.drawing().linetypeNames();
            if (!types.empty() && in.ConsumeBool())
                layer.SetLinetype(types[in.ConsumeIntegralInRange<size_t>(0, types.size() - 1)]);
            else
                layer.SetLinetype(makeName(in, {}));
            break;
        }
        default:
            (void)layer.Name();
            (void)layer.Color();
            (void)layer.Linetype();
            (void)layer.PlotStyleName();
            break;
    }
}

void selectionOperation(FuzzedDataProvider& in, host::HostDocument& doc) {
    auto sets = doc.SelectionSets();
    switch (in.ConsumeIntegralInRange(0, 4)) {
        case 0:
            (void)sets->Add(makeName(in, {}));
            return;
        case 1:
            if (sets->Count() > 0)
                sets->Item(in.ConsumeIntegralInRange<long>(0, sets->Count() - 1))->Delete();
            return;
        default:
            break;
    }
    if (sets->Count() == 0)
        return;
    auto set = sets->Item(in.ConsumeIntegralInRange<long>(0, sets->Count() - 1));
    if (in.ConsumeBool()) {
        set->Clear();
        return;
    }
    std::vector<int> types;
    std::vector<QVariant> values;
    const int filters = in.ConsumeIntegralInRange(0, 2);
    for (int i = 0; i < filters; ++i) {
        const int code = std::array{0, 8, 6, 62, 2, 1}[in.ConsumeIntegralInRange(0, 5)];
        types.push_back(code);
        if (code == 62)
            values.emplace_back(in.ConsumeIntegralInRange(-2, 257));
        else
            values.emplace_back(makeName(in, layerNames(doc)));
    }
    set->Select(acad::acSelectionSetAll, types, values);
    if (set->Count() > 0 && in.ConsumeBool())
        (void)set->Item(in.ConsumeIntegralInRange<long>(0, set->Count() - 1))->Layer();
}

void operate(FuzzedDataProvider& in, host::HostDocument& doc, const QString& scratch) {
    switch (in.ConsumeIntegralInRange(0, 11)) {
        case 0:
            (void)doc.Layers()->Add(makeName(in, layerNames(doc)));
            break;
        case 1:
            if (auto l = pickLayer(in, doc))
                l->SetName(makeName(in, layerNames(doc)));
            break;
        case 2:
            if (auto l = pickLayer(in, doc))
                l->Delete();
            break;
        case 3:
        case 4:
            if (auto l = pickLayer(in, doc))
                setLayerProperty(in, *l, doc);
            break;
        case 5:
            if (auto l = pickLayer(in, doc))
                doc.SetActiveLayer(l);
            break;
        case 6:
        case 7:
            selectionOperation(in, doc);
            break;
        case 8:
            if (auto e = pickEntity(in, doc)) {
                switch (in.ConsumeIntegralInRange(0, 3)) {
                    case 0:
                        e->SetLayer(makeName(in, layerNames(doc)));
                        break;
                    case 1:
                        e->SetColor(in.ConsumeIntegralInRange<long>(-1, 257));
                        break;
                    case 2:
                        e->SetTextString(makeName(in, {}));
                        break;
                    default:
                        (void)doc.HandleToObject(e->Handle());
                        break;
                }
            }
            break;
        case 9:
            (void)doc.HandleToObject(makeName(in, {}));
            break;
        case 10:
            (void)host::render::Scene::modelSpace(doc.drawing());
            break;
        default: {
            auto sets = doc.SelectionSets();
            if (sets->Count() > 0)
                doc.Export(scratch + QStringLiteral("/export"), QStringLiteral("WMF"),
                           sets->Item(in.ConsumeIntegralInRange<long>(0, sets->Count() - 1)));
            break;
        }
    }
}

// True when $HANDSEED is above every handle the drawing uses, so the next
// object gets a fresh handle. Readers refuse drawings where it is not.
bool handleSeedAboveHandles(const host::Drawing& drawing) {
    bool ok = false;
    const unsigned long long seed = drawing.headerString("$HANDSEED", 5).toULongLong(&ok, 16);
    if (!ok)
        return false;
    const host::dxf::Tag* seedTag = drawing.headerTag("$HANDSEED", 5);
    for (const auto& obj : drawing.file().objects)
        for (const auto& tag : obj->tags)
            if ((tag.code == 5 || tag.code == 105) && &tag != seedTag)
                if (drawing.file().trimmedValue(tag).toULongLong(&ok, 16) >= seed && ok)
                    return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::ensureApplication();
    static QTemporaryDir scratch;
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    std::unique_ptr<host::Drawing> drawing;
    try {
        drawing = host::Drawing::fromBytes(bytes, QStringLiteral("fuzz.dxf"));
    } catch (const acad::Error&) {
        return 0;
    }
    const bool soundSeed = handleSeedAboveHandles(*drawing);
    auto doc = std::make_shared<host::HostDocument>(std::move(drawing), QString(),
                                                    QStringLiteral("fuzz.dxf"));
    // At most 16 operations, steered by the input's last bytes.
    FuzzedDataProvider in(data, size);
    const int operations = in.ConsumeIntegralInRange(0, 16);
    static const bool verbose = qEnvironmentVariableIsSet("TOVA_FUZZ_VERBOSE");
    for (int i = 0; i < operations && in.remaining_bytes() > 0; ++i) {
        try {
            operate(in, *doc, scratch.path());
        } catch (const acad::Error& e) {
            // Refused with an automation error: the drawing must stay sound.
            if (verbose)
                std::fprintf(stderr, "operation %d refused: %s\n", i, e.what());
        }
    }

    const QByteArray saved = doc->drawing().toBytes();
    try {
        const auto reloaded = host::Drawing::fromBytes(saved, QStringLiteral("saved.dxf"));
        if (soundSeed)
            fuzzsupport::require(handleSeedAboveHandles(*reloaded),
                                 "$HANDSEED stays above every handle in use");
    } catch (const acad::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        fuzzsupport::require(false, "a changed drawing loads again");
    }
    if (const QString dir = fuzzsupport::saveDir(); !dir.isEmpty()) {
        QDir().mkpath(dir);
        const QByteArray id = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
        QFile out(dir + QLatin1Char('/') + QString::fromLatin1(id) + QStringLiteral(".dxf"));
        fuzzsupport::require(out.open(QIODevice::WriteOnly), "the saved drawing can be written");
        out.write(saved);
    }
    return 0;
}
