#pragma once

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "host/LayerObjectIndex.h"
#include "host/dxf/Codepage.h"
#include "host/dxf/TagFile.h"

namespace host {

enum class Space { Model, Paper, Block };

// A LAYER table record. Layer objects handed out keep this record alive and
// see erased once the layer is deleted.
struct LayerRecord {
    dxf::Object* obj = nullptr;
    QString name;  // decoded, kept in step with group 2
    bool erased = false;
};

struct EntityRecord {
    dxf::Object* obj = nullptr;
    Space space = Space::Model;
    bool sub = false;  // VERTEX, SEQEND, ATTRIB: parts of the object before them
    QString block;     // owning block for Space::Block and paper-space blocks
    // The decoded layer name, kept once read: selections by layer read it for
    // every object, often once per layer.
    mutable QString layerCache;
    mutable bool layerCached = false;
};

// A drawing held as its file's tags, with indexes over the parts the
// automation model works on. Every change edits tags in place, so what is not
// changed is written back byte for byte.
class UndoHistory;

class Drawing {
public:
    // Throws acad::Error (FileError) naming the problem and line.
    static std::unique_ptr<Drawing> fromBytes(QByteArray bytes, const QString& nameForErrors);
    static std::unique_ptr<Drawing> load(const QString& path);
    // A new drawing with layer "0" and the standard linetypes.
    static std::unique_ptr<Drawing> createNew();

    QByteArray toBytes() const { return file_->save(); }
    // Writes atomically; throws acad::Error when the file cannot be written.
    void save(const QString& path) const;

    const QByteArray& version() const { return version_; }
    bool isR12() const { return version_ <= QByteArray("AC1009"); }
    bool hasSubclasses() const { return version_ >= QByteArray("AC1012"); }
    const dxf::Codepage& codepage() const { return *codepage_; }
    dxf::TagFile& file() { return *file_; }
    const dxf::TagFile& file() const { return *file_; }

    QString decode(const dxf::Tag& tag) const { return codepage_->decode(file_->value(tag)); }
    QByteArray encode(const QString& text) const { return codepage_->encode(text); }

    // Header variables: the value tag with the code after "9 name".
    const dxf::Tag* headerTag(QByteArrayView var, int code) const;
    QString headerString(QByteArrayView var, int code) const;
    long long headerInt(QByteArrayView var, int code, long long fallback) const;
    void setHeader(QByteArrayView var, int code, QByteArrayView value);

    // Layers in table order.
    int layerCount() const { return static_cast<int>(layers_.size()); }
    const std::shared_ptr<LayerRecord>& layer(int index) const {
        return layers_[static_cast<size_t>(index)];
    }
    // Without regard to letter case; null when there is none.
    std::shared_ptr<LayerRecord> findLayer(const QString& name) const;
    std::shared_ptr<LayerRecord> addLayer(const QString& name);
    void renameLayer(LayerRecord& layer, const QString& newName);
    void deleteLayer(LayerRecord& layer);
    // Throws when the name is one the CAD application refuses.
    void checkLayerName(const QString& name) const;
    bool layerInUse(const QString& name) const;
    QString currentLayerName() const { return headerString("$CLAYER", 8); }
    void setCurrentLayerName(const QString& name);
    bool isCurrentLayer(const LayerRecord& layer) const;

    // Layer record fields.
    int layerFlags(const LayerRecord& l) const;
    void setLayerFlag(LayerRecord& l, int bit, bool on);
    int layerColor(const LayerRecord& l) const;  // signed: negative = off
    void setLayerColor(LayerRecord& l, int signedColor);
    QString layerLinetype(const LayerRecord& l) const;
    void setLayerLinetype(LayerRecord& l, const QString& linetype);
    int layerLineweight(const LayerRecord& l) const;
    void setLayerLineweight(LayerRecord& l, int lineweight);
    bool layerPlottable(const LayerRecord& l) const;
    void setLayerPlottable(LayerRecord& l, bool plottable);
    QString layerPlotStyleName(const LayerRecord& l) const;
    QByteArray handleOf(const dxf::Object& obj) const;

