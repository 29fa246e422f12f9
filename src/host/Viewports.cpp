#include "host/Viewports.h"

#include <QHash>
#include <algorithm>

#include "acad/Error.h"
#include "host/dxf/TagOps.h"

namespace host {

using dxf::findCore;
using dxf::Object;
using dxf::Tag;
using dxf::typeOf;

namespace {

const QString kR12Layout = QStringLiteral("Layout1");

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

QByteArray upperValue(const dxf::TagFile& f, const Tag& t) {
    return f.trimmedValue(t).toByteArray().toUpper();
}

// Index of the first core tag with the code inside the subclass "100 name",
// or -1 (also when the object has no such subclass: LAYOUT objects reuse
// codes 1 and 330 in their other parts).
int findInSubclass(const dxf::TagFile& f, const Object& obj, QByteArrayView subclass, int code) {
    int from = -1;
    for (size_t i = 0; i < obj.tags.size(); ++i)
        if (obj.tags[i].code == 100 && f.trimmedValue(obj.tags[i]) == subclass) {
            from = static_cast<int>(i) + 1;
            break;
        }
    if (from < 0)
        return -1;
    const int i = findCore(obj, code, from);
    if (i < 0)
        return i;
    // Stop at the next subclass: the tag must belong to this one.
    for (int k = from; k < i; ++k)
        if (obj.tags[static_cast<size_t>(k)].code == 100)
            return -1;
    return i;
}

struct LayoutInfo {
    QString name;
    long long tabOrder = 0;
    QString block;  // the paper-space block record's name, "*Paper_Space" or "*Paper_SpaceN"
};

// LAYOUT objects of the OBJECTS section joined to their block records.
std::vector<LayoutInfo> readLayouts(const Drawing& d) {
    const dxf::TagFile& f = d.file();
    QHash<QByteArray, QString> recordName;       // BLOCK_RECORD handle -> name
    QHash<QByteArray, QByteArray> recordLayout;  // layout handle -> BLOCK_RECORD handle
    struct Raw {
        QString name;
        long long tab;
        QByteArray handle, blockRecord;
    };
    std::vector<Raw> raw;
    QByteArray section;
    for (const auto& up : f.objects) {
        const Object& o = *up;
        const QByteArrayView type = typeOf(f, o);
        if (type == "SECTION") {
            const int i = findCore(o, 2);
            section = i >= 0 ? f.trimmedValue(o.tags[static_cast<size_t>(i)]).toByteArray()
                             : QByteArray();
        } else if (type == "ENDSEC") {
            section.clear();
        } else if (section == "TABLES" && type == "BLOCK_RECORD") {
            const QByteArray h = d.handleOf(o);
            const int n = findCore(o, 2);
            if (h.isEmpty() || n < 0)
                continue;
            recordName.insert(h, d.decode(o.tags[static_cast<size_t>(n)]));
            const int l = findCore(o, 340);
            if (l >= 0)
                recordLayout.insert(upperValue(f, o.tags[static_cast<size_t>(l)]), h);
        } else if (section == "OBJECTS" && type == "LAYOUT") {
            const int n = findInSubclass(f, o, "AcDbLayout", 1);
            if (n < 0)
                continue;
            Raw r{d.decode(o.tags[static_cast<size_t>(n)]), 0, d.handleOf(o), {}};
            const int t = findInSubclass(f, o, "AcDbLayout", 71);
            if (t >= 0)
                dxf::toInt(f.value(o.tags[static_cast<size_t>(t)]), &r.tab);
            // The block record is 330 inside AcDbLayout; some writers use 340.
            for (int code : {330, 340}) {
                const int b = findInSubclass(f, o, "AcDbLayout", code);
                if (b >= 0) {
                    r.blockRecord = upperValue(f, o.tags[static_cast<size_t>(b)]);
                    if (recordName.contains(r.blockRecord))
                        break;
                }
            }
            raw.push_back(r);
        }
    }
    std::vector<LayoutInfo> out;
    for (const Raw& r : raw) {
        QString block = recordName.value(r.blockRecord);
        if (block.isEmpty() && recordLayout.contains(r.handle))
            block = recordName.value(recordLayout.value(r.handle));
        if (!block.startsWith(QLatin1String("*Paper_Space"), Qt::CaseInsensitive))
            continue;
        out.push_back(LayoutInfo{r.name, r.tab, block});
    }
    std::stable_sort(out.begin(), out.end(), [](const LayoutInfo& a, const LayoutInfo& b) {
        return a.tabOrder < b.tabOrder;
    });
    return out;
}

bool isViewport(const Drawing& d, int entity) {
    if (entity < 0 || entity >= static_cast<int>(d.entities().size()))
        return false;
    return typeOf(d.file(), *d.entities()[static_cast<size_t>(entity)].obj) == "VIEWPORT";
}

const Object& viewportObject(const Drawing& d, int entity) {
    if (!isViewport(d, entity))
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("入力が無効です: オブジェクト %1 はビューポートではありません。")
                        .arg(entity));
    return *d.entities()[static_cast<size_t>(entity)].obj;
}

double coreDouble(const Drawing& d, const Object& o, int code, double fallback) {
    const int i = findCore(o, code);
    double v = fallback;
    if (i >= 0 && dxf::toDouble(d.file().trimmedValue(o.tags[static_cast<size_t>(i)]), &v))
        return v;
    return fallback;
}

// Tag positions of an R12 viewport's MVIEW XDATA: its closing brace and the
// braces of its frozen-layer list (-1 when the list is missing).
struct Mview {
    int start = -1;  // the "1002 {" that opens MVIEW
    int close = -1;
    int listOpen = -1;
    int listClose = -1;
};

Mview findMview(const dxf::TagFile& f, const Object& o) {
    Mview m;
    const int n = static_cast<int>(o.tags.size());
    int i = dxf::xdataStart(o);
    for (; i < n; ++i) {
        const Tag& t = o.tags[static_cast<size_t>(i)];
        if (t.code == 1001 && f.trimmedValue(t).toByteArray().toUpper() == "ACAD")
            break;
    }
    for (++i; i < n; ++i) {
        const Tag& t = o.tags[static_cast<size_t>(i)];
        if (t.code == 1001)
            return m;
        if (t.code == 1000 && f.trimmedValue(t).toByteArray().toUpper() == "MVIEW")
            break;
    }
    int depth = 0;
    for (++i; i < n; ++i) {
        const Tag& t = o.tags[static_cast<size_t>(i)];
        if (t.code == 1001)
            break;
        if (t.code != 1002)
            continue;
        const QByteArrayView v = f.trimmedValue(t);
        if (v == "{") {
            ++depth;
            if (depth == 1 && m.start < 0)
                m.start = i;
            if (depth == 2 && m.listOpen < 0)
                m.listOpen = i;
        } else if (v == "}") {
            if (depth == 2 && m.listOpen >= 0 && m.listClose < 0)
                m.listClose = i;
            if (depth == 1) {
                m.close = i;
                return m;
            }
            --depth;
        }
    }
    return Mview{};
}

// The MVIEW values in order, a 1010 point counting as one value: version,
// target, direction, twist, view height, view centre x, view centre y, ...
std::vector<double> mviewValues(const dxf::TagFile& f, const Object& o, const Mview& m) {
    std::vector<double> values;
    for (int i = m.start + 1; i < m.close; ++i) {
        const Tag& t = o.tags[static_cast<size_t>(i)];
        if (t.code == 1002)
            break;
        if (t.code == 1020 || t.code == 1030)
            continue;
        double v = 0;
        dxf::toDouble(f.trimmedValue(t), &v);
        values.push_back(v);
    }
    return values;
}

// The group code the viewport's frozen-layer handles use: its own, else the
// one other viewports of the file use, else 331.
int frozenCode(const Drawing& d, const Object& vp) {
    auto codeIn = [&](const Object& o) {
        for (int code : {331, 341})
            if (findCore(o, code) >= 0)
                return code;
        return 0;
    };
    if (const int own = codeIn(vp))
        return own;
    for (int i : d.viewportEntities())
        if (const int c = codeIn(*d.entities()[static_cast<size_t>(i)].obj))
            return c;
    return 331;
}

// Where a new frozen-layer handle goes: after the AcDbViewport tags that come
// before the list (and after the handles already there), inside the subclass
// and before any XDATA.
int frozenInsertAt(const dxf::TagFile& f, const Object& o) {
    static const int kBefore[] = {10, 20, 30, 40, 41, 68, 69, 12, 22, 13, 23, 14, 24, 15,  25,
                                  16, 26, 36, 17, 27, 37, 42, 43, 44, 45, 50, 51, 72, 331, 341};
    const int n = dxf::xdataStart(o);
    int begin = 1;
    for (int i = 0; i < n; ++i) {
        const Tag& t = o.tags[static_cast<size_t>(i)];
        if (t.code == 100 && f.trimmedValue(t) == "AcDbViewport") {
            begin = i + 1;
            break;
        }
    }
    int at = begin;
    bool inGroup = false;
    for (int i = begin; i < n; ++i) {
        const Tag& t = o.tags[static_cast<size_t>(i)];
        if (t.code == 100)
            break;
        if (t.code == 102) {
            inGroup = !inGroup;
            continue;
        }
        if (inGroup)
            continue;
        if (std::find(std::begin(kBefore), std::end(kBefore), t.code) != std::end(kBefore))
            at = i + 1;
    }
    return at;
}

}  // namespace

