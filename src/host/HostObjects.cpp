#include "host/HostObjects.h"

#include <algorithm>
#include <unordered_set>

#include "host/SelectionFilter.h"

namespace host {

namespace {

// The CAD application refuses to change an object on a locked layer.
void refuseOnLockedLayer(const Drawing& d, const EntityRecord& e) {
    const QString layer = d.entityLayer(e);
    const auto rec = d.findLayer(layer);
    if (rec && (d.layerFlags(*rec) & 4))
        acad::raise(
            acad::ErrorNumber::NotAllowed,
            QStringLiteral("オブジェクトはロックされた画層「%1」上にあります。").arg(layer));
}

[[noreturn]] void indexError(long index) {
    acad::raise(acad::ErrorNumber::KeyNotFound,
                QStringLiteral("インデックス %1 は範囲外です。").arg(index));
}

}  // namespace

// ---- Layers ---------------------------------------------------------------

long HostLayers::Count() const {
    return doc_->drawing().layerCount();
}

acad::LayerPtr HostLayers::Item(long index) {
    const Drawing& d = doc_->drawing();
    if (index < 0 || index >= d.layerCount())
        indexError(index);
    return doc_->wrapLayer(d.layer(static_cast<int>(index)));
}

acad::LayerPtr HostLayers::Item(const QString& name) {
    auto rec = doc_->drawing().findLayer(name);
    if (!rec)
        acad::raise(acad::ErrorNumber::KeyNotFound,
                    QStringLiteral("画層 \"%1\" が見つかりません。").arg(name));
    return doc_->wrapLayer(rec);
}

acad::LayerPtr HostLayers::Add(const QString& name) {
    // Adding an existing name returns that layer, as the CAD application does.
    if (auto rec = doc_->drawing().findLayer(name))
        return doc_->wrapLayer(rec);
    auto rec = doc_->drawing().addLayer(name);
    doc_->markModified();
    return doc_->wrapLayer(rec);
}

// ---- Layer ----------------------------------------------------------------

LayerRecord& HostLayer::live() const {
    doc_->checkOpen();
    if (rec_->erased)
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("オブジェクトは削除されています。"));
    return *rec_;
}

QString HostLayer::Name() const {
    return live().name;
}

void HostLayer::SetName(const QString& name) {
    doc_->drawing().renameLayer(live(), name);
    doc_->markModified();
}

bool HostLayer::LayerOn() const {
    return doc_->drawing().layerColor(live()) >= 0;
}

void HostLayer::SetLayerOn(bool on) {
    Drawing& d = doc_->drawing();
    const int c = d.layerColor(live());
    const int magnitude = c == 0 ? 7 : std::abs(c);
    doc_->layerStateChanging(rec_);
    d.setLayerColor(live(), on ? magnitude : -magnitude);
    doc_->layerStateChanged(rec_);
}

bool HostLayer::Freeze() const {
    return doc_->drawing().layerFlags(live()) & 1;
}

void HostLayer::SetFreeze(bool frozen) {
    Drawing& d = doc_->drawing();
    if (frozen && d.isCurrentLayer(live()))
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("画層が無効です: 現在画層はフリーズできません。"));
    doc_->layerStateChanging(rec_);
    d.setLayerFlag(live(), 1, frozen);
    doc_->layerStateChanged(rec_);
}

bool HostLayer::Lock() const {
    return doc_->drawing().layerFlags(live()) & 4;
}

void HostLayer::SetLock(bool locked) {
    doc_->drawing().setLayerFlag(live(), 4, locked);
    doc_->markModified();
}

bool HostLayer::Plottable() const {
    return doc_->drawing().layerPlottable(live());
}

void HostLayer::SetPlottable(bool plottable) {
    doc_->drawing().setLayerPlottable(live(), plottable);
    doc_->markModified();
}

bool HostLayer::ViewportDefault() const {
    return doc_->drawing().layerFlags(live()) & 2;
}

void HostLayer::SetViewportDefault(bool frozenInNewViewports) {
    doc_->drawing().setLayerFlag(live(), 2, frozenInNewViewports);
    doc_->markModified();
}

long HostLayer::Color() const {
    return std::abs(doc_->drawing().layerColor(live()));
}

