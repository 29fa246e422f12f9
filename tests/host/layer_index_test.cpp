// The drawing's objects-by-layer index stays equal to a full scan through any
// sequence of layer changes of objects, renames, merges, deletions, undo and
// redo.
#include <gtest/gtest.h>
#include <QRandomGenerator>

#include "TestPaths.h"
#include "acad/Error.h"
#include "host/HostApplication.h"

namespace {

// Every layer name the index or the objects know, checked against a scan.
void expectIndexMatchesScan(const host::Drawing& d, const QStringList& names, int step) {
    const auto& ents = d.entities();
    QStringList all = names;
    for (const auto& e : ents)
        all << d.entityLayer(e);
    for (const QString& name : all) {
        std::vector<int> scan;
        for (int i = 0; i < static_cast<int>(ents.size()); ++i)
            if (QString::compare(d.entityLayer(ents[static_cast<size_t>(i)]), name,
                                 Qt::CaseInsensitive) == 0)
                scan.push_back(i);
        ASSERT_EQ(d.entitiesOnLayer(name), scan)
            << "step " << step << " layer " << qPrintable(name);
    }
}

}  // namespace

TEST(LayerObjectIndex, MatchesScanThroughRandomChanges) {
    auto app = std::make_shared<host::HostApplication>();
    const host::HostDocumentPtr doc =
        app->open(testsupport::sourceDir() + QStringLiteral("/tests/data/small_2000.dxf"));
    host::Drawing& d = doc->drawing();
    QRandomGenerator rng(20261208);
    QStringList names;
    for (int i = 0; i < 5; ++i)
        names << QStringLiteral("N%1").arg(i) << QStringLiteral("n%1").arg(i);
    for (int step = 0; step < 400; ++step) {
        const auto layers = doc->Layers();
        const long count = layers->Count();
        const auto pick = layers->Item(static_cast<long>(rng.bounded(static_cast<quint32>(count))));
        const QString name = names[static_cast<qsizetype>(rng.bounded(10))];
        try {
            switch (rng.bounded(6)) {
                case 0:
                case 1: {
                    const auto n = static_cast<quint32>(d.entities().size());
                    doc->wrapEntity(static_cast<int>(rng.bounded(n)))->SetLayer(pick->Name());
                    break;
                }
                case 2:
                    pick->SetName(rng.bounded(2) ? name : pick->Name().toLower());
                    break;
                case 3:
                    layers->Add(name);
                    break;
                case 4:
                    pick->Delete();  // refused while objects are on it
                    break;
                default:
                    rng.bounded(2) ? doc->undo() : doc->redo();
            }
        } catch (const acad::Error&) {
        }
        QStringList known = names;
        for (const acad::LayerPtr& l : doc->Layers()->items())
            known << l->Name();
        expectIndexMatchesScan(d, known, step);
        if (HasFatalFailure())
            return;
    }
}
