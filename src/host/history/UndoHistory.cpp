#include "host/history/UndoHistory.h"

#include <algorithm>
#include <cstring>

#include "host/Drawing.h"

namespace host {

using dxf::Object;
using dxf::Tag;

namespace {

bool sameTag(const Tag& a, const Tag& b) {
    return a.code == b.code && a.begin == b.begin && a.valBegin == b.valBegin &&
           a.valEnd == b.valEnd && a.end == b.end && a.owned == b.owned;
}

}  // namespace

// One tag of an object whose tag count did not change: the tag of the other state.
struct Patch {
    Object* obj;
    std::uint32_t index;
    Tag tag;
};
// An object whose tags were inserted or erased: its whole other tag list.
struct Whole {
    Object* obj;
    std::vector<Tag> tags;
};
// An object put into (insert) or taken out of the file's object list. While
// the object is out of the file, the step owns it.
struct ListOp {
    bool insert;
    std::size_t pos;
    Object* obj;
    std::unique_ptr<Object> held;
};

struct UndoHistory::Step {
    QString name;
    unsigned long long id = 0;
    std::size_t bytes = 0;  // measured when the step closed
    std::vector<Patch> patches;
    std::vector<Whole> wholes;  // while open: snapshots taken at first touch
    std::vector<ListOp> listOps;
};

UndoHistory::UndoHistory(Drawing& drawing) : drawing_(drawing) {}

UndoHistory::~UndoHistory() = default;

QString UndoHistory::undoName() const {
    return undo_.empty() ? QString() : undo_.back()->name;
}

QString UndoHistory::redoName() const {
    return redo_.empty() ? QString() : redo_.back()->name;
}

void UndoHistory::open(const QString& name, bool implicit) {
    open_ = std::make_unique<Step>();
    open_->name = name;
    implicit_ = implicit;
    touched_.clear();
    lastNoted_ = nullptr;
}

void UndoHistory::startMark(const QString& name) {
    if (applying_)
        return;
    if (depth_ == 0) {
        closeImplicit();
        open(name, false);
    }
    ++depth_;
}

void UndoHistory::endMark() {
    if (applying_ || depth_ == 0)
        return;
    if (--depth_ == 0)
        commit();
}

void UndoHistory::closeImplicit() {
    if (depth_ == 0 && open_ && implicit_)
        commit();
}

UndoHistory::Step* UndoHistory::current() {
    if (applying_)
        return nullptr;
    if (!open_)
        open(QStringLiteral("変更"), true);
    return open_.get();
}

void UndoHistory::noteChange(Object* obj) {
    Step* s = current();
    if (!s)
        return;
    dirtySinceSave_ = true;
    // Setters report the same object several times in a row.
    if (obj == lastNoted_)
        return;
    lastNoted_ = obj;
    if (!touched_.emplace(obj, s->wholes.size()).second)
        return;
    s->wholes.push_back(Whole{obj, obj->tags});
}

void UndoHistory::noteInsert(std::size_t pos, Object* obj) {
    if (Step* s = current()) {
        dirtySinceSave_ = true;
        s->listOps.push_back(ListOp{true, pos, obj, nullptr});
    }
}

void UndoHistory::noteRemove(std::size_t pos, std::unique_ptr<Object> obj) {
    if (Step* s = current()) {
        dirtySinceSave_ = true;
        Object* raw = obj.get();
        s->listOps.push_back(ListOp{false, pos, raw, std::move(obj)});
    }
}

void UndoHistory::commit() {
    std::unique_ptr<Step> s = std::move(open_);
    touched_.clear();
    lastNoted_ = nullptr;
    implicit_ = false;
    if (!s)
        return;
    // Keep only what differs from the state before the step.
    std::vector<Whole> wholes;
    for (Whole& w : s->wholes) {
        const auto& now = w.obj->tags;
        if (now.size() != w.tags.size()) {
            wholes.push_back(std::move(w));
            continue;
        }
        for (std::size_t i = 0; i < now.size(); ++i)
            if (!sameTag(now[i], w.tags[i]))
                s->patches.push_back(Patch{w.obj, static_cast<std::uint32_t>(i), w.tags[i]});
    }
    s->wholes = std::move(wholes);
    s->patches.shrink_to_fit();
    s->wholes.shrink_to_fit();
    // Saved while the group was open: the saved state is the state after
    // this step, unless the step changed more after the save.
    const bool savedInside = savedInOpen_;
    savedInOpen_ = false;
    const bool empty = s->patches.empty() && s->wholes.empty() && s->listOps.empty();
    if (empty) {
        if (savedInside && !dirtySinceSave_) {
            savedId_ = undo_.empty() ? 0 : undo_.back()->id;
            savedReachable_ = true;
        }
        return;  // a group that changed nothing leaves no step
    }
    s->id = nextId_++;
    if (savedInside) {
        savedId_ = s->id;
        savedReachable_ = !dirtySinceSave_;
    }
    // A new change drops the steps that could have been redone; the saved
    // state goes with them when it was among them.
    for (const auto& r : redo_) {
        if (r->id == savedId_)
            savedReachable_ = false;
        held_ -= r->bytes;
    }
    redo_.clear();
    s->bytes = stepBytes(*s);
    held_ += s->bytes;
    undo_.push_back(std::move(s));
    // The oldest steps go beyond the step limit, and beyond the byte budget
    // while more than the minimum is kept.
    while (!undo_.empty() && (static_cast<int>(undo_.size()) > limit_ ||
                              (held_ > budget_ && static_cast<int>(undo_.size()) > kMinSteps))) {
        held_ -= undo_.front()->bytes;
        // The state after the oldest step becomes the base state.
        if (undo_.front()->id == savedId_)
            savedId_ = 0;
        else if (savedId_ == 0)
            savedReachable_ = false;
        undo_.pop_front();
    }
}

void UndoHistory::apply(Step& step, bool undoing) {
    auto& objs = drawing_.file().objects;
    auto swapTags = [&] {
        for (Patch& p : step.patches)
            std::swap(p.obj->tags[p.index], p.tag);
        for (Whole& w : step.wholes)
            std::swap(w.obj->tags, w.tags);
    };
    auto indexOf = [&](const ListOp& op) {
        if (op.pos < objs.size() && objs[op.pos].get() == op.obj)
            return op.pos;
        auto it = std::find_if(objs.begin(), objs.end(),
                               [&](const auto& p) { return p.get() == op.obj; });
        return static_cast<std::size_t>(it - objs.begin());
    };
    auto takeOut = [&](ListOp& op) {
        const std::size_t i = indexOf(op);
        if (i < objs.size()) {
            op.held = std::move(objs[i]);
            objs.erase(objs.begin() + static_cast<long>(i));
        }
    };
    auto putBack = [&](ListOp& op) {
        if (!op.held)
            return;
        const std::size_t at = std::min(op.pos, objs.size());
        objs.insert(objs.begin() + static_cast<long>(at), std::move(op.held));
    };
    if (undoing) {
        swapTags();
        for (auto it = step.listOps.rbegin(); it != step.listOps.rend(); ++it)
            it->insert ? takeOut(*it) : putBack(*it);
    } else {
        for (ListOp& op : step.listOps)
            op.insert ? putBack(op) : takeOut(op);
        swapTags();
    }
    drawing_.refreshIndexes(!step.listOps.empty());
}

bool UndoHistory::undo() {
    closeImplicit();
    if (!canUndo())
        return false;
    std::unique_ptr<Step> s = std::move(undo_.back());
    undo_.pop_back();
    applying_ = true;
    apply(*s, true);
    applying_ = false;
    redo_.push_back(std::move(s));
    return true;
}

bool UndoHistory::redo() {
    closeImplicit();
    if (!canRedo())
        return false;
    std::unique_ptr<Step> s = std::move(redo_.back());
    redo_.pop_back();
    applying_ = true;
    apply(*s, false);
    applying_ = false;
    undo_.push_back(std::move(s));
    return true;
}

void UndoHistory::markSaved() {
    closeImplicit();
    if (open_) {
        savedInOpen_ = true;
        dirtySinceSave_ = false;
        return;
    }
    savedInOpen_ = false;
    savedId_ = undo_.empty() ? 0 : undo_.back()->id;
    savedReachable_ = true;
}

bool UndoHistory::atSavedState() const {
    if (open_ && savedInOpen_)
        return !dirtySinceSave_;
    if (open_ && !(open_->wholes.empty() && open_->listOps.empty()))
        return false;
    const unsigned long long top = undo_.empty() ? 0 : undo_.back()->id;
    return savedReachable_ && top == savedId_;
}

std::size_t UndoHistory::stepBytes(const Step& s) {
    std::size_t n = sizeof(Step) + static_cast<std::size_t>(s.name.capacity()) * 2;
    n += s.patches.capacity() * sizeof(Patch);
    n += s.wholes.capacity() * sizeof(Whole);
    for (const Whole& w : s.wholes)
        n += w.tags.capacity() * sizeof(Tag);
    n += s.listOps.capacity() * sizeof(ListOp);
    for (const ListOp& op : s.listOps)
        if (op.held)
            n += sizeof(Object) + op.held->tags.capacity() * sizeof(Tag);
    return n;
}

std::size_t UndoHistory::memoryBytes() const {
    std::size_t n = 0;
    for (const auto& s : undo_)
        n += s->bytes;
    for (const auto& s : redo_)
        n += s->bytes;
    if (open_)
        n += stepBytes(*open_);
    return n;
}

}  // namespace host