void HostLayer::SetColor(long color) {
    if (color < 1 || color > 255)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("入力が無効です: 画層の色 %1 (1 から 255 まで)").arg(color));
    Drawing& d = doc_->drawing();
    const bool on = d.layerColor(live()) >= 0;
    d.setLayerColor(live(), on ? static_cast<int>(color) : -static_cast<int>(color));
    doc_->markModified();
}

long HostLayer::Lineweight() const {
    return doc_->drawing().layerLineweight(live());
}

void HostLayer::SetLineweight(long lineweight) {
    doc_->drawing().setLayerLineweight(live(), static_cast<int>(lineweight));
    doc_->markModified();
}

QString HostLayer::Linetype() const {
    return doc_->drawing().layerLinetype(live());
}

void HostLayer::SetLinetype(const QString& linetype) {
    doc_->drawing().setLayerLinetype(live(), linetype);
    doc_->markModified();
}

QString HostLayer::PlotStyleName() const {
    return doc_->drawing().layerPlotStyleName(live());
}

void HostLayer::Delete() {
    doc_->drawing().deleteLayer(live());
    doc_->markModified();
}

// ---- Linetypes ------------------------------------------------------------

long HostLinetypes::Count() const {
    return static_cast<long>(doc_->drawing().linetypeNames().size());
}

QString HostLinetypes::ItemName(long index) const {
    const auto names = doc_->drawing().linetypeNames();
    if (index < 0 || index >= static_cast<long>(names.size()))
        indexError(index);
    return names[static_cast<size_t>(index)];
}

// ---- Entity ---------------------------------------------------------------

const EntityRecord& HostEntity::rec() const {
    return doc_->drawing().entities()[static_cast<size_t>(index_)];
}

QString HostEntity::ObjectName() const {
    return doc_->drawing().entityType(rec());
}
QString HostEntity::Layer() const {
    return doc_->drawing().entityLayer(rec());
}

void HostEntity::SetLayer(const QString& layer) {
    refuseOnLockedLayer(doc_->drawing(), rec());
    doc_->drawing().setEntityLayer(rec(), layer);
    doc_->markModified();
}

long HostEntity::Color() const {
    return doc_->drawing().entityColor(rec());
}

void HostEntity::SetColor(long color) {
    refuseOnLockedLayer(doc_->drawing(), rec());
    doc_->drawing().setEntityColor(rec(), static_cast<int>(color));
    doc_->markModified();
}

QString HostEntity::Linetype() const {
    return doc_->drawing().entityLinetype(rec());
}

void HostEntity::SetLinetype(const QString& linetype) {
    refuseOnLockedLayer(doc_->drawing(), rec());
    doc_->drawing().setEntityLinetype(rec(), linetype);
    doc_->markModified();
}

QString HostEntity::Handle() const {
    return QString::fromLatin1(doc_->drawing().handleOf(*rec().obj));
}

QString HostEntity::TextString() const {
    return doc_->drawing().entityText(rec());
}

void HostEntity::SetTextString(const QString& text) {
    doc_->drawing().setEntityText(rec(), text);
    doc_->markModified();
}

// ---- SelectionSet ---------------------------------------------------------

SelectionSetState& HostSelectionSet::live() const {
    doc_->checkOpen();
    if (state_->deleted)
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("選択セット \"%1\" は削除されています。").arg(state_->name));
    return *state_;
}

QString HostSelectionSet::Name() const {
    return live().name;
}

const std::vector<int>& HostSelectionSet::indexes() const {
    return live().items;
}

void HostSelectionSet::addUnique(int index) {
    SelectionSetState& st = live();
    const auto i = static_cast<size_t>(index);
    if (i >= st.member.size())
        st.member.resize(std::max(i + 1, doc_->drawing().entities().size()), false);
    if (!st.member[i]) {
        st.member[i] = true;
        st.items.push_back(index);
    }
}

