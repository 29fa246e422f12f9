#include "host/render/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/dxf/TagOps.h"
#include "host/render/GeometryImpl.h"
#include "host/render/Palette.h"

namespace host::render {

using dxf::findCore;
using dxf::Object;

namespace {

constexpr double kPi = std::numbers::pi;

QString folded(const QString& s) {
    return s.toCaseFolded();
}

// The character height times this estimates the advance of one character.
constexpr double kCharWidth = 0.6;

}  // namespace

// ---- bounds ---------------------------------------------------------------

QRectF primitiveBounds(const Primitive& p) {
    switch (p.kind) {
        case PrimitiveKind::Polyline:
            return p.points.boundingRect();
        case PrimitiveKind::Circle:
        case PrimitiveKind::Arc:
            // The whole circle: cheap and never too small.
            return QRectF(p.pos.x() - p.radius, p.pos.y() - p.radius, 2 * p.radius, 2 * p.radius);
        case PrimitiveKind::Point:
            return QRectF(p.pos, QSizeF(0, 0));
        case PrimitiveKind::Text: {
            const double w = kCharWidth * p.height * p.widthFactor * p.text.size();
            const double a = p.rotationDeg * kPi / 180.0;
            const QPointF dir(std::cos(a), std::sin(a));
            const QPointF up(-dir.y(), dir.x());
            const QPolygonF box{p.pos, p.pos + dir * w, p.pos + dir * w + up * p.height,
                                p.pos + up * p.height};
            return box.boundingRect();
        }
    }
    return {};
}

QRectF bounds(const std::vector<Primitive>& prims) {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    for (const Primitive& p : prims) {
        const QRectF r = primitiveBounds(p);
        if (!std::isfinite(r.left()) || !std::isfinite(r.top()) || !std::isfinite(r.right()) ||
            !std::isfinite(r.bottom()))
            continue;
        if (!any) {
            x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
            any = true;
        } else {
            x0 = std::min(x0, r.left()), y0 = std::min(y0, r.top());
            x1 = std::max(x1, r.right()), y1 = std::max(y1, r.bottom());
        }
    }
    if (!any)
        return {};
    // A single point or a horizontal line still has a position.
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

// ---- MTEXT formatting -----------------------------------------------------

QStringList mtextPlainLines(const QString& raw) {
    QStringList lines;
    QString cur;
    const qsizetype n = raw.size();
    auto skipTo = [&](qsizetype i, QChar end) {
        while (i < n && raw[i] != end)
            ++i;
        return i;  // at end (or n)
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = raw[i];
        if (c == u'{' || c == u'}')
            continue;
        if (c == u'\n') {
            lines << cur;
            cur.clear();
            continue;
        }
        if (c == u'^' && i + 1 < n) {
            // Caret codes: ^J breaks the line, ^I is a tab, others are control characters.
            const QChar k = raw[i + 1];
            if (k == u'J') {
                lines << cur;
                cur.clear();
            } else if (k == u'I') {
                cur += u' ';
            } else if (k == u' ') {
                cur += u'^';
            }
            ++i;
            continue;
        }
        if (c != u'\\' || i + 1 >= n) {
            cur += c;
            continue;
        }
        const QChar k = raw[++i];
        switch (k.unicode()) {
            case 'P':
            case 'N':
            case 'X':
                lines << cur;
                cur.clear();
                break;
            case '\\':
            case '{':
            case '}':
                cur += k;
                break;
            case '~':
                cur += u' ';
                break;
            case 'L':
            case 'l':
            case 'O':
            case 'o':
            case 'K':
            case 'k':
                break;
            case 'S': {
                // A stack "a^b", "a/b" or "a#b" up to ';' reads as a/b.
                const qsizetype end = skipTo(i + 1, u';');
                QString stack = raw.mid(i + 1, end - i - 1);
                stack.replace(u'^', u'/').replace(u'#', u'/');
                cur += stack;
                i = end;
                break;
            }
            case 'U':
                if (i + 5 < n && raw[i + 1] == u'+') {
                    bool ok = false;
                    const uint code = raw.mid(i + 2, 4).toUInt(&ok, 16);
                    if (ok) {
                        cur += QChar(static_cast<char16_t>(code));
                        i += 5;
                        break;
                    }
                }
                cur += k;
                break;
            case 'M':
                // \M+nXXXX: a double-byte character of another code page; not representable.
                if (i + 6 < n && raw[i + 1] == u'+')
                    i += 6;
                cur += u'?';
                break;
            case 'A':
            case 'C':
            case 'c':
            case 'f':
            case 'F':
            case 'H':
            case 'h':
            case 'Q':
            case 'q':
            case 'T':
            case 't':
            case 'W':
            case 'w':
            case 'p':
                i = skipTo(i + 1, u';');
                break;
            default:
                cur += k;
                break;
        }
    }
    lines << cur;
    for (QString& l : lines)
        l = plainText(l);
    return lines;
}

// ---- builder --------------------------------------------------------------

GeometryBuilder::GeometryBuilder(const Drawing& drawing) : d_(std::make_unique<Impl>(drawing)) {
    const auto& ents = drawing.entities();
    const auto& file = drawing.file();
    // Block contents by the BLOCK that opens them, read in file order so the
    // names match the INSERTs' group 2 decoded the same way.
    QHash<const Object*, int> inBlocks;
    for (size_t i = 0; i < ents.size(); ++i)
        if (!ents[i].block.isEmpty() && !ents[i].sub)
            inBlocks.insert(ents[i].obj, static_cast<int>(i));
    bool blocksSection = false;
    Impl::Block* current = nullptr;
    for (const auto& up : file.objects) {
        const Object& o = *up;
        const QByteArrayView type = dxf::typeOf(file, o);
        if (type == "SECTION") {
            const int i = findCore(o, 2);
            blocksSection = i >= 0 && file.trimmedValue(o.tags[static_cast<size_t>(i)]) == "BLOCKS";
            current = nullptr;
        } else if (type == "ENDSEC") {
            blocksSection = false;
            current = nullptr;
        } else if (!blocksSection) {
            continue;
        } else if (type == "BLOCK") {
            const int i = findCore(o, 2);
            const QString name =
                i >= 0 ? drawing.decode(o.tags[static_cast<size_t>(i)]) : QString();
            current = &d_->blocks[folded(name)];
            const EntityReader r(drawing, o);
            current->base = QPointF(r.num(10), r.num(20));
            current->entities.clear();
        } else if (type == "ENDBLK") {
            current = nullptr;
        } else if (current) {
            const auto it = inBlocks.constFind(&o);
            if (it != inBlocks.constEnd())
                current->entities.push_back(it.value());
        }
    }
    for (int i = 0; i < drawing.layerCount(); ++i) {
        const auto& l = drawing.layer(i);
        if (!l || !l->obj)
            continue;
        Impl::LayerColour c;
        c.aci = std::abs(drawing.layerColor(*l));
        if (c.aci < 1 || c.aci > 255)
            c.aci = 7;
        c.rgb = aciToRgb(c.aci);
        const EntityReader r(drawing, *l->obj);
        if (r.has(420)) {
            c.rgb = static_cast<quint32>(r.integer(420)) & 0xFFFFFF;
            c.aci = 0;
        }
        d_->layers.insert(folded(l->name), c);
    }
}

GeometryBuilder::~GeometryBuilder() = default;

void GeometryBuilder::build(int entityIndex, std::vector<Primitive>& out) const {
    const auto& ents = d_->drawing.entities();
    if (entityIndex < 0 || entityIndex >= static_cast<int>(ents.size()))
        return;
    if (ents[static_cast<size_t>(entityIndex)].sub)
        return;
    Impl::Context ctx;
    ctx.entity = entityIndex;
    const long long extra =
        std::min<long long>(kMaxPrimitivesPerEntity - kStepsPerEntity, d_->sharedSteps);
    const int granted = kStepsPerEntity + static_cast<int>(extra);
    int budget = granted;
    ctx.budget = &budget;
    d_->entity(entityIndex, ctx, out);
    const int used = granted - std::max(budget, 0);
    d_->sharedSteps -= std::max(0, used - kStepsPerEntity);
}

long long GeometryBuilder::sharedStepsLeft() const {
    return d_->sharedSteps;
}

std::vector<Primitive> GeometryBuilder::primitives(int entityIndex) const {
    std::vector<Primitive> out;
    build(entityIndex, out);
    return out;
}

std::vector<Primitive> primitives(const Drawing& drawing, int entityIndex) {
    return GeometryBuilder(drawing).primitives(entityIndex);
}

}  // namespace host::render
