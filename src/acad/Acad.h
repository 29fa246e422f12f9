#pragma once

// The automation object model through which the tool reaches drawings. Every
// member may fail with acad::Error. Objects are shared: a caller may keep one
// as long as it likes, and a host may report it disconnected afterwards.

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

#include "acad/Error.h"

namespace acad {

class Application;
class Document;
class Layers;
class Layer;
class Linetypes;
class SelectionSets;
class SelectionSet;
class Entity;

using ApplicationPtr = std::shared_ptr<Application>;
using DocumentPtr = std::shared_ptr<Document>;
using LayersPtr = std::shared_ptr<Layers>;
using LayerPtr = std::shared_ptr<Layer>;
using LinetypesPtr = std::shared_ptr<Linetypes>;
using SelectionSetsPtr = std::shared_ptr<SelectionSets>;
using SelectionSetPtr = std::shared_ptr<SelectionSet>;
using EntityPtr = std::shared_ptr<Entity>;

// Window states the application accepts.
enum WindowStateValue { acNorm = 1, acMin = 2, acMax = 3 };
// ActiveSpace values.
enum ActiveSpaceValue { acPaperSpace = 0, acModelSpace = 1 };
// Regen argument.
enum RegenType { acActiveViewport = 0, acAllViewports = 1 };
// SelectionSet::Select modes.
enum SelectMode {
    acSelectionSetWindow = 0,
    acSelectionSetCrossing = 1,
    acSelectionSetPrevious = 3,
    acSelectionSetLast = 4,
    acSelectionSetAll = 5
};
// Colour values with a meaning of their own.
enum ColorValue { acByBlock = 0, acByLayer = 256 };

class AcadState {
public:
    virtual ~AcadState() = default;
    virtual bool IsQuiescent() const = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual QString Caption() const = 0;
    virtual void SetWindowState(int state) = 0;
    virtual int WindowState() const = 0;
    virtual void SetWidth(int pixels) = 0;
    virtual int Width() const = 0;
    virtual void SetHeight(int pixels) = 0;
    virtual int Height() const = 0;
    virtual void SetWindowTop(int pixels) = 0;
    virtual int WindowTop() const = 0;
    virtual void SetWindowLeft(int pixels) = 0;
    virtual int WindowLeft() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    // Fails when no drawing is open.
    virtual DocumentPtr ActiveDocument() = 0;
    virtual void Update() = 0;
    virtual std::shared_ptr<AcadState> GetAcadState() = 0;
};

class Document {
public:
    virtual ~Document() = default;
    virtual QString FullName() const = 0;
    virtual QString Path() const = 0;
    virtual QString Name() const = 0;
    virtual LayersPtr Layers() = 0;
    virtual LinetypesPtr Linetypes() = 0;
    virtual SelectionSetsPtr SelectionSets() = 0;
    virtual LayerPtr ActiveLayer() = 0;
    virtual void SetActiveLayer(const LayerPtr& layer) = 0;
    virtual int ActiveSpace() const = 0;
    virtual bool MSpace() const = 0;
    virtual void Regen(int which) = 0;
    virtual EntityPtr HandleToObject(const QString& handle) = 0;
    virtual void Export(const QString& fileName, const QString& extension,
                        const SelectionSetPtr& selectionSet) = 0;
    // Open and close one undo step: every change between them is undone as
    // one. Marks nest; the step ends with the outermost end. The name is what
    // the host's Edit menu shows for the step. Hosts without undo ignore them.
    virtual void StartUndoMark(const QString& name = QString()) { (void)name; }
    virtual void EndUndoMark() {}
};

class Layer {
public:
    virtual ~Layer() = default;
    virtual QString Name() const = 0;
    virtual void SetName(const QString& name) = 0;
    virtual bool LayerOn() const = 0;
    virtual void SetLayerOn(bool on) = 0;
    virtual bool Freeze() const = 0;
    virtual void SetFreeze(bool frozen) = 0;
    virtual bool Lock() const = 0;
    virtual void SetLock(bool locked) = 0;
    virtual bool Plottable() const = 0;
    virtual void SetPlottable(bool plottable) = 0;
    virtual bool ViewportDefault() const = 0;
    virtual void SetViewportDefault(bool frozenInNewViewports) = 0;
    virtual long Color() const = 0;
    virtual void SetColor(long color) = 0;
    virtual long Lineweight() const = 0;
    virtual void SetLineweight(long lineweight) = 0;
    virtual QString Linetype() const = 0;
    virtual void SetLinetype(const QString& linetype) = 0;
    virtual QString PlotStyleName() const = 0;
    virtual void Delete() = 0;
};

class Layers {
public:
    virtual ~Layers() = default;
    virtual long Count() const = 0;
    // By 0-based index in collection order.
    virtual LayerPtr Item(long index) = 0;
    // By name, without regard to letter case.
    virtual LayerPtr Item(const QString& name) = 0;
    virtual LayerPtr Add(const QString& name) = 0;
    // Enumeration in collection order.
    std::vector<LayerPtr> items() {
        std::vector<LayerPtr> all;
        const long n = Count();
        all.reserve(static_cast<size_t>(n));
        for (long i = 0; i < n; ++i)
            all.push_back(Item(i));
        return all;
    }
};

class Linetypes {
public:
    virtual ~Linetypes() = default;
    virtual long Count() const = 0;
    virtual QString ItemName(long index) const = 0;
    std::vector<QString> names() const {
        std::vector<QString> all;
        for (long i = 0, n = Count(); i < n; ++i)
            all.push_back(ItemName(i));
        return all;
    }
};

class Entity {
public:
    virtual ~Entity() = default;
    virtual QString ObjectName() const = 0;  // DXF type name, e.g. "LINE"
    virtual QString Layer() const = 0;
    virtual void SetLayer(const QString& layer) = 0;
    virtual long Color() const = 0;
    virtual void SetColor(long color) = 0;
    virtual QString Linetype() const = 0;
    virtual void SetLinetype(const QString& linetype) = 0;
    virtual QString Handle() const = 0;
    // Text and multi-line text only; other objects fail.
    virtual QString TextString() const = 0;
    virtual void SetTextString(const QString& text) = 0;
};

class SelectionSet {
public:
    virtual ~SelectionSet() = default;
    virtual QString Name() const = 0;
    // mode 5 selects every object; the points are ignored for it. The filter
    // arrays hold group codes and their values, combined with AND.
    virtual void Select(int mode, const std::vector<int>& filterType = {},
                        const std::vector<QVariant>& filterData = {}) = 0;
    virtual void SelectOnScreen(const std::vector<int>& filterType = {},
                                const std::vector<QVariant>& filterData = {}) = 0;
    // Adds the objects matching the filter that mode 5 leaves out: objects
    // inside block definitions and the parts of objects (vertices,
    // attributes). Moving every object off a layer needs them. A host that
    // has no such objects adds nothing.
    virtual void SelectNested(const std::vector<int>& filterType = {},
                              const std::vector<QVariant>& filterData = {}) {
        (void)filterType;
        (void)filterData;
    }
    virtual void AddItems(const std::vector<EntityPtr>& items) = 0;
    virtual void Clear() = 0;
    virtual void Delete() = 0;
    virtual long Count() const = 0;
    virtual EntityPtr Item(long index) = 0;
    std::vector<EntityPtr> items() {
        std::vector<EntityPtr> all;
        for (long i = 0, n = Count(); i < n; ++i)
            all.push_back(Item(i));
        return all;
    }
};

class SelectionSets {
public:
    virtual ~SelectionSets() = default;
    virtual long Count() const = 0;
    virtual SelectionSetPtr Item(long index) = 0;
    virtual SelectionSetPtr Add(const QString& name) = 0;
};

}  // namespace acad