void HostSelectionSet::Select(int mode, const std::vector<int>& filterType,
                              const std::vector<QVariant>& filterData) {
    live();
    if (mode != acad::acSelectionSetAll)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("引数が無効です: 選択モード %1 には点が必要です。").arg(mode));
    const SelectionFilter filter(filterType, filterData);
    const Drawing& d = doc_->drawing();
    const auto& ents = d.entities();
    if (const QString* layer = filter.exactLayer()) {
        // One layer named exactly: only its objects can match.
        for (int i : d.entitiesOnLayer(*layer)) {
            const EntityRecord& e = ents[static_cast<size_t>(i)];
            if (!e.sub && e.space != Space::Block && filter.matches(d, e))
                addUnique(i);
        }
        return;
    }
    for (size_t i = 0; i < ents.size(); ++i) {
        const EntityRecord& e = ents[i];
        if (e.sub || e.space == Space::Block)
            continue;
        if (filter.matches(d, e))
            addUnique(static_cast<int>(i));
    }
}

void HostSelectionSet::SelectNested(const std::vector<int>& filterType,
                                    const std::vector<QVariant>& filterData) {
    live();
    const SelectionFilter filter(filterType, filterData);
    const Drawing& d = doc_->drawing();
    const auto& ents = d.entities();
    auto nested = [&](int i) {
        const EntityRecord& e = ents[static_cast<size_t>(i)];
        return (e.sub || e.space == Space::Block) && filter.matches(d, e);
    };
    if (const QString* layer = filter.exactLayer()) {
        for (int i : d.entitiesOnLayer(*layer))
            if (nested(i))
                addUnique(i);
        return;
    }
    for (int i = 0; i < static_cast<int>(ents.size()); ++i)
        if (nested(i))
            addUnique(i);
}

void HostSelectionSet::SelectOnScreen(const std::vector<int>& filterType,
                                      const std::vector<QVariant>& filterData) {
    live();
    const SelectionFilter filter(filterType, filterData);
    if (!doc_->pickOnScreen)
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("オブジェクトを選択できる図面ウィンドウがありません。"));
    const Drawing& d = doc_->drawing();
    for (int i : doc_->pickOnScreen()) {
        if (i < 0 || i >= static_cast<int>(d.entities().size()))
            continue;
        if (filter.matches(d, d.entities()[static_cast<size_t>(i)]))
            addUnique(i);
    }
}

void HostSelectionSet::AddItems(const std::vector<acad::EntityPtr>& items) {
    live();
    for (const auto& item : items) {
        auto* e = dynamic_cast<const HostEntity*>(item.get());
        if (!e || e->document() != doc_.get())
            acad::raise(acad::ErrorNumber::InvalidInput,
                        QStringLiteral("入力が無効です: オブジェクトがこの図面にありません。"));
        addUnique(e->index());
    }
}

void HostSelectionSet::Clear() {
    live().items.clear();
    state_->member.clear();
}

void HostSelectionSet::Delete() {
    live();
    auto& sets = doc_->selectionSetStates();
    sets.erase(std::remove(sets.begin(), sets.end(), state_), sets.end());
    state_->deleted = true;
    state_->items.clear();
    state_->member.clear();
}

long HostSelectionSet::Count() const {
    return static_cast<long>(live().items.size());
}

acad::EntityPtr HostSelectionSet::Item(long index) {
    const auto& items = live().items;
    if (index < 0 || index >= static_cast<long>(items.size()))
        indexError(index);
    return doc_->wrapEntity(items[static_cast<size_t>(index)]);
}

// ---- SelectionSets --------------------------------------------------------

long HostSelectionSets::Count() const {
    doc_->checkOpen();
    return static_cast<long>(doc_->selectionSetStates().size());
}

acad::SelectionSetPtr HostSelectionSets::Item(long index) {
    doc_->checkOpen();
    auto& sets = doc_->selectionSetStates();
    if (index < 0 || index >= static_cast<long>(sets.size()))
        indexError(index);
    return std::make_shared<HostSelectionSet>(doc_, sets[static_cast<size_t>(index)]);
}

acad::SelectionSetPtr HostSelectionSets::Add(const QString& name) {
    doc_->checkOpen();
    auto& sets = doc_->selectionSetStates();
    for (const auto& s : sets)
        if (QString::compare(s->name, name, Qt::CaseInsensitive) == 0)
            acad::raise(acad::ErrorNumber::DuplicateKey,
                        QStringLiteral("名前が重複しています: 選択セット \"%1\" は既にあります。")
                            .arg(name));
    auto state = std::make_shared<SelectionSetState>();
    state->name = name;
    sets.push_back(state);
    return std::make_shared<HostSelectionSet>(doc_, state);
}

}  // namespace host
