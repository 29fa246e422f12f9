#include "host/HostDocument.h"

#include <QFileInfo>
#include <climits>

#include "host/HostObjects.h"

namespace host {

HostDocument::HostDocument(std::unique_ptr<Drawing> drawing, QString fullName, QString name)
    : drawing_(std::move(drawing)),
      fullName_(std::move(fullName)),
      name_(std::move(name)),
      stamp_(fullName_.isEmpty() ? FileStamp() : FileStamp::of(fullName_)),
      history_(std::make_unique<UndoHistory>(*drawing_)) {
    drawing_->setHistory(history_.get());
}

void HostDocument::StartUndoMark(const QString& name) {
    checkOpen();
    history_->startMark(name);
}

void HostDocument::EndUndoMark() {
    checkOpen();
    history_->endMark();
    // The writes inside the mark set the flag themselves (layer states
    // through their own comparison); a mark that ends at the saved state
    // leaves the drawing unmodified.
    if (history_->atSavedState())
        modified_ = false;
    if (history_->markDepth() == 0 && onChanged)
        onChanged();
}

int HostDocument::undo(int steps) {
    return moveInHistory(steps, &UndoHistory::undo);
}

int HostDocument::redo(int steps) {
    return moveInHistory(steps, &UndoHistory::redo);
}

int HostDocument::moveInHistory(int steps, bool (UndoHistory::*step)()) {
    checkOpen();
    int done = 0;
    while (done < steps && (history_.get()->*step)())
        ++done;
    if (done > 0) {
        afterHistoryMove();
        if (onChanged)
            onChanged();
    }
    return done;
}

void HostDocument::checkOpen() const {
    if (closed_)
        acad::raise(acad::ErrorNumber::Disconnected,
                    QStringLiteral("オブジェクトがクライアントから切断されました。"));
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
        acad::raise(acad::ErrorNumber::KeyNotFound, QStringLiteral("現在画層が見つかりません。"));
    return wrapLayer(rec);
}

void HostDocument::SetActiveLayer(const acad::LayerPtr& layer) {
    checkOpen();
    auto* hl = dynamic_cast<HostLayer*>(layer.get());
    if (!hl || hl->record()->erased || !drawing().findLayer(hl->record()->name) ||
        drawing().findLayer(hl->record()->name) != hl->record())
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("入力が無効です: この画層はこの図面のものではありません。"));
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
                    QStringLiteral("ハンドル \"%1\" のオブジェクトが見つかりません。").arg(handle));
    return wrapEntity(i);
}

void HostDocument::markModified() {
    history_->closeImplicit();
    modified_ = !history_->atSavedState();
    ++contentRevision_;
    if (onChanged)
        onChanged();
}

bool HostDocument::changedOnDisk() const {
    checkOpen();
    if (fullName_.isEmpty())
        return false;
    const FileStamp now = FileStamp::of(fullName_);
    return now.exists && !(now == stamp_);
}

void HostDocument::save(const QString& path, bool overwriteChanged) {
    checkOpen();
    const QString target = path.isEmpty() ? fullName_ : path;
    if (target.isEmpty())
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("図面にまだファイル名がありません。"));
    // Another program's changes to this drawing's file are never overwritten
    // unasked: the caller must ask the user first.
    const bool ownFile = !fullName_.isEmpty() && saveTarget(target) == saveTarget(fullName_);
    if (ownFile && !overwriteChanged && changedOnDisk())
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("\"%1\" は開いた後でほかのプログラムによって変更されています。"
                                   "その変更を失わないよう、上書き保存を中止しました。")
                        .arg(QFileInfo(fullName_).fileName()));
    drawing_->save(target);
    stamp_ = FileStamp::of(target);
    fullName_ = QFileInfo(target).absoluteFilePath();
    name_ = QFileInfo(target).fileName();
    history_->markSaved();
    modified_ = false;
    differsFromDisk_ = false;
    savedLayerStates_.clear();
    differingLayerStates_ = 0;
    if (onChanged)
        onChanged();
}

void HostDocument::afterHistoryMove() {
    // Objects may have come back or gone: every per-drawing cache is stale.
    ++contentRevision_;
    cache_.clear();
    modified_ = !history_->atSavedState();
    // Layer states written since the save are compared afresh: an undo may
    // have put them back.
    for (auto it = savedLayerStates_.begin(); it != savedLayerStates_.end();) {
        const LayerRecord& rec = *it->rec;
        // A layer the undo took away (or one replaced by another record)
        // is no longer compared; its removal is a change of its own.
        if (rec.erased || !rec.obj || drawing_->findLayer(rec.name) != it->rec) {
            setDiffers(*it, false);
            it = savedLayerStates_.erase(it);
            continue;
        }
        setDiffers(
            *it, it->color != drawing_->layerColor(rec) || it->flags != drawing_->layerFlags(rec));
        ++it;
    }
}

void HostDocument::setDiffers(SavedLayerState& state, bool differs) {
    if (state.differs != differs) {
        state.differs = differs;
        differingLayerStates_ += differs ? 1 : -1;
    }
}

void HostDocument::layerStateChanging(const std::shared_ptr<LayerRecord>& rec) {
    if (!savedLayerStates_.contains(rec.get()))
        savedLayerStates_.insert(rec.get(),
                                 {rec, drawing_->layerColor(*rec), drawing_->layerFlags(*rec)});
}

void HostDocument::layerStateChanged(const std::shared_ptr<LayerRecord>& rec) {
    auto it = savedLayerStates_.find(rec.get());
    // Written without its state taken first: it differs until the next save.
    if (it == savedLayerStates_.end())
        it = savedLayerStates_.insert(rec.get(), {rec, INT_MIN, INT_MIN});
    setDiffers(*it,
               it->color != drawing_->layerColor(*rec) || it->flags != drawing_->layerFlags(*rec));
    // A layer state written outside any mark is a step of its own.
    history_->closeImplicit();
    if (onChanged)
        onChanged();
}

void HostDocument::close() {
    closed_ = true;
    cache_.clear();
    for (auto& s : sets_)
        s->deleted = true;
    sets_.clear();
    onChanged = nullptr;
    onRegen = nullptr;
    pickOnScreen = nullptr;
}

}  // namespace host
