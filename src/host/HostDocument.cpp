#include "host/HostDocument.h"

#include <QFileInfo>

#include "host/HostObjects.h"

namespace host {

HostDocument::HostDocument(std::unique_ptr<Drawing> drawing, QString fullName, QString name)
    : drawing_(std::move(drawing)), fullName_(std::move(fullName)), name_(std::move(name)) {}

void HostDocument::checkOpen() const {
    if (closed_)
        acad::raise(acad::ErrorNumber::Disconnected,
                    QStringLiteral("The object invoked has disconnected from its clients."));
}

Drawing& HostDocument::drawing() {
    checkOpen();
    return *drawing_;
}

const Drawing& HostDocument::drawing() const {
    checkOpen();
    return *drawing_;
}

QString HostDocument::FullName() const {
    checkOpen();
    return fullName_;
}

QString HostDocument::Path() const {
    checkOpen();
    return fullName_.isEmpty() ? QString() : QFileInfo(fullName_).absolutePath();
}

QString HostDocument::Name() const {
    checkOpen();
    return name_;
}

acad::LayersPtr HostDocument::Layers() {
    checkOpen();
    return std::make_shared<HostLayers>(shared_from_this());
}

acad::LinetypesPtr HostDocument::Linetypes() {
    checkOpen();
    return std::make_shared<HostLinetypes>(shared_from_this());
}

acad::SelectionSetsPtr HostDocument::SelectionSets() {
    checkOpen();
    return std::make_shared<HostSelectionSets>(shared_from_this());
}

acad::LayerPtr HostDocument::wrapLayer(const std::shared_ptr<LayerRecord>& rec) {
    return std::make_shared<HostLayer>(shared_from_this(), rec);
}

acad::EntityPtr HostDocument::wrapEntity(int index) {
    return std::make_shared<HostEntity>(shared_from_this(), index);
}

acad::LayerPtr HostDocument::ActiveLayer() {
    auto rec = drawing().findLayer(drawing().currentLayerName());
    if (!rec)
        rec = drawing().findLayer(QStringLiteral("0"));
    if (!rec)
        acad::raise(acad::ErrorNumber::KeyNotFound, QStringLiteral("Key not found: current layer"));
    return wrapLayer(rec);
}

void HostDocument::SetActiveLayer(const acad::LayerPtr& layer) {
    checkOpen();
    auto* hl = dynamic_cast<HostLayer*>(layer.get());
    if (!hl || hl->record()->erased || !drawing().findLayer(hl->record()->name) ||
        drawing().findLayer(hl->record()->name) != hl->record())
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("Invalid input: the layer is not in this drawing"));
    if (drawing().layerFlags(*hl->record()) & 1)
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("フリーズされた画層は現在画層にできません。"));
    drawing().setCurrentLayerName(hl->record()->name);
    markModified();
}

int HostDocument::ActiveSpace() const {
    return drawing().headerInt("$TILEMODE", 70, 1) == 1 ? acad::acModelSpace : acad::acPaperSpace;
}

bool HostDocument::MSpace() const {
    checkOpen();
    return ActiveSpace() == acad::acPaperSpace && mspace_;
}

void HostDocument::setActiveSpace(int space) {
    drawing().setHeader("$TILEMODE", 70, space == acad::acModelSpace ? "1" : "0");
    if (space == acad::acModelSpace)
        mspace_ = false;
    markModified();
}

void HostDocument::setMSpace(bool modelSpaceInViewport) {
    checkOpen();
    mspace_ = modelSpaceInViewport;
}

void HostDocument::Regen(int) {
    checkOpen();
    ++regenCount_;
    if (onRegen)
        onRegen();
}

acad::EntityPtr HostDocument::HandleToObject(const QString& handle) {
    const int i = drawing().findEntity(handle.toLatin1());
    if (i < 0)
        acad::raise(acad::ErrorNumber::KeyNotFound,
                    QStringLiteral("Unknown handle: \"%1\"").arg(handle));
    return wrapEntity(i);
}

const LayerEntityIndex& HostDocument::layerIndex() const {
    checkOpen();
    if (!layerIndex_)
        layerIndex_ = std::make_unique<LayerEntityIndex>(*drawing_);
    return *layerIndex_;
}

void HostDocument::markModified() {
    layerIndex_.reset();
    modified_ = true;
    if (onChanged)
        onChanged();
}

void HostDocument::save(const QString& path) {
    checkOpen();
    const QString target = path.isEmpty() ? fullName_ : path;
    if (target.isEmpty())
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("The drawing has no file name yet"));
    drawing_->save(target);
    fullName_ = QFileInfo(target).absoluteFilePath();
    name_ = QFileInfo(target).fileName();
    modified_ = false;
    if (onChanged)
        onChanged();
}

void HostDocument::close() {
    closed_ = true;
    for (auto& s : sets_)
        s->deleted = true;
    sets_.clear();
    onChanged = nullptr;
    onRegen = nullptr;
    pickOnScreen = nullptr;
}

}  // namespace host
