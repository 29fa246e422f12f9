// TEXT, ATTRIB, ATTDEF and MTEXT as single-line text primitives.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/dxf/TagOps.h"
#include "host/render/GeometryImpl.h"

namespace host::render {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
// Estimated advance of one character, in character heights.
constexpr double kCharWidth = 0.6;
// MTEXT's line pitch at spacing factor 1, in character heights.
constexpr double kLinePitch = 5.0 / 3.0;

}  // namespace

void GeometryBuilder::Impl::text(int index, const EntityReader& r, QByteArrayView type,
                                 const QTransform& w, Sink& s) const {
    const EntityRecord& rec = drawing.entities()[static_cast<size_t>(index)];
    const bool attdef = type == "ATTDEF";
    if ((type == "ATTRIB" || attdef) && (r.integer(70, 0) & 1))
        return;  // invisible attribute
    // An attribute definition shows its tag; the others their value.
    const QString str = plainText(attdef ? r.string(2) : drawing.entityText(rec));
    if (str.isEmpty())
        return;
    double h = r.num(40, 1.0);
    if (!(h > 0))
        h = 1.0;
    double rot = r.num(50, 0.0);
    double wf = r.num(41, 1.0);
    if (!(wf > 0))
        wf = 1.0;
    const long long hal = r.integer(72, 0);
    const long long val = r.integer(type == "TEXT" ? 73 : 74, 0);
    const QPointF p1(r.num(10), r.num(20));
    const bool hasP2 = r.has(11);
    const QPointF p2(r.num(11), r.num(21));
    QPointF anchor = p1;
    double width = kCharWidth * h * wf * static_cast<double>(str.size());
    double dx = 0.0, dy = 0.0;
    if ((hal == 3 || hal == 5) && hasP2 && p2 != p1) {
        // Aligned and fit: the text runs from the first point to the second.
        const QPointF d = p2 - p1;
        rot = std::atan2(d.y(), d.x()) / kDeg;
        const double len = std::hypot(d.x(), d.y());
        if (hal == 3)
            h = len / (kCharWidth * wf * static_cast<double>(str.size()));
        else
            wf = len / (kCharWidth * h * static_cast<double>(str.size()));
        width = len;
    } else if ((hal != 0 || val != 0) && hasP2) {
        anchor = p2;
        if (hal == 1 || hal == 4)
            dx = -width / 2;
        if (hal == 2)
            dx = -width;
        if (hal == 4 || val == 2)
            dy = -h / 2;
        if (val == 3)
            dy = -h;
    }
    const QPointF dir(std::cos(rot * kDeg), std::sin(rot * kDeg));
    const QPointF up(-dir.y(), dir.x());
    s.text(ocsTransform(r, r.num(30)) * w, anchor + dir * dx + up * dy, h, rot, wf, str);
}

void GeometryBuilder::Impl::mtext(int index, const EntityReader& r, const QTransform& w,
                                  Sink& s) const {
    const EntityRecord& rec = drawing.entities()[static_cast<size_t>(index)];
    QStringList lines = mtextPlainLines(drawing.entityText(rec));
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return;
    double h = r.num(40, 1.0);
    if (!(h > 0))
        h = 1.0;
    double rot = r.num(50, 0.0);
    if (r.has(11)) {
        // The direction vector wins over the rotation angle.
        const double x = r.num(11), y = r.num(21);
        if (x != 0.0 || y != 0.0)
            rot = std::atan2(y, x) / kDeg;
    }
    double spacing = r.num(44, 1.0);
    if (!(spacing > 0))
        spacing = 1.0;
    const double pitch = h * kLinePitch * spacing;
    const long long attach = std::clamp(r.integer(71, 1), 1LL, 9LL);
    const long long row = (attach - 1) / 3;  // 0 top, 1 middle, 2 bottom
    const long long col = (attach - 1) % 3;  // 0 left, 1 centre, 2 right
    const double total = h + pitch * static_cast<double>(lines.size() - 1);
    // Offset of the first baseline below the insertion point.
    double first = h;
    if (row == 1)
        first = h - total / 2;
    if (row == 2)
        first = h - total;
    const QPointF dir(std::cos(rot * kDeg), std::sin(rot * kDeg));
    const QPointF up(-dir.y(), dir.x());
    const QPointF ins(r.num(10), r.num(20));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const double width = kCharWidth * h * static_cast<double>(lines[i].size());
        const double dx = col == 1 ? -width / 2 : col == 2 ? -width : 0.0;
        const double down = first + pitch * static_cast<double>(i);
        s.text(w, ins + dir * dx - up * down, h, rot, 1.0, lines[i]);
    }
}

}  // namespace host::render
