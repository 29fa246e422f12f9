#pragma once

#include <QHash>
#include <functional>
#include <memory>
#include <vector>

#include "acad/Acad.h"
#include "host/AtomicFile.h"
#include "host/Drawing.h"
#include "host/DrawingCache.h"
#include "host/history/UndoHistory.h"

namespace host {

class HostApplication;

// A named selection set's contents: indexes into the drawing's entities.
struct SelectionSetState {
    QString name;
    std::vector<int> items;
    // Which entity indexes items holds, so that adding stays linear in the
    // number added however large the set grows.
    std::vector<bool> member;
    bool deleted = false;
};

// One open drawing of the host, offered through the automation model.
class HostDocument : public acad::Document, public std::enable_shared_from_this<HostDocument> {
public:
    // fullName is empty for a drawing that was never saved; name is its title.
    HostDocument(std::unique_ptr<Drawing> drawing, QString fullName, QString name);

    // acad::Document
    QString FullName() const override;
    QString Path() const override;
    QString Name() const override;
    acad::LayersPtr Layers() override;
    acad::LinetypesPtr Linetypes() override;
    acad::SelectionSetsPtr SelectionSets() override;
    acad::LayerPtr ActiveLayer() override;
    void SetActiveLayer(const acad::LayerPtr& layer) override;
    int ActiveSpace() const override;
    bool MSpace() const override;
    void Regen(int which) override;
    acad::EntityPtr HandleToObject(const QString& handle) override;
    void Export(const QString& fileName, const QString& extension,
                const acad::SelectionSetPtr& selectionSet) override;
    void StartUndoMark(const QString& name = QString()) override;
    void EndUndoMark() override;

    // Host side.
    Drawing& drawing();
    const Drawing& drawing() const;
    void setActiveSpace(int space);
    void setMSpace(bool modelSpaceInViewport);
    int regenCount() const { return regenCount_; }
    // The layout shown when the drawing is not on the Model tab, and the
    // floating viewport (an entity index) whose model space MSPACE enters.
    const QString& currentLayout() const { return currentLayout_; }
    void setCurrentLayout(const QString& layout) { currentLayout_ = layout; }
    int currentViewport() const { return currentViewport_; }
    void setCurrentViewport(int entityIndex) { currentViewport_ = entityIndex; }
    // Changed since it was opened or saved. Layers turned off and on again or
    // frozen and thawed again (by any route) count as unchanged.
    bool isModified() const { return modified_ || differsFromDisk_ || differingLayerStates_ > 0; }
    // Saves to fullName (or the given path, which then becomes the full name).
    // When the drawing's own file was changed on disk since it was opened or
    // last saved, the save is refused with an acad::Error (FileError) unless
    // overwriteChanged says the user chose to overwrite it.
    void save(const QString& path = QString(), bool overwriteChanged = false);
    // True when another program changed, replaced or created the drawing's
    // file since this host opened or last saved it (a removed file is not
    // "changed": saving it loses nothing).
    bool changedOnDisk() const;
    // The file as it was when it was read or last written.
    void setDiskStamp(const FileStamp& stamp) { stamp_ = stamp; }
    void close();
    bool isClosed() const { return closed_; }
    // Throws the disconnected error once the drawing is closed.
    void checkOpen() const;
    // Called after every change to the drawing, and after each regeneration.
    void markModified();
    // The drawing's contents are not the file's (opened from a recovery
    // file): modified until saved, whatever undo does.
    void markDifferentFromDisk() { differsFromDisk_ = true; }
    // Around a write of a layer's on/off or frozen state, instead of
    // markModified: the drawing counts as modified while any layer's state
    // differs from what it was when the drawing was opened or saved.
    void layerStateChanging(const std::shared_ptr<LayerRecord>& rec);
    void layerStateChanged(const std::shared_ptr<LayerRecord>& rec);
    // Counts changes to anything but layers' on/off and frozen states.
    quint64 contentRevision() const { return contentRevision_; }
    // Shared by calls on the drawing at one content revision.
    DrawingCache& cache() { return cache_; }
    std::function<void()> onChanged;
    std::function<void()> onRegen;
    // Lets the user pick objects; returns entity indexes. Set by the host window.
    std::function<std::vector<int>()> pickOnScreen;
    std::vector<std::shared_ptr<SelectionSetState>>& selectionSetStates() { return sets_; }

    // Undo history. undo/redo take back or replay whole steps and report
    // the change; they return the steps done (fewer when the history runs out).
    UndoHistory& history() { return *history_; }
    int undo(int steps = 1);
    int redo(int steps = 1);

    acad::LayerPtr wrapLayer(const std::shared_ptr<LayerRecord>& rec);
    acad::EntityPtr wrapEntity(int index);

private:
    std::unique_ptr<Drawing> drawing_;
    QString fullName_;
    QString name_;
    int regenCount_ = 0;
    bool mspace_ = false;
    QString currentLayout_;
    int currentViewport_ = -1;
    bool modified_ = false;
    bool differsFromDisk_ = false;
    bool closed_ = false;
    // Caches, the modified flag and the layer-state comparison after an undo or redo.
    void afterHistoryMove();
    // Up to `steps` undos or redos; how many were done.
    int moveInHistory(int steps, bool (UndoHistory::*step)());
    FileStamp stamp_;
    quint64 contentRevision_ = 1;
    // Layers whose on/off or frozen state was written since the last save:
    // the colour and flags they had then, and whether they differ now.
    struct SavedLayerState {
        std::shared_ptr<LayerRecord> rec;
        int color = 0;
        int flags = 0;
        bool differs = false;
    };
    void setDiffers(SavedLayerState& state, bool differs);
    QHash<const LayerRecord*, SavedLayerState> savedLayerStates_;
    int differingLayerStates_ = 0;  // entries whose differs is set
    DrawingCache cache_;
    std::vector<std::shared_ptr<SelectionSetState>> sets_;
    std::unique_ptr<UndoHistory> history_;
};

using HostDocumentPtr = std::shared_ptr<HostDocument>;

}  // namespace host