std::vector<QString> layoutNames(const Drawing& drawing) {
    std::vector<QString> names;
    if (!drawing.isR12())
        for (const LayoutInfo& l : readLayouts(drawing))
            names.push_back(l.name);
    if (names.empty())
        names.push_back(kR12Layout);
    return names;
}

std::vector<int> layoutEntities(const Drawing& drawing, const QString& layout) {
    std::vector<int> out;
    QString block;
    bool found = false;
    const std::vector<LayoutInfo> layouts =
        drawing.isR12() ? std::vector<LayoutInfo>{} : readLayouts(drawing);
    for (const LayoutInfo& l : layouts)
        if (sameName(l.name, layout)) {
            block = l.block;
            found = true;
            break;
        }
    if (layouts.empty() && sameName(layout, kR12Layout)) {
        block = QStringLiteral("*Paper_Space");
        found = true;
    }
    if (!found)
        return out;
    const bool active = sameName(block, QStringLiteral("*Paper_Space"));
    const auto& ents = drawing.entities();
    for (size_t i = 0; i < ents.size(); ++i) {
        const EntityRecord& e = ents[i];
        if (e.sub || e.space != Space::Paper)
            continue;
        if ((active && e.block.isEmpty()) || (!e.block.isEmpty() && sameName(e.block, block)))
            out.push_back(static_cast<int>(i));
    }
    return out;
}

