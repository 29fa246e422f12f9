// Document.Export: a picture of selected objects as a placeable Windows
// Metafile.
#include <algorithm>

#include "host/AtomicFile.h"
#include "host/HostDocument.h"
#include "host/HostObjects.h"
#include "host/render/Scene.h"
#include "host/wmf/WmfWriter.h"

namespace host {

namespace {

wmf::Point toWmf(QPointF p) {
    return {p.x(), p.y()};
}

std::vector<wmf::Point> toWmf(const QPolygonF& pts) {
    std::vector<wmf::Point> out;
    out.reserve(static_cast<size_t>(pts.size()));
    for (const QPointF& p : pts)
        out.push_back(toWmf(p));
    return out;
}

// Draws the objects as the drawing shows them: objects on layers that are off
// or frozen are left out, and ACI 7 is black on the picture's white.
QByteArray metafileOf(const Drawing& drawing, const render::GeometryBuilder& builder,
                      const std::vector<int>& entities) {
    const render::Scene scene = render::Scene::build(builder, entities);
    const render::LayerVisibility visibility(drawing);
    const std::vector<char> drawn = scene.drawnGroups(visibility);
    const QRectF box = scene.bounds(visibility);
    wmf::WmfWriter w(box.left(), box.top(), box.right(), box.bottom());
    const auto& prims = scene.primitives();
    for (size_t i = 0; i < prims.size(); ++i) {
        if (!drawn[static_cast<size_t>(scene.groupOf(i))])
            continue;
        const render::Primitive& p = prims[i];
        w.setPen(p.aci == 7 ? 0x000000 : p.rgb);
        switch (p.kind) {
            case render::PrimitiveKind::Polyline:
                if (p.closed || p.filled)
                    w.polygon(toWmf(p.points), p.filled);
                else
                    w.polyline(toWmf(p.points));
                break;
            case render::PrimitiveKind::Circle:
                w.circle(toWmf(p.pos), p.radius);
                break;
            case render::PrimitiveKind::Arc:
                w.arc(toWmf(p.pos), p.radius, p.startDeg, p.endDeg);
                break;
            case render::PrimitiveKind::Point:
                w.point(toWmf(p.pos));
                break;
            case render::PrimitiveKind::Text:
                w.text(toWmf(p.pos), p.height, p.rotationDeg, p.text);
                break;
        }
    }
    return w.finish();
}

}  // namespace

void HostDocument::Export(const QString& fileName, const QString& extension,
                          const acad::SelectionSetPtr& selectionSet) {
    checkOpen();
    QString format = extension.trimmed();
    if (format.startsWith(QLatin1Char('.')))
        format.remove(0, 1);
    if (format.compare(QLatin1String("WMF"), Qt::CaseInsensitive) != 0)
        acad::raise(acad::ErrorNumber::NotSupported,
                    QStringLiteral("書き出し形式 \"%1\" には対応していません。書き出せるのは "
                                   "Windows メタファイル (\"WMF\") だけです。")
                        .arg(extension));
    if (fileName.trimmed().isEmpty())
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("入力が無効です: 書き出し先のファイル名がありません。"));
    auto* set = dynamic_cast<HostSelectionSet*>(selectionSet.get());
    if (!set)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("入力が無効です: 書き出す選択セットがありません。"));
    // A set is this drawing's when its contents are one of this drawing's sets.
    const std::vector<int>& items = set->indexes();
    const bool ours = std::any_of(sets_.begin(), sets_.end(),
                                  [&](const auto& state) { return &state->items == &items; });
    if (!ours)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("入力が無効です: 選択セットが別の図面のものです。"));
    if (items.empty())
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("入力が無効です: 選択セットが空です。"));
    const int count = static_cast<int>(drawing_->entities().size());
    std::vector<int> entities;
    for (int i : items)
        if (i >= 0 && i < count)
            entities.push_back(i);
    // The builder is shared by every export until the drawing's content
    // changes: a picture per layer reads the block definitions once.
    const auto& builder = cache_.builder(*drawing_, contentRevision_);
    // A picture is made again whenever it is asked for: it is written over
    // the old one in place, without waiting for the disk (new files and disk
    // waits would dominate a picture per layer).
    writeFileInPlace(fileName + QStringLiteral(".wmf"), metafileOf(*drawing_, builder, entities));
}

}  // namespace host
