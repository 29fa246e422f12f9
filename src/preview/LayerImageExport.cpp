#include "preview/LayerImageExport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "acad/UndoMark.h"
#include "platform/Procedure.h"
#include "preview/basDWF.h"

namespace preview {

namespace {

bool isPictureName(const QString& name) {
    static const QRegularExpression picture(QStringLiteral("^one[0-9]+\\.wmf$"));
    return picture.match(name).hasMatch();
}

// Empties the image folder (made when missing) of everything but earlier
// pictures, which the exports write over in place: a new file per picture
// costs the file system far more than rewriting one. The pictures not
// written again are removed afterwards (removeUnwritten).
void emptyFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isSymLink() || (info.exists() && !info.isDir()))
        if (!QFile::remove(folder))
            acad::raise(acad::ErrorNumber::FileError,
                        QStringLiteral("ファイルを削除できません: %1").arg(folder));
    if (!QDir().mkpath(folder))
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("フォルダーを作成できません: %1").arg(folder));
    const QDir dir(folder);
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.isFile() && !entry.isSymLink() && isPictureName(entry.fileName()))
            continue;
        const bool removed = entry.isDir() && !entry.isSymLink()
                                 ? QDir(entry.absoluteFilePath()).removeRecursively()
                                 : QFile::remove(entry.absoluteFilePath());
        if (!removed)
            acad::raise(acad::ErrorNumber::FileError,
                        QStringLiteral("削除できません: %1").arg(entry.absoluteFilePath()));
    }
}

// Removes the pictures of the folder that this update did not write.
void removeUnwritten(const QString& folder, const QSet<QString>& written) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (!written.contains(name) && !QFile::remove(dir.filePath(name)))
            acad::raise(acad::ErrorNumber::FileError,
                        QStringLiteral("削除できません: %1").arg(dir.filePath(name)));
}

}  // namespace

QString imageBaseName(const QString& folder, long index) {
    return folder + QStringLiteral("/one") + QString::number(index);
}

QString imageFile(const QString& folder, long index) {
    return imageBaseName(folder, index) + QStringLiteral(".wmf");
}

ExportOutcome exportLayerImages(const acad::DocumentPtr& doc, const LayerStateList& snapshot,
                                const QString& folder, const LayerProgress& progress) {
    // One undo step at most: the layers are put back, so usually none.
    const acad::UndoMark mark(doc, QStringLiteral("CmdTool_Divide_Click"));
    ExportOutcome out;
    auto keep = [&](const acad::Error& e) {
        if (!out.error)
            out.error = e;
    };
    auto guarded = [&](auto&& f) {
        try {
            f();
            return true;
        } catch (const acad::Error& e) {
            keep(e);
        } catch (const std::exception& e) {
            keep(acad::Error(static_cast<std::int32_t>(acad::ErrorNumber::FileError),
                             QString::fromLocal8Bit(e.what())));
        }
        return false;
    };

    QString active;
    // Nothing has changed until the current layer is known.
    if (!guarded([&] { active = doc->ActiveLayer()->Name(); }))
        return out;
    QSet<QString> written;
    bool folderReady = false;
    guarded([&] {
        emptyFolder(folder);
        folderReady = true;
        auto layers = doc->Layers();
        for (const auto& layer : layers->items()) {
            if (layer->Name() == active)
                continue;
            layer->SetFreeze(false);
            layer->SetLayerOn(true);
        }
        doc->Regen(acad::acAllViewports);
        out.layers = layers->Count();
        for (long i = 0; i < out.layers; ++i) {
            const QString name = layers->Item(i)->Name();
            if (progress)
                progress(i, out.layers, name);
            auto set = basDWF::pu_fun_oSelectLayer(doc, name);
            if (set->Count() > 0) {
                doc->Export(imageBaseName(folder, i), QStringLiteral("WMF"), set);
                // Only a finished picture counts: a failed one is removed.
                written.insert(QFileInfo(imageFile(folder, i)).fileName());
                ++out.exported;
            }
        }
    });
    // No picture of an earlier update survives, whatever failed.
    if (folderReady)
        guarded([&] { removeUnwritten(folder, written); });
    // Every layer back as the snapshot had it, each on its own: one that
    // fails does not keep the others from being put back.
    guarded([&] {
        auto layers = doc->Layers();
        for (const LayerState& s : snapshot) {
            if (s.Name == active)
                continue;
            guarded([&] {
                auto layer = layers->Item(s.Name);
                layer->SetLayerOn(s.LayerOn);
                layer->SetFreeze(s.Freeze);
            });
        }
    });
    guarded([&] {
        auto sets = doc->SelectionSets();
        for (long i = sets->Count() - 1; i >= 0; --i) {
            auto set = sets->Item(i);
            if (set->Name() == QLatin1String("cSet"))
                set->Delete();
        }
    });
    guarded([&] { doc->Regen(acad::acAllViewports); });
    return out;
}

}  // namespace preview
