#pragma once

// The undo history of one drawing. The drawing reports each change at its
// lowest level (an object's tags about to change, an object put into or taken
// out of the file); the history keeps, per step, only the other state of what
// changed: each differing tag of an object, the run of tags inserted or erased
// with its position, and the objects taken out. Undo and redo swap those
// states back in, in order, so a drawing undone to its opened state writes the
// bytes it was read from (changed tags' bytes stay in the file's pool).

#include <QString>
#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

#include "host/dxf/TagFile.h"

namespace host {

class Drawing;

class UndoHistory {
public:
    explicit UndoHistory(Drawing& drawing);
    ~UndoHistory();

    // Groups. Marks nest; the group closes with its outermost end. A change
    // outside any mark opens an implicit group that closeImplicit() ends.
    void startMark(const QString& name);
    void endMark();
    int markDepth() const { return depth_; }
    void closeImplicit();

    // Called by the drawing right before it edits an object's tags (each
    // edit of an object follows its own call, with no other object's call
    // in between), and when it puts an object into or takes one out of the
    // file's object list.
    void noteChange(dxf::Object* obj);
    void noteInsert(std::size_t pos, dxf::Object* obj);
    void noteRemove(std::size_t pos, std::unique_ptr<dxf::Object> obj);

    bool canUndo() const { return !undo_.empty() && depth_ == 0; }
    bool canRedo() const { return !redo_.empty() && depth_ == 0; }
    QString undoName() const;
    QString redoName() const;
    int undoCount() const { return static_cast<int>(undo_.size()); }
    int redoCount() const { return static_cast<int>(redo_.size()); }
    // Each returns false when there is nothing to do.
    bool undo();
    bool redo();

    // The state the drawing had when it was last saved (or opened).
    void markSaved();
    bool atSavedState() const;

    // Steps kept; the oldest are dropped beyond the limit, and beyond the
    // byte budget once more than kMinSteps are kept.
    static constexpr int kMinSteps = 20;
    void setLimit(int steps) { limit_ = steps; }
    int limit() const { return limit_; }
    void setBudget(std::size_t bytes) { budget_ = bytes; }
    // Bytes held by the history (steps and their records).
    std::size_t memoryBytes() const;

    struct Step;

private:
    static std::size_t stepBytes(const Step& s);
    void open(const QString& name, bool implicit);
    void commit();
    // True when the step's edits only wrote back the values the tags had.
    bool putsEverythingBack(const Step& s) const;
    // Records how the object being edited differs from its tags before.
    void finishEdit();
    void apply(Step& step, bool undoing);
    // After undo or redo moved a step: its bytes measured again.
    void remeasure(Step& step);
    Step* current();

    Drawing& drawing_;
    std::deque<std::unique_ptr<Step>> undo_;
    std::vector<std::unique_ptr<Step>> redo_;
    std::unique_ptr<Step> open_;
    // The object being edited and its tags before the edit.
    dxf::Object* editing_ = nullptr;
    std::vector<dxf::Tag> before_;
    std::vector<dxf::Tag> scratch_;  // tags on their way between object and step
    int depth_ = 0;
    bool implicit_ = false;
    bool applying_ = false;
    int limit_ = 200;
    std::size_t budget_ = std::size_t{1} << 30;  // 1 GiB
    std::size_t held_ = 0;                       // bytes of the kept steps
    unsigned long long nextId_ = 1;
    unsigned long long savedId_ = 0;  // id of the top undo step at save; 0 = none
    bool savedReachable_ = true;
    bool savedInOpen_ = false;     // saved while a group was open
    bool dirtySinceSave_ = false;  // changed since that save
};

}  // namespace host
