// Layouts and floating viewports are found as the CAD application lists
// them, and per-viewport freezing edits only the viewport's own list in the
// form the file already uses, so ezdxf reads what was set.
#include <gtest/gtest.h>
#include <QJsonArray>

#include "AcadErrors.h"
#include "CmdlineSupport.h"
#include "acad/Error.h"
#include "host/Drawing.h"
#include "host/Viewports.h"
#include "host/dxf/TagOps.h"

using host::Drawing;

using testsupport::errorOf;

namespace {

const QString kLayout = QStringLiteral("Layout1");

QJsonObject rawOf(const QJsonObject& state, const QByteArray& handle) {
    return state.value(QStringLiteral("raw"))
        .toObject()
        .value(QString::fromLatin1(handle))
        .toObject();
}

QStringList strings(const QJsonValue& v) {
    QStringList out;
    for (const auto& x : v.toArray())
        out << x.toString();
    return out;
}

// Frozen layers of the layout's viewports as ezdxf reads them, in drawing order.
std::vector<QStringList> ezdxfFrozen(const QJsonObject& state, const QString& layout) {
    std::vector<QStringList> out;
    for (const auto& vp :
         state.value(QStringLiteral("layouts")).toObject().value(layout).toArray()) {
        QStringList names = strings(vp.toObject().value(QStringLiteral("frozen")));
        names.sort();
        out.push_back(names);
    }
    return out;
}

std::vector<QString> sorted(std::vector<QString> v) {
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

// Layouts come in tab order without Model; each has its own paper-space objects.
TEST(Viewports, LayoutsAndTheirObjects) {
    auto d = Drawing::load(cmdline::copyOf(QStringLiteral("layers2000")));
    EXPECT_EQ(host::layoutNames(*d), (std::vector<QString>{kLayout, QStringLiteral("Plan B")}));
    const auto first = host::layoutEntities(*d, kLayout);
    const auto second = host::layoutEntities(*d, QStringLiteral("plan b"));
    EXPECT_EQ(first.size(), 3u) << "two viewports and a line";
    EXPECT_EQ(second.size(), 1u);
    for (int i : first)
        EXPECT_EQ(std::count(second.begin(), second.end(), i), 0);
    for (int i : first)
        EXPECT_NE(d->entities()[static_cast<size_t>(i)].space, host::Space::Model);
    EXPECT_TRUE(host::layoutEntities(*d, QStringLiteral("Model")).empty());
    EXPECT_TRUE(host::layoutEntities(*d, QStringLiteral("nope")).empty());
}

// Floating viewports carry their paper position and the model view they show.
TEST(Viewports, FloatingViewportsOf2000AndR12) {
    for (const QString& key : {QStringLiteral("layers2000"), QStringLiteral("layersR12")}) {
        auto d = Drawing::load(cmdline::copyOf(key));
        const auto vps = host::floatingViewports(*d, kLayout);
        ASSERT_EQ(vps.size(), 2u) << key.toStdString();
        EXPECT_GT(vps[0].id, 1);
        EXPECT_TRUE(vps[0].on);
        EXPECT_EQ(vps[0].centre, QPointF(100, 100));
        EXPECT_EQ(vps[1].centre, QPointF(200, 100));
        EXPECT_DOUBLE_EQ(vps[0].width, 80);
        EXPECT_DOUBLE_EQ(vps[0].height, 60);
        EXPECT_EQ(vps[0].viewCentre, QPointF(5, 6)) << key.toStdString();
        EXPECT_DOUBLE_EQ(vps[1].viewHeight, 40);
        EXPECT_EQ(host::frozenLayers(*d, vps[1].entity),
                  std::vector<QString>{QStringLiteral("TEXT")});
        EXPECT_TRUE(host::isFrozenInViewport(*d, vps[1].entity, QStringLiteral("text")));
        EXPECT_FALSE(host::isFrozenInViewport(*d, vps[0].entity, QStringLiteral("TEXT")));
    }
    auto r12 = Drawing::load(cmdline::copyOf(QStringLiteral("layersR12")));
    EXPECT_EQ(host::layoutNames(*r12), std::vector<QString>{kLayout});
}

// Freezing adds one 331 handle inside AcDbViewport before XDATA; ezdxf reads
// it; thawing removes it and gives back the original bytes.
TEST(Viewports, FreezeThawRoundTrip2000) {
    const QString path = cmdline::copyOf(QStringLiteral("layers2000"));
    auto d = Drawing::load(path);
    const QByteArray original = d->toBytes();
    const auto vps = host::floatingViewports(*d, kLayout);
    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("grid"), true);
    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("Furniture A"), true);
    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("GRID"), true);  // no duplicate
    EXPECT_EQ(sorted(host::frozenLayers(*d, vps[0].entity)),
              (std::vector<QString>{QStringLiteral("Furniture A"), QStringLiteral("GRID")}));
    const auto& obj = *d->entities()[static_cast<size_t>(vps[0].entity)].obj;
    const int first331 = host::dxf::findCore(obj, 331);
    ASSERT_GE(first331, 0);
    EXPECT_GT(first331, host::dxf::findCore(obj, 72));
    EXPECT_LT(first331, host::dxf::findCore(obj, 90));
    EXPECT_LT(first331, host::dxf::xdataStart(obj));
    d->save(path);
    QJsonObject s = cmdline::check(path);
    EXPECT_EQ(s.value(QStringLiteral("audit_errors")).toInt(), 0);
    auto frozen = ezdxfFrozen(s, kLayout);
    ASSERT_EQ(frozen.size(), 2u);
    EXPECT_EQ(frozen[0], (QStringList{QStringLiteral("Furniture A"), QStringLiteral("GRID")}));
    EXPECT_EQ(frozen[1], QStringList{QStringLiteral("TEXT")});

    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("GRID"), false);
    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("Furniture A"), false);
    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("WALL"), false);  // not frozen
    EXPECT_EQ(d->toBytes(), original);
    host::setFrozenInViewport(*d, vps[1].entity, QStringLiteral("TEXT"), false);
    d->save(path);
    s = cmdline::check(path);
    frozen = ezdxfFrozen(s, kLayout);
    EXPECT_EQ(frozen[0], QStringList());
    EXPECT_EQ(frozen[1], QStringList());
}