std::vector<Viewport> floatingViewports(const Drawing& drawing, const QString& layout) {
    std::vector<Viewport> out;
    const dxf::TagFile& f = drawing.file();
    for (int i : layoutEntities(drawing, layout)) {
        if (!isViewport(drawing, i))
            continue;
        const Object& o = *drawing.entities()[static_cast<size_t>(i)].obj;
        Viewport vp;
        vp.entity = i;
        vp.id = static_cast<int>(coreDouble(drawing, o, 69, 0));
        if (vp.id <= 1)
            continue;
        vp.on = coreDouble(drawing, o, 68, 1) != 0;
        vp.centre = QPointF(coreDouble(drawing, o, 10, 0), coreDouble(drawing, o, 20, 0));
        vp.width = coreDouble(drawing, o, 40, 0);
        vp.height = coreDouble(drawing, o, 41, 0);
        if (drawing.isR12()) {
            const Mview m = findMview(f, o);
            if (m.start >= 0) {
                const std::vector<double> v = mviewValues(f, o, m);
                if (v.size() > 6) {
                    vp.viewHeight = v[4];
                    vp.viewCentre = QPointF(v[5], v[6]);
                }
            }
        } else {
            vp.viewCentre = QPointF(coreDouble(drawing, o, 12, 0), coreDouble(drawing, o, 22, 0));
            vp.viewHeight = coreDouble(drawing, o, 45, 0);
        }
        out.push_back(vp);
    }
    return out;
}

