#pragma once

// The collection, layer, entity and selection-set objects a HostDocument
// hands out. Each keeps its document alive and fails once it is closed.

#include "host/HostDocument.h"

namespace host {

class HostLayers : public acad::Layers {
public:
    explicit HostLayers(HostDocumentPtr doc) : doc_(std::move(doc)) {}
    long Count() const override;
    acad::LayerPtr Item(long index) override;
    acad::LayerPtr Item(const QString& name) override;
    acad::LayerPtr Add(const QString& name) override;

private:
    HostDocumentPtr doc_;
};

class HostLayer : public acad::Layer {
public:
    HostLayer(HostDocumentPtr doc, std::shared_ptr<LayerRecord> rec)
        : doc_(std::move(doc)), rec_(std::move(rec)) {}
    QString Name() const override;
    void SetName(const QString& name) override;
    bool LayerOn() const override;
    void SetLayerOn(bool on) override;
    bool Freeze() const override;
    void SetFreeze(bool frozen) override;
    bool Lock() const override;
    void SetLock(bool locked) override;
    bool Plottable() const override;
    void SetPlottable(bool plottable) override;
    bool ViewportDefault() const override;
    void SetViewportDefault(bool frozenInNewViewports) override;
    long Color() const override;
    void SetColor(long color) override;
    long Lineweight() const override;
    void SetLineweight(long lineweight) override;
    QString Linetype() const override;
    void SetLinetype(const QString& linetype) override;
    QString PlotStyleName() const override;
    void Delete() override;

    const std::shared_ptr<LayerRecord>& record() const { return rec_; }

private:
    LayerRecord& live() const;
    HostDocumentPtr doc_;
    std::shared_ptr<LayerRecord> rec_;
};

class HostLinetypes : public acad::Linetypes {
public:
    explicit HostLinetypes(HostDocumentPtr doc) : doc_(std::move(doc)) {}
    long Count() const override;
    QString ItemName(long index) const override;

private:
    HostDocumentPtr doc_;
};

class HostEntity : public acad::Entity {
public:
    HostEntity(HostDocumentPtr doc, int index) : doc_(std::move(doc)), index_(index) {}
    QString ObjectName() const override;
    QString Layer() const override;
    void SetLayer(const QString& layer) override;
    long Color() const override;
    void SetColor(long color) override;
    QString Linetype() const override;
    void SetLinetype(const QString& linetype) override;
    QString Handle() const override;
    QString TextString() const override;
    void SetTextString(const QString& text) override;

    int index() const { return index_; }
    const HostDocument* document() const { return doc_.get(); }

private:
    const EntityRecord& rec() const;
    HostDocumentPtr doc_;
    int index_;
};

class HostSelectionSet : public acad::SelectionSet {
public:
    HostSelectionSet(HostDocumentPtr doc, std::shared_ptr<SelectionSetState> state)
        : doc_(std::move(doc)), state_(std::move(state)) {}
    QString Name() const override;
    void Select(int mode, const std::vector<int>& filterType,
                const std::vector<QVariant>& filterData) override;
    void SelectOnScreen(const std::vector<int>& filterType,
                        const std::vector<QVariant>& filterData) override;
    void SelectNested(const std::vector<int>& filterType,
                      const std::vector<QVariant>& filterData) override;
    void AddItems(const std::vector<acad::EntityPtr>& items) override;
    void Clear() override;
    void Delete() override;
    long Count() const override;
    acad::EntityPtr Item(long index) override;

    const std::vector<int>& indexes() const;

private:
    SelectionSetState& live() const;
    void addUnique(int index);
    HostDocumentPtr doc_;
    std::shared_ptr<SelectionSetState> state_;
};

class HostSelectionSets : public acad::SelectionSets {
public:
    explicit HostSelectionSets(HostDocumentPtr doc) : doc_(std::move(doc)) {}
    long Count() const override;
    acad::SelectionSetPtr Item(long index) override;
    acad::SelectionSetPtr Add(const QString& name) override;

private:
    HostDocumentPtr doc_;
};

}  // namespace host