    // Linetype names in table order.
    std::vector<QString> linetypeNames() const;

    // Entities of model space, paper space and block definitions.
    const std::vector<EntityRecord>& entities() const { return entities_; }
    int findEntity(QByteArrayView handle) const;  // index or -1
    QString entityType(const EntityRecord& e) const;
    QString entityLayer(const EntityRecord& e) const;
    // Positions in entities() of the objects on the layer (without regard to
    // letter case), in drawing order.
    const std::vector<int>& entitiesOnLayer(const QString& layer) const;
    void setEntityLayer(const EntityRecord& e, const QString& layer);
    int entityColor(const EntityRecord& e) const;  // 256 when not set
    void setEntityColor(const EntityRecord& e, int color);
    QString entityLinetype(const EntityRecord& e) const;  // "BYLAYER" when not set
    void setEntityLinetype(const EntityRecord& e, const QString& linetype);
    bool hasText(const EntityRecord& e) const;
    QString entityText(const EntityRecord& e) const;
    void setEntityText(const EntityRecord& e, const QString& text);

    // Viewport entities (floating viewports have id > 1) and their frozen layers.
    const std::vector<int>& viewportEntities() const { return viewports_; }

    // A fresh handle from $HANDSEED, never one in use.
    QByteArray newHandle();

    // The history that records every change (none: changes are not recorded).
    void setHistory(UndoHistory* history) { history_ = history; }
    // Reports that the object's tags are about to change. Called right before
    // each edit of the object, with no other object's report in between.
    void noteChange(dxf::Object* obj);
    // After undo or redo: re-reads layer names and caches from the tags; a
    // structural change (objects put in or taken out) re-derives every index.
    // Layer records keep their identity by object.
    void refreshIndexes(bool structural);

private:
    Drawing() = default;
    void index(const QString& nameForErrors);
    void rebuildLayerNames();
    dxf::Object* headerObject() const { return header_; }
    void insertObjectAfter(const dxf::Object* after, std::unique_ptr<dxf::Object> obj);
    void removeObject(const dxf::Object* obj);
    // Removes an OBJECTS-section object from the file and from every index.
    void forgetObject(dxf::Object* obj);
    void removeLayerReferences(const LayerRecord& l, const QByteArray& handle);
    // Objects with XDATA layer names (group 1003), found on first use.
    const std::vector<dxf::Object*>& xdataLayerHolders();

    std::unique_ptr<dxf::TagFile> file_;
    std::unique_ptr<dxf::Codepage> codepage_;
    QByteArray version_;
    dxf::Object* header_ = nullptr;
    dxf::Object* layerTable_ = nullptr;
    std::vector<dxf::Object*> linetypes_;
    std::vector<std::shared_ptr<LayerRecord>> layers_;
    QHash<QString, std::shared_ptr<LayerRecord>> layerByName_;  // case-folded names
    std::vector<EntityRecord> entities_;
    QHash<unsigned long long, int> entityByHandle_;
    mutable LayerObjectIndex byLayer_;
    std::vector<int> viewports_;
    std::vector<dxf::Object*> xdataHolders_;
    bool xdataHoldersKnown_ = false;
    std::vector<dxf::Object*> objectsSection_;  // OBJECTS section entries
    std::vector<dxf::Object*> blockMarkers_;    // BLOCK and ENDBLK
    QHash<unsigned long long, dxf::Object*> objectByHandle_;
    unsigned long long maxHandle_ = 0;
    UndoHistory* history_ = nullptr;
    // Records of deleted layers by their former object, so an undone
    // deletion brings back the same record.
    QHash<dxf::Object*, std::shared_ptr<LayerRecord>> retired_;
};

}  // namespace host