std::vector<QString> frozenLayers(const Drawing& drawing, int viewportEntity) {
    const Object& o = viewportObject(drawing, viewportEntity);
    const dxf::TagFile& f = drawing.file();
    std::vector<QString> names;
    if (drawing.isR12()) {
        const Mview m = findMview(f, o);
        if (m.listOpen < 0)
            return names;
        for (int i = m.listOpen + 1; i < m.listClose; ++i) {
            const Tag& t = o.tags[static_cast<size_t>(i)];
            if (t.code == 1003)
                names.push_back(drawing.decode(t));
        }
        return names;
    }
    QHash<QByteArray, QString> byHandle;
    for (int i = 0; i < drawing.layerCount(); ++i) {
        const auto& rec = drawing.layer(i);
        byHandle.insert(drawing.handleOf(*rec->obj), rec->name);
    }
    const int n = dxf::xdataStart(o);
    bool inGroup = false;
    for (int i = 0; i < n; ++i) {
        const Tag& t = o.tags[static_cast<size_t>(i)];
        if (t.code == 102) {
            inGroup = !inGroup;
            continue;
        }
        if (inGroup || (t.code != 331 && t.code != 341))
            continue;
        const auto it = byHandle.constFind(upperValue(f, t));
        if (it != byHandle.constEnd())
            names.push_back(*it);
    }
    return names;
}

bool isFrozenInViewport(const Drawing& drawing, int viewportEntity, const QString& layerName) {
    for (const QString& n : frozenLayers(drawing, viewportEntity))
        if (sameName(n, layerName))
            return true;
    return false;
}

void setFrozenInViewport(Drawing& drawing, int viewportEntity, const QString& layerName,
                         bool frozen) {
    viewportObject(drawing, viewportEntity);
    const auto rec = drawing.findLayer(layerName);
    if (!rec)
        acad::raise(acad::ErrorNumber::KeyNotFound,
                    QStringLiteral("画層 \"%1\" が見つかりません。").arg(layerName));
    Object& o = *drawing.entities()[static_cast<size_t>(viewportEntity)].obj;
    dxf::TagFile& f = drawing.file();
    drawing.noteChange(&o);
    if (drawing.isR12()) {
        Mview m = findMview(f, o);
        if (m.start < 0)
            acad::raise(
                acad::ErrorNumber::NotSupported,
                QStringLiteral(
                    "このビューポートにはフリーズ画層を保持する MVIEW データがありません。"));
        if (m.listOpen < 0) {
            if (!frozen)
                return;
            // An MVIEW block without its layer list gets an empty one at its end.
            o.tags.insert(o.tags.begin() + m.close, f.makeTag(1002, "}"));
            o.tags.insert(o.tags.begin() + m.close, f.makeTag(1002, "{"));
            m = findMview(f, o);
        }
        std::vector<int> hits;
        for (int i = m.listOpen + 1; i < m.listClose; ++i) {
            const Tag& t = o.tags[static_cast<size_t>(i)];
            if (t.code == 1003 && sameName(drawing.decode(t), rec->name))
                hits.push_back(i);
        }
        if (frozen) {
            if (hits.empty())
                o.tags.insert(o.tags.begin() + m.listClose,
                              f.makeTag(1003, drawing.encode(rec->name)));
        } else {
            for (auto it = hits.rbegin(); it != hits.rend(); ++it)
                o.tags.erase(o.tags.begin() + *it);
        }
        return;
    }
    const QByteArray handle = drawing.handleOf(*rec->obj);
    if (handle.isEmpty())
        acad::raise(acad::ErrorNumber::NotSupported,
                    QStringLiteral("画層 \"%1\" にハンドルがありません。").arg(rec->name));
    std::vector<int> hits;
    const int n = dxf::xdataStart(o);
    bool inGroup = false;
    for (int i = 0; i < n; ++i) {
        const Tag& t = o.tags[static_cast<size_t>(i)];
        if (t.code == 102) {
            inGroup = !inGroup;
            continue;
        }
        if (!inGroup && (t.code == 331 || t.code == 341) && upperValue(f, t) == handle)
            hits.push_back(i);
    }
    if (frozen) {
        if (!hits.empty())
            return;
        const int code = frozenCode(drawing, o);
        const int at = frozenInsertAt(f, o);
        o.tags.insert(o.tags.begin() + at, f.makeTag(code, handle));
    } else {
        for (auto it = hits.rbegin(); it != hits.rend(); ++it)
            o.tags.erase(o.tags.begin() + *it);
    }
}

}  // namespace host
