#include "host/history/UndoHistory.h"

#include <algorithm>
#include <set>

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

// One tag of an object, edited in place: the tag of the other state.
struct Patch {
    Object* obj;
    std::uint32_t index;
    Tag tag;
};
// A run of an object's tags that tags were inserted into or erased from:
// `here` tags at pos in the object stand for the `other` tags held at off in
// the step's tag store (in a slot of `room` tags). Undo and redo exchange the
// two runs. An insertion holds nothing until it is undone.
struct Splice {
    Object* obj;
    std::uint32_t pos;
    std::uint32_t here;
    std::uint32_t other;
    std::uint32_t off;
    std::uint32_t room;
    // Patches recorded before this splice: edits replay in recorded order.
    std::uint32_t patchesBefore;
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
    std::size_t bytes = 0;  // measured when the step closed, undone or redone
    std::vector<Patch> patches;
    std::vector<Splice> splices;
    std::vector<Tag> store;  // the splices' other tags
    std::vector<ListOp> listOps;
};

namespace {

// Exchanges the splice's run in its object with the run held in the store.
void swapSplice(Splice& sp, std::vector<Tag>& store, std::vector<Tag>& scratch) {
    auto& tags = sp.obj->tags;
    const auto at = static_cast<std::ptrdiff_t>(sp.pos);
    scratch.assign(tags.begin() + at, tags.begin() + at + sp.here);
    const auto from = store.begin() + static_cast<std::ptrdiff_t>(sp.off);
    const std::uint32_t common = std::min(sp.here, sp.other);
    std::copy(from, from + common, tags.begin() + at);
    if (sp.other > sp.here)
        tags.insert(tags.begin() + at + common, from + common, from + sp.other);
    else
        tags.erase(tags.begin() + at + common, tags.begin() + at + sp.here);
    // The run taken out goes to the slot, or to a new one when it does not fit.
    if (sp.here > sp.room) {
        sp.off = static_cast<std::uint32_t>(store.size());
        sp.room = sp.here;
        store.resize(store.size() + sp.here);
    }
    std::copy(scratch.begin(), scratch.end(), store.begin() + static_cast<std::ptrdiff_t>(sp.off));
    std::swap(sp.here, sp.other);
}

}  // namespace

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
    editing_ = nullptr;
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
    if (!current())
        return;
    dirtySinceSave_ = true;
    // Setters report the same object several times in a row.
    if (obj == editing_)
        return;
    finishEdit();
    editing_ = obj;
    before_.assign(obj->tags.begin(), obj->tags.end());
}

void UndoHistory::finishEdit() {
    Object* obj = editing_;
    editing_ = nullptr;
    if (!obj || !open_)
        return;
    Step& s = *open_;
    const auto& now = obj->tags;
    const auto& was = before_;
    if (now.size() == was.size()) {
        for (std::size_t i = 0; i < now.size(); ++i)
            if (!sameTag(now[i], was[i]))
                s.patches.push_back(Patch{obj, static_cast<std::uint32_t>(i), was[i]});
        return;
    }
    // Tags inserted or erased: only the run between the unchanged start and
    // the unchanged end is kept.
    const std::size_t shorter = std::min(now.size(), was.size());
    std::size_t head = 0;
    while (head < shorter && sameTag(now[head], was[head]))
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && sameTag(now[now.size() - 1 - tail], was[was.size() - 1 - tail]))
        ++tail;
    Splice sp{};
    sp.obj = obj;
    sp.pos = static_cast<std::uint32_t>(head);
    sp.here = static_cast<std::uint32_t>(now.size() - head - tail);
    sp.other = static_cast<std::uint32_t>(was.size() - head - tail);
    sp.off = static_cast<std::uint32_t>(s.store.size());
    sp.room = sp.other;
    sp.patchesBefore = static_cast<std::uint32_t>(s.patches.size());
    s.store.insert(s.store.end(), was.begin() + static_cast<std::ptrdiff_t>(head),
                   was.end() - static_cast<std::ptrdiff_t>(tail));
    s.splices.push_back(sp);
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

bool UndoHistory::putsEverythingBack(const Step& s) const {
    if (s.patches.empty() || !s.splices.empty() || !s.listOps.empty())
        return false;
    // Each tag's first patch holds the value it had before the step. The
    // first patch of the step is always such a one, so a step that changed
    // anything is mostly told at once.
    const dxf::TagFile& f = drawing_.file();
    auto same = [&](const Tag& a, const Tag& b) {
        return a.code == b.code && f.value(a) == f.value(b);
    };
    std::set<std::pair<const Object*, std::uint32_t>> seen;
    for (const Patch& p : s.patches)
        if (seen.insert({p.obj, p.index}).second && !same(p.obj->tags[p.index], p.tag))
            return false;
    return true;
}

void UndoHistory::commit() {
    finishEdit();
    std::unique_ptr<Step> s = std::move(open_);
    implicit_ = false;
    if (!s)
        return;
    s->patches.shrink_to_fit();
    s->splices.shrink_to_fit();
    s->store.shrink_to_fit();
    // Saved while the group was open: the saved state is the state after
    // this step, unless the step changed more after the save.
    const bool savedInside = savedInOpen_;
    savedInOpen_ = false;
    const bool empty =
        (s->patches.empty() && s->splices.empty() && s->listOps.empty()) || putsEverythingBack(*s);
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
    // Tag edits in reverse order to undo, in recorded order to redo.
    auto swapTags = [&] {
        auto patch = [](Patch& p) { std::swap(p.obj->tags[p.index], p.tag); };
        auto& patches = step.patches;
        auto& splices = step.splices;
        // Room for the runs that do not fit their slots, made once.
        std::size_t grow = 0;
        for (const Splice& sp : splices)
            if (sp.here > sp.room)
                grow += sp.here;
        step.store.reserve(step.store.size() + grow);
        if (undoing) {
            std::size_t i = patches.size();
            for (std::size_t k = splices.size(); k-- > 0;) {
                while (i > splices[k].patchesBefore)
                    patch(patches[--i]);
                swapSplice(splices[k], step.store, scratch_);
            }
            while (i > 0)
                patch(patches[--i]);
        } else {
            std::size_t i = 0;
            for (Splice& sp : splices) {
                while (i < sp.patchesBefore)
                    patch(patches[i++]);
                swapSplice(sp, step.store, scratch_);
            }
            while (i < patches.size())
                patch(patches[i++]);
        }
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
    remeasure(*s);
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
    remeasure(*s);
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
    if (open_ &&
        (editing_ || !(open_->patches.empty() && open_->splices.empty() && open_->listOps.empty())))
        return false;
    const unsigned long long top = undo_.empty() ? 0 : undo_.back()->id;
    return savedReachable_ && top == savedId_;
}

std::size_t UndoHistory::stepBytes(const Step& s) {
    std::size_t n = sizeof(Step) + static_cast<std::size_t>(s.name.capacity()) * 2;
    n += s.patches.capacity() * sizeof(Patch);
    n += s.splices.capacity() * sizeof(Splice);
    n += s.store.capacity() * sizeof(Tag);
    n += s.listOps.capacity() * sizeof(ListOp);
    for (const ListOp& op : s.listOps)
        if (op.held)
            n += sizeof(Object) + op.held->tags.capacity() * sizeof(Tag);
    return n;
}

void UndoHistory::remeasure(Step& step) {
    // An undone insertion now holds the tags it took out.
    const std::size_t bytes = stepBytes(step);
    held_ = held_ - step.bytes + bytes;
    step.bytes = bytes;
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
