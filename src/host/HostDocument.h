#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "acad/Acad.h"
#include "host/Drawing.h"
#include "host/history/UndoHistory.h"

namespace host {

class HostApplication;

// A named selection set's contents: indexes into the drawing's entities.
struct SelectionSetState {
    QString name;
    std::vector<int> items;
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
    bool isModified() const { return modified_; }
    // Saves to fullName (or the given path, which then becomes the full name).
    void save(const QString& path = QString());
    void close();
    bool isClosed() const { return closed_; }
    // Throws the disconnected error once the drawing is closed.
    void checkOpen() const;
    // Called after every change to the drawing, and after each regeneration.
    void markModified();
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
    bool closed_ = false;
    std::vector<std::shared_ptr<SelectionSetState>> sets_;
    std::unique_ptr<UndoHistory> history_;
};

using HostDocumentPtr = std::shared_ptr<HostDocument>;

}  // namespace host
