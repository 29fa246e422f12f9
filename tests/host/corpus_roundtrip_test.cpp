// Every DXF file of a corpus nobody here wrote opens and saves byte-identical.
#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>

#include "acad/Error.h"
#include "host/Drawing.h"

namespace {

QStringList corpusFiles() {
    QStringList files;
    const QString root =
        qEnvironmentVariable("TOVA_DXF_CORPUS", QStringLiteral("/usr/share/librecad"));
    QDirIterator it(root, {QStringLiteral("*.dxf"), QStringLiteral("*.DXF")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

}  // namespace

// An untouched drawing is written back exactly as it was read.
TEST(DxfCorpus, EveryFileRoundTripsByteIdentical) {
    const QStringList files = corpusFiles();
    if (files.isEmpty())
        GTEST_SKIP() << "no corpus installed (librecad-data)";
    int checked = 0;
    QStringList failures;
    for (const QString& path : files) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray original = f.readAll();
        try {
            auto drawing = host::Drawing::fromBytes(original, path);
            if (drawing->toBytes() != original)
                failures << path + QStringLiteral(": bytes differ");
            ++checked;
        } catch (const acad::Error& e) {
            failures << e.description();
            ADD_FAILURE() << e.description().toStdString();
        }
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.size() << " of " << files.size()
                                    << " failed, first: " << failures.value(0).toStdString();
    EXPECT_GT(checked, 100);
}

// The layer tables of the corpus read without surprises: names decode, and
// every layer is found again by its name in another letter case.
TEST(DxfCorpus, LayersFoundByNameWithoutRegardToCase) {
    const QStringList files = corpusFiles();
    if (files.isEmpty())
        GTEST_SKIP() << "no corpus installed (librecad-data)";
    int layers = 0;
    for (const QString& path : files.mid(0, 200)) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        auto drawing = host::Drawing::fromBytes(f.readAll(), path);
        for (int i = 0; i < drawing->layerCount(); ++i, ++layers) {
            const QString name = drawing->layer(i)->name;
            EXPECT_EQ(drawing->findLayer(name.toLower()), drawing->layer(i)) << name.toStdString();
        }
    }
    EXPECT_GT(layers, 0);
}