// A file that lists frozen layers as 341 keeps 341, also in a viewport that
// had no list yet.
TEST(Viewports, Files341Keep341) {
    const QString path = cmdline::copyOf(QStringLiteral("vp341"));
    auto d = Drawing::load(path);
    const auto vps = host::floatingViewports(*d, kLayout);
    ASSERT_EQ(vps.size(), 2u);
    EXPECT_EQ(host::frozenLayers(*d, vps[1].entity), std::vector<QString>{QStringLiteral("TEXT")});
    host::setFrozenInViewport(*d, vps[1].entity, QStringLiteral("GRID"), true);
    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("DOOR"), true);
    d->save(path);
    const QJsonObject s = cmdline::check(path);
    const auto handles = cmdline::drawings()
                             .value(QStringLiteral("vp341"))
                             .toObject()
                             .value(QStringLiteral("layers"))
                             .toObject();
    const auto h = [&](const char* n) { return handles.value(QLatin1String(n)).toString(); };
    const QJsonObject raw0 =
        rawOf(s, d->handleOf(*d->entities()[static_cast<size_t>(vps[0].entity)].obj));
    const QJsonObject raw1 =
        rawOf(s, d->handleOf(*d->entities()[static_cast<size_t>(vps[1].entity)].obj));
    EXPECT_EQ(strings(raw0.value(QStringLiteral("c341"))), QStringList{h("DOOR")});
    EXPECT_EQ(strings(raw1.value(QStringLiteral("c341"))), (QStringList{h("TEXT"), h("GRID")}));
    EXPECT_TRUE(strings(raw0.value(QStringLiteral("c331"))).isEmpty());
    EXPECT_TRUE(strings(raw1.value(QStringLiteral("c331"))).isEmpty());
}

// R12 viewports keep frozen layers as names in their MVIEW XDATA list.
TEST(Viewports, R12MviewLists) {
    const QString path = cmdline::copyOf(QStringLiteral("layersR12"));
    auto d = Drawing::load(path);
    const auto vps = host::floatingViewports(*d, kLayout);
    ASSERT_EQ(vps.size(), 2u);
    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("grid"), true);
    host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("DOOR"), true);
    host::setFrozenInViewport(*d, vps[1].entity, QStringLiteral("TEXT"), false);
    EXPECT_EQ(host::frozenLayers(*d, vps[0].entity),
              (std::vector<QString>{QStringLiteral("GRID"), QStringLiteral("DOOR")}));
    d->save(path);
    const QJsonObject s = cmdline::check(path);
    EXPECT_EQ(s.value(QStringLiteral("audit_errors")).toInt(), 0);
    const auto handleOf = [&](int entity) {
        return d->handleOf(*d->entities()[static_cast<size_t>(entity)].obj);
    };
    EXPECT_EQ(strings(rawOf(s, handleOf(vps[0].entity)).value(QStringLiteral("mview"))),
              (QStringList{QStringLiteral("GRID"), QStringLiteral("DOOR")}));
    EXPECT_TRUE(
        strings(rawOf(s, handleOf(vps[1].entity)).value(QStringLiteral("mview"))).isEmpty());
    EXPECT_TRUE(strings(rawOf(s, handleOf(vps[0].entity)).value(QStringLiteral("c331"))).isEmpty());
    // The list stays inside MVIEW: both closing braces follow the names.
    const auto& obj = *d->entities()[static_cast<size_t>(vps[0].entity)].obj;
    const QByteArray last2 = d->file().trimmedValue(obj.tags[obj.tags.size() - 2]).toByteArray() +
                             d->file().trimmedValue(obj.tags.back()).toByteArray();
    EXPECT_EQ(last2, QByteArray("}}"));
}

// Unknown layers and objects that are not viewports are refused.
TEST(Viewports, Refusals) {
    auto d = Drawing::load(cmdline::copyOf(QStringLiteral("layers2000")));
    const auto vps = host::floatingViewports(*d, kLayout);
    ASSERT_FALSE(vps.empty());
    EXPECT_EQ(errorOf([&] {
                  host::setFrozenInViewport(*d, vps[0].entity, QStringLiteral("NOPE"), true);
              }),
              acad::ErrorNumber::KeyNotFound);
    int line = -1;
    for (size_t i = 0; i < d->entities().size(); ++i)
        if (d->entityType(d->entities()[i]) == QLatin1String("LINE"))
            line = static_cast<int>(i);
    ASSERT_GE(line, 0);
    EXPECT_EQ(errorOf([&] { host::setFrozenInViewport(*d, line, QStringLiteral("GRID"), true); }),
              acad::ErrorNumber::InvalidInput);
    EXPECT_EQ(errorOf([&] { host::frozenLayers(*d, -5); }), acad::ErrorNumber::InvalidInput);
}
