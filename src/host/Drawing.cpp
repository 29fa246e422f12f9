#include "host/Drawing.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

#include "acad/Error.h"
#include "host/AtomicFile.h"
#include "host/dxf/TagOps.h"
#include "host/history/UndoHistory.h"

namespace host {

using dxf::findCore;
using dxf::Object;
using dxf::Tag;
using dxf::typeOf;

namespace {

QString folded(const QString& name) {
    return name.toCaseFolded();
}

bool hasXdataLayerName(const Object& o) {
    return std::any_of(o.tags.begin(), o.tags.end(), [](const Tag& t) { return t.code == 1003; });
}

bool isSubEntity(QByteArrayView type) {
    return type == "VERTEX" || type == "SEQEND" || type == "ATTRIB";
}

// Canonical order of a LAYER record's own tags.
constexpr std::initializer_list<int> kLayerOrder = {2, 70,  62,  420, 430, 440,
                                                    6, 290, 370, 390, 347};
// Order of the common entity tags we set.
constexpr std::initializer_list<int> kEntityOrder = {67, 8, 6, 62};

// Handles are hexadecimal numbers; reading them without allocating keeps
// loading fast.
unsigned long long parseHandle(QByteArrayView v, bool* ok) {
    unsigned long long n = 0;
    qsizetype i = 0, e = v.size();
    while (i < e && (v[i] == ' ' || v[i] == '\t'))
        ++i;
    while (e > i && (v[e - 1] == ' ' || v[e - 1] == '\t'))
        --e;
    *ok = e > i && e - i <= 16;
    for (; *ok && i < e; ++i) {
        const char c = v[i];
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0)
            *ok = false;
        n = n * 16 + static_cast<unsigned>(d < 0 ? 0 : d);
    }
    return *ok ? n : 0;
}

}  // namespace

std::unique_ptr<Drawing> Drawing::fromBytes(QByteArray bytes, const QString& nameForErrors) {
    std::unique_ptr<Drawing> d(new Drawing);
    try {
        d->file_ = dxf::TagFile::parse(std::move(bytes));
    } catch (const dxf::ParseError& e) {
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("%1: %2").arg(nameForErrors, e.message()));
    }
    d->index(nameForErrors);
    return d;
}

std::unique_ptr<Drawing> Drawing::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("%1: ファイルを開けません (%2)").arg(path, f.errorString()));
    return fromBytes(f.readAll(), path);
}

std::unique_ptr<Drawing> Drawing::createNew() {
    QFile f(QStringLiteral(":/host/new_drawing.dxf"));
    if (!f.open(QIODevice::ReadOnly))
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("新規図面のテンプレートがありません。"));
    return fromBytes(f.readAll(), QStringLiteral("Drawing1.dxf"));
}

void Drawing::save(const QString& path) const {
    writeFileAtomically(path, toBytes());
}

void Drawing::index(const QString& nameForErrors) {
    auto fail = [&](const Tag& at, const QString& what) {
        const int line = file_->lineOf(at);
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("%1: %2 行目: %3").arg(nameForErrors).arg(line).arg(what));
    };
    QByteArray section, table, block;
    const Tag* sectionStart = nullptr;
    const Tag* tableStart = nullptr;
    bool blockIsPaper = false;
    // Names are decoded while indexing, so the version and code page are
    // read from the header section first.
    for (auto& up : file_->objects) {
        if (typeOf(*file_, *up) != "SECTION")
            continue;
        const int i = findCore(*up, 2);
        if (i >= 0 && file_->trimmedValue(up->tags[static_cast<size_t>(i)]) == "HEADER") {
            header_ = up.get();
            break;
        }
    }
    version_ = QByteArrayLiteral("AC1009");
    if (const Tag* v = headerTag("$ACADVER", 1))
        version_ = file_->trimmedValue(*v).toByteArray();
    QByteArray cp;
    if (const Tag* c = headerTag("$DWGCODEPAGE", 3))
        cp = file_->trimmedValue(*c).toByteArray();
    codepage_ = std::make_unique<dxf::Codepage>(version_, cp);
    objectByHandle_.reserve(static_cast<qsizetype>(file_->objects.size()));
    for (auto& up : file_->objects) {
        Object* obj = up.get();
        const QByteArrayView type = typeOf(*file_, *obj);
        if (obj->tags.size() >= 2) {
            const Tag& h = obj->tags[1];
            if (h.code == 5 || (h.code == 105 && type == "DIMSTYLE")) {
                bool ok = false;
                const unsigned long long n = parseHandle(file_->value(h), &ok);
                if (ok) {
                    maxHandle_ = std::max(maxHandle_, n);
                    objectByHandle_.insert(n, obj);
                }
            }
        }
        if (type == "SECTION") {
            if (!section.isEmpty())
                fail(obj->tags[0], QStringLiteral("セクションの中にセクションがあります。"));
            const int i = findCore(*obj, 2);
            if (i < 0)
                fail(obj->tags[0], QStringLiteral("名前のないセクションがあります。"));
            section = file_->trimmedValue(obj->tags[static_cast<size_t>(i)]).toByteArray();
            sectionStart = &obj->tags[0];
            if (section == "HEADER")
                header_ = obj;
            continue;
        }
        if (type == "ENDSEC") {
            // A stray ENDSEC (some writers emit header variables after the
            // header's end) is kept as it is and closes nothing.
            if (!table.isEmpty())
                fail(obj->tags[0], QStringLiteral("テーブル %1 に ENDTAB がありません。")
                                       .arg(QString::fromLatin1(table)));
            if (!block.isEmpty())
                fail(obj->tags[0], QStringLiteral("ブロックに ENDBLK がありません。"));
            section.clear();
            continue;
        }
        if (type == "EOF") {
            if (!section.isEmpty())
                fail(*sectionStart, QStringLiteral("セクション %1 に ENDSEC がありません。")
                                        .arg(QString::fromLatin1(section)));
            continue;
        }
        if (section == "TABLES") {
            if (type == "TABLE") {
                const int i = findCore(*obj, 2);
                table = i >= 0 ? file_->trimmedValue(obj->tags[static_cast<size_t>(i)])
                                     .toByteArray()
                                     .toUpper()
                               : QByteArray("?");
                tableStart = &obj->tags[0];
                if (table == "LAYER")
                    layerTable_ = obj;
            } else if (type == "ENDTAB") {
                table.clear();
            } else if (table == "LAYER" && type == "LAYER") {
                auto rec = std::make_shared<LayerRecord>();
                rec->obj = obj;
                const int i = findCore(*obj, 2);
                if (i < 0)
                    fail(obj->tags[0], QStringLiteral("名前のない画層があります。"));
                rec->name = decode(obj->tags[static_cast<size_t>(i)]);
                layers_.push_back(rec);
            } else if (table == "LTYPE" && type == "LTYPE") {
                linetypes_.push_back(obj);
            }
        } else if (section == "BLOCKS") {
            if (type == "BLOCK") {
                const int i = findCore(*obj, 2);
                block = i >= 0 ? decode(obj->tags[static_cast<size_t>(i)]).toUtf8() : "?";
                if (block.isEmpty())
                    block = "?";
                blockIsPaper = block.toLower().startsWith("*paper_space");
                blockMarkers_.push_back(obj);
            } else if (type == "ENDBLK") {
                block.clear();
                blockMarkers_.push_back(obj);
            } else if (!type.isEmpty()) {
                EntityRecord e{obj,
                               blockIsPaper ? Space::Paper : Space::Block,
                               isSubEntity(type),
                               QString::fromUtf8(block),
                               {},
                               false};
                entities_.push_back(e);
            }
        } else if (section == "ENTITIES") {
            const int p = findCore(*obj, 67);
            long long paper = 0;
            if (p >= 0)
                dxf::toInt(file_->value(obj->tags[static_cast<size_t>(p)]), &paper);
            entities_.push_back(EntityRecord{
                obj, paper == 1 ? Space::Paper : Space::Model, isSubEntity(type), {}, {}, false});
        } else if (section == "OBJECTS") {
            objectsSection_.push_back(obj);
        }
    }
    if (!file_->objects.empty() && !table.isEmpty())
        fail(*tableStart, QStringLiteral("テーブルに ENDTAB がありません。"));

    entityByHandle_.reserve(static_cast<qsizetype>(entities_.size()));
    viewports_.clear();
    byLayer_.reset();
    xdataHoldersKnown_ = false;
    for (size_t i = 0; i < entities_.size(); ++i) {
        const Object& o = *entities_[i].obj;
        if (typeOf(*file_, o) == "VIEWPORT")
            viewports_.push_back(static_cast<int>(i));
        bool ok = false;
        if (o.tags.size() >= 2 && o.tags[1].code == 5) {
            const unsigned long long h = parseHandle(file_->value(o.tags[1]), &ok);
            if (ok)
                entityByHandle_.insert(h, static_cast<int>(i));
        }
    }
    rebuildLayerNames();
}

void Drawing::rebuildLayerNames() {
    layerByName_.clear();
    layerByName_.reserve(static_cast<qsizetype>(layers_.size()));
    for (auto& l : layers_)
        layerByName_.insert(folded(l->name), l);
}

// ---- header ---------------------------------------------------------------

const Tag* Drawing::headerTag(QByteArrayView var, int code) const {
    if (!header_)
        return nullptr;
    const auto& tags = header_->tags;
    for (size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].code != 9 || file_->trimmedValue(tags[i]) != var)
            continue;
        for (size_t j = i + 1; j < tags.size() && tags[j].code != 9; ++j)
            if (tags[j].code == code)
                return &tags[j];
        return nullptr;
    }
    return nullptr;
}

QString Drawing::headerString(QByteArrayView var, int code) const {
    const Tag* t = headerTag(var, code);
    return t ? codepage_->decode(file_->trimmedValue(*t)) : QString();
}

long long Drawing::headerInt(QByteArrayView var, int code, long long fallback) const {
    const Tag* t = headerTag(var, code);
    long long v = fallback;
    if (t && dxf::toInt(file_->value(*t), &v))
        return v;
    return fallback;
}

void Drawing::setHeader(QByteArrayView var, int code, QByteArrayView value) {
    noteChange(header_);
    if (const Tag* t = headerTag(var, code)) {
        file_->setValue(const_cast<Tag&>(*t), value);
        return;
    }
    if (!header_)
        return;  // a file without a header keeps none
    header_->tags.push_back(file_->makeTag(9, var));
    header_->tags.push_back(file_->makeTag(code, value));
}

// ---- layers ---------------------------------------------------------------

std::shared_ptr<LayerRecord> Drawing::findLayer(const QString& name) const {
    return layerByName_.value(folded(name));
}

void Drawing::checkLayerName(const QString& name) const {
    if (name.trimmed().isEmpty())
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("画層名が空です。1文字以上の画層名を指定してください。"));
    static const QString kInvalid = QStringLiteral("<>/\\\":;?*|=`");
    // Control characters (C0, DEL and C1) are never part of a name; they
    // come from text read in the wrong code page.
    for (QChar c : name)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            acad::raise(acad::ErrorNumber::InvalidInput,
                        QStringLiteral("画層名 \"%1\" に制御文字 (U+%2) は使えません。")
                            .arg(QString(name).replace(c, QChar::ReplacementCharacter),
                                 QString::number(c.unicode(), 16)
                                     .toUpper()
                                     .rightJustified(4, QLatin1Char('0'))));
    for (QChar c : name)
        if (kInvalid.contains(c))
            acad::raise(acad::ErrorNumber::InvalidInput,
                        QStringLiteral("画層名「%1」には使用できない文字「%2」が含まれています。")
                            .arg(name, c));
    const int maxLen = isR12() ? 31 : 255;
    if (name.size() > maxLen)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("画層名は%1文字以内で指定してください。").arg(maxLen));
    if (isR12())
        for (QChar c : name)
            if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'$' && c != u'_' &&
                c != u'-')
                acad::raise(acad::ErrorNumber::InvalidInput,
                            QStringLiteral("「%1」はR12図面の画層名にできません（半角英数字と"
                                           " $ _ - のみ使用できます）。")
                                .arg(name));
}

bool Drawing::isCurrentLayer(const LayerRecord& l) const {
    return QString::compare(currentLayerName(), l.name, Qt::CaseInsensitive) == 0;
}

void Drawing::setCurrentLayerName(const QString& name) {
    setHeader("$CLAYER", 8, encode(name));
}

QByteArray Drawing::handleOf(const Object& obj) const {
    if (obj.tags.size() >= 2 && (obj.tags[1].code == 5 || obj.tags[1].code == 105))
        return file_->trimmedValue(obj.tags[1]).toByteArray().toUpper();
    return {};
}

QByteArray Drawing::newHandle() {
    unsigned long long seed = 0;
    bool ok = false;
    if (const Tag* t = headerTag("$HANDSEED", 5))
        seed = parseHandle(file_->trimmedValue(*t), &ok);
    // Handles are 64-bit; one past the largest would wrap to 0 and collide
    // with the "no handle" value, so a drawing whose handles are used up takes
    // no new objects (the seed written back must stay above the handle too).
    constexpr unsigned long long kLast = ~0ULL;
    auto exhausted = [] {
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("図面のハンドルが上限 (FFFFFFFFFFFFFFFF) "
                                   "に達しているため、オブジェクトを追加できません。"));
    };
    if (seed == kLast || maxHandle_ >= kLast - 1)
        exhausted();
    unsigned long long h = std::max(seed, maxHandle_ + 1);
    while (objectByHandle_.contains(h)) {
        if (h >= kLast - 1)
            exhausted();
        ++h;
    }
    maxHandle_ = h;
    setHeader("$HANDSEED", 5, QByteArray::number(h + 1, 16).toUpper());
    return QByteArray::number(h, 16).toUpper();
}

void Drawing::noteChange(Object* obj) {
    if (history_ && obj)
        history_->noteChange(obj);
}

void Drawing::insertObjectAfter(const Object* after, std::unique_ptr<Object> obj) {
    auto& objs = file_->objects;
    auto it =
        std::find_if(objs.begin(), objs.end(), [&](const auto& p) { return p.get() == after; });
    Object* raw = obj.get();
    if (xdataHoldersKnown_ && hasXdataLayerName(*raw))
        xdataHolders_.push_back(raw);
    it = objs.insert(it == objs.end() ? it : it + 1, std::move(obj));
    if (history_)
        history_->noteInsert(static_cast<std::size_t>(it - objs.begin()), raw);
}

void Drawing::forgetObject(Object* obj) {
    bool ok = false;
    const unsigned long long hn = parseHandle(handleOf(*obj), &ok);
    if (ok && objectByHandle_.value(hn) == obj)
        objectByHandle_.remove(hn);
    objectsSection_.erase(std::remove(objectsSection_.begin(), objectsSection_.end(), obj),
                          objectsSection_.end());
    removeObject(obj);
}

void Drawing::removeObject(const Object* obj) {
    auto& objs = file_->objects;
    auto it = std::find_if(objs.begin(), objs.end(), [&](const auto& p) { return p.get() == obj; });
    if (it == objs.end())
        return;
    std::unique_ptr<Object> owned = std::move(*it);
    if (xdataHoldersKnown_)
        xdataHolders_.erase(std::remove(xdataHolders_.begin(), xdataHolders_.end(), obj),
                            xdataHolders_.end());
    const auto pos = static_cast<std::size_t>(it - objs.begin());
    objs.erase(it);
    if (history_)
        history_->noteRemove(pos, std::move(owned));
}

std::shared_ptr<LayerRecord> Drawing::addLayer(const QString& name) {
    checkLayerName(name);
    if (findLayer(name))
        acad::raise(acad::ErrorNumber::DuplicateKey,
                    QStringLiteral("画層「%1」は既に存在します。").arg(name));
    if (!layerTable_)
        acad::raise(acad::ErrorNumber::NotSupported,
                    QStringLiteral("図面に画層テーブルがありません。"));
    // The new record copies layer 0's structure (subclass markers, owner,
    // plot style and material handles) and takes the defaults of a new layer.
    auto zero = findLayer(QStringLiteral("0"));
    auto obj = std::make_unique<Object>();
    if (zero) {
        const auto& src = zero->obj->tags;
        const int xd = dxf::xdataStart(*zero->obj);
        int depth = 0;
        for (int i = 0; i < xd; ++i) {
            const Tag& t = src[static_cast<size_t>(i)];
            if (t.code == 102) {
                depth = depth ? 0 : 1;
                continue;
            }
            if (depth)
                continue;
            if (t.code == 290 || t.code == 420 || t.code == 430 || t.code == 440)
                continue;
            obj->tags.push_back(t);
        }
    } else {
        obj->tags.push_back(file_->makeTag(0, "LAYER"));
        if (hasSubclasses()) {
            obj->tags.push_back(file_->makeTag(100, "AcDbSymbolTableRecord"));
            obj->tags.push_back(file_->makeTag(100, "AcDbLayerTableRecord"));
        }
        obj->tags.push_back(file_->makeTag(2, "0"));
    }
    auto& f = *file_;
    dxf::setOrInsert(f, *obj, 2, encode(name), kLayerOrder);
    const int flags = findCore(*obj, 70);
    dxf::setOrInsert(f, *obj, 70,
                     flags >= 0
                         ? dxf::formatIntLike(f.value(obj->tags[static_cast<size_t>(flags)]), 0)
                         : QByteArray("0"),
                     kLayerOrder);
    const int color = findCore(*obj, 62);
    dxf::setOrInsert(f, *obj, 62,
                     color >= 0
                         ? dxf::formatIntLike(f.value(obj->tags[static_cast<size_t>(color)]), 7)
                         : QByteArray("7"),
                     kLayerOrder);
    QByteArray ltype = "CONTINUOUS";
    for (Object* lt : linetypes_) {
        const int i = findCore(*lt, 2);
        if (i >= 0 && f.trimmedValue(lt->tags[static_cast<size_t>(i)]).toByteArray().toUpper() ==
                          "CONTINUOUS")
            ltype = f.trimmedValue(lt->tags[static_cast<size_t>(i)]).toByteArray();
    }
    dxf::setOrInsert(f, *obj, 6, ltype, kLayerOrder);
    if (findCore(*obj, 370) >= 0)
        dxf::setOrInsert(f, *obj, 370, "-3", kLayerOrder);
    // Handle: R12 files carry handles only with $HANDLING set.
    const bool wantHandle = !isR12() || headerInt("$HANDLING", 70, 0) == 1;
    if (wantHandle) {
        const QByteArray h = newHandle();
        if (obj->tags.size() >= 2 && obj->tags[1].code == 5)
            f.setValue(obj->tags[1], h);
        else
            obj->tags.insert(obj->tags.begin() + 1, f.makeTag(5, h));
        if (hasSubclasses() && findCore(*obj, 330) < 0) {
            const QByteArray owner = handleOf(*layerTable_);
            if (!owner.isEmpty())
                obj->tags.insert(obj->tags.begin() + 2, f.makeTag(330, owner));
        }
    } else if (obj->tags.size() >= 2 && obj->tags[1].code == 5) {
        obj->tags.erase(obj->tags.begin() + 1);
    }
    const Object* after = layers_.empty() ? layerTable_ : layers_.back()->obj;
    Object* raw = obj.get();
    insertObjectAfter(after, std::move(obj));
    const QByteArray h = handleOf(*raw);
    bool hok = false;
    const unsigned long long hn = parseHandle(h, &hok);
    if (hok)
        objectByHandle_.insert(hn, raw);
    retired_.remove(raw);
    // Keep the table's entry count at least the number of records.
    const int cnt = findCore(*layerTable_, 70);
    long long n = 0;
    if (cnt >= 0 && dxf::toInt(f.value(layerTable_->tags[static_cast<size_t>(cnt)]), &n) &&
        n < static_cast<long long>(layers_.size() + 1)) {
        noteChange(layerTable_);
        f.setValue(layerTable_->tags[static_cast<size_t>(cnt)],
                   dxf::formatIntLike(f.value(layerTable_->tags[static_cast<size_t>(cnt)]),
                                      static_cast<long long>(layers_.size() + 1)));
    }
    auto rec = std::make_shared<LayerRecord>();
    rec->obj = raw;
    rec->name = name;
    layers_.push_back(rec);
    layerByName_.insert(folded(name), rec);
    return rec;
}

void Drawing::renameLayer(LayerRecord& l, const QString& newName) {
    if (l.name == newName)
        return;
    if (l.name == QLatin1String("0"))
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("画層 \"0\" の名前は変更できません。"));
    if (layerFlags(l) & 16)
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("外部参照に依存する画層の名前は変更できません。"));
    checkLayerName(newName);
    auto other = findLayer(newName);
    if (other && other.get() != &l)
        acad::raise(acad::ErrorNumber::DuplicateKey,
                    QStringLiteral("画層「%1」は既に存在します。").arg(newName));
    const QString old = l.name;
    const QByteArray enc = encode(newName);
    auto& f = *file_;
    auto matches = [&](const Tag& t) {
        return QString::compare(decode(t), old, Qt::CaseInsensitive) == 0;
    };
    // Group 8 in entities and block markers, 1003 in any XDATA, group 8 in
    // layer filters, indexes and layer-state records.
    auto renameIn = [&](Object& o, bool group8) {
        for (Tag& t : o.tags)
            if (((group8 && t.code == 8) || t.code == 1003) && matches(t)) {
                noteChange(&o);
                f.setValue(t, enc);
            }
    };
    for (Object* o : xdataLayerHolders())
        renameIn(*o, false);
    // Only the objects on the old layer need their group 8 looked at (their
    // XDATA was done above).
    for (int i : entitiesOnLayer(old)) {
        const EntityRecord& e = entities_[static_cast<size_t>(i)];
        renameIn(*e.obj, true);
        e.layerCached = false;
    }
    byLayer_.renamed(old, newName);
    for (Object* b : blockMarkers_)
        renameIn(*b, true);
    for (Object* o : objectsSection_) {
        const QByteArrayView t = typeOf(f, *o);
        if (t == "LAYER_FILTER" || t == "LAYER_INDEX" || t == "XRECORD")
            renameIn(*o, true);
    }
    if (QString::compare(currentLayerName(), old, Qt::CaseInsensitive) == 0)
        setCurrentLayerName(newName);
    noteChange(l.obj);
    f.setValue(l.obj->tags[static_cast<size_t>(findCore(*l.obj, 2))], enc);
    layerByName_.remove(folded(old));
    l.name = newName;
    for (auto& rec : layers_)
        if (rec.get() == &l)
            layerByName_.insert(folded(newName), rec);
}

bool Drawing::layerInUse(const QString& name) const {
    // The decoded layer names are cached per object; an object without a
    // layer tag reads as "0" there but does not count as using "0" here.
    const bool zero = name == QLatin1String("0");
    for (int i : entitiesOnLayer(name))
        if (!zero || findCore(*entities_[static_cast<size_t>(i)].obj, 8) >= 0)
            return true;
    return false;
}

void Drawing::deleteLayer(LayerRecord& l) {
    if (l.erased)
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("オブジェクトは削除されています。"));
    const QString upper = l.name.toUpper();
    if (upper == QLatin1String("0") || upper == QLatin1String("DEFPOINTS"))
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("画層 \"%1\" は削除できません。").arg(l.name));
    if (isCurrentLayer(l))
        acad::raise(acad::ErrorNumber::NotAllowed, QStringLiteral("現在画層は削除できません。"));
    if ((layerFlags(l) & 16) || l.name.contains(QLatin1Char('|')))
        acad::raise(acad::ErrorNumber::NotAllowed,
                    QStringLiteral("外部参照に依存する画層は削除できません。"));
    if (layerInUse(l.name))
        acad::raise(acad::ErrorNumber::ObjectInUse,
                    QStringLiteral("画層 \"%1\" は使用中です: この画層にオブジェクトがあります。")
                        .arg(l.name));
    const QByteArray handle = handleOf(*l.obj);
    removeLayerReferences(l, handle);
    removeObject(l.obj);
    bool hok = false;
    const unsigned long long hn = parseHandle(handle, &hok);
    if (hok)
        objectByHandle_.remove(hn);
    layerByName_.remove(folded(l.name));
    for (auto& rec : layers_)
        if (history_ && rec.get() == &l)
            retired_.insert(l.obj, rec);
    layers_.erase(std::remove_if(layers_.begin(), layers_.end(),
                                 [&](const auto& p) { return p.get() == &l; }),
                  layers_.end());
    l.erased = true;
    l.obj = nullptr;
}

void Drawing::refreshIndexes(bool structural) {
    if (!structural) {
        for (auto& l : layers_) {
            const int i = findCore(*l->obj, 2);
            if (i >= 0)
                l->name = decode(l->obj->tags[static_cast<size_t>(i)]);
        }
        rebuildLayerNames();
        for (EntityRecord& e : entities_)
            e.layerCached = false;
        byLayer_.reset();
        xdataHoldersKnown_ = false;
        return;
    }
    // Every record, live or deleted, by its object.
    QHash<Object*, std::shared_ptr<LayerRecord>> known = retired_;
    for (auto& l : layers_)
        known.insert(l->obj, l);
    header_ = nullptr;
    layerTable_ = nullptr;
    linetypes_.clear();
    layers_.clear();
    layerByName_.clear();
    entities_.clear();
    entityByHandle_.clear();
    objectsSection_.clear();
    blockMarkers_.clear();
    objectByHandle_.clear();
    maxHandle_ = 0;
    index(QStringLiteral("図面"));
    for (auto& l : layers_) {
        auto it = known.find(l->obj);
        if (it == known.end())
            continue;
        (*it)->obj = l->obj;
        (*it)->name = l->name;
        (*it)->erased = false;
        l = *it;
        known.erase(it);
    }
    rebuildLayerNames();
    // Records whose object left the file are deleted again.
    for (auto it = known.begin(); it != known.end(); ++it) {
        if (!it.value()->erased)
            it.value()->erased = true;
        it.value()->obj = nullptr;
    }
    retired_ = std::move(known);
}

void Drawing::removeLayerReferences(const LayerRecord& l, const QByteArray& handle) {
    auto& f = *file_;
    // Viewports' frozen-layer lists: 331/341 handles, or R12 MVIEW names.
    for (int i : viewportEntities()) {
        Object& o = *entities_[static_cast<size_t>(i)].obj;
        noteChange(&o);
        o.tags.erase(std::remove_if(o.tags.begin(), o.tags.end(),
                                    [&](const Tag& t) {
                                        if (!handle.isEmpty() && (t.code == 331 || t.code == 341))
                                            return f.trimmedValue(t).toByteArray().toUpper() ==
                                                   handle;
                                        if (t.code == 1003)
                                            return QString::compare(decode(t), l.name,
                                                                    Qt::CaseInsensitive) == 0;
                                        return false;
                                    }),
                     o.tags.end());
    }
    // The record's extension dictionary and what it owns.
    const int x = [&] {
        for (size_t i = 0; i + 1 < l.obj->tags.size(); ++i)
            if (l.obj->tags[i].code == 102 && f.trimmedValue(l.obj->tags[i]) == "{ACAD_XDICTIONARY")
                return static_cast<int>(i + 1);
        return -1;
    }();
    if (x >= 0 && l.obj->tags[static_cast<size_t>(x)].code == 360) {
        // Only the dictionary's own objects go: DICTIONARY and XRECORD
        // objects of the OBJECTS section owned (330) by the dictionary or by
        // one of them. A 360 that names anything else (an entity, a table
        // record, an object another owner holds) removes nothing, so no index
        // is left pointing at a freed object.
        auto ownedKind = [&](const Object& o) {
            const QByteArrayView t = typeOf(f, o);
            return t == "DICTIONARY" || t == "ACDBDICTIONARYWDFLT" || t == "XRECORD";
        };
        auto ownerOf = [&](const Object& o) {
            const int i = findCore(o, 330);
            return i >= 0 ? f.trimmedValue(o.tags[static_cast<size_t>(i)]).toByteArray().toUpper()
                          : QByteArray();
        };
        const QByteArray dict =
            f.trimmedValue(l.obj->tags[static_cast<size_t>(x)]).toByteArray().toUpper();
        std::vector<Object*> doomed;
        QSet<QByteArray> doomedHandles;
        for (Object* o : objectsSection_)
            if (handleOf(*o) == dict && ownedKind(*o) && typeOf(f, *o) != "XRECORD" &&
                (ownerOf(*o).isEmpty() || ownerOf(*o) == handle)) {
                doomed.push_back(o);
                doomedHandles.insert(dict);
                break;
            }
        // Owned objects may precede their owner in the file: repeat until no
        // new one is found.
        for (bool grew = !doomed.empty(); grew;) {
            grew = false;
            for (Object* o : objectsSection_) {
                if (!ownedKind(*o) || !doomedHandles.contains(ownerOf(*o)))
                    continue;
                const QByteArray h = handleOf(*o);
                if (h.isEmpty() || doomedHandles.contains(h))
                    continue;
                doomedHandles.insert(h);
                doomed.push_back(o);
                grew = true;
            }
        }
        for (Object* o : doomed)
            forgetObject(o);
    }
}

int Drawing::layerFlags(const LayerRecord& l) const {
    const int i = findCore(*l.obj, 70);
    long long v = 0;
    if (i >= 0)
        dxf::toInt(file_->value(l.obj->tags[static_cast<size_t>(i)]), &v);
    return static_cast<int>(v);
}

void Drawing::setLayerFlag(LayerRecord& l, int bit, bool on) {
    const int i = findCore(*l.obj, 70);
    const int old = layerFlags(l);
    const int now = on ? (old | bit) : (old & ~bit);
    if (now == old && i >= 0)
        return;
    const QByteArray v = dxf::formatIntLike(
        i >= 0 ? file_->value(l.obj->tags[static_cast<size_t>(i)]) : QByteArrayView(), now);
    noteChange(l.obj);
    dxf::setOrInsert(*file_, *l.obj, 70, v, kLayerOrder);
}

int Drawing::layerColor(const LayerRecord& l) const {
    const int i = findCore(*l.obj, 62);
    long long v = 7;
    if (i >= 0)
        dxf::toInt(file_->value(l.obj->tags[static_cast<size_t>(i)]), &v);
    return static_cast<int>(v);
}

void Drawing::setLayerColor(LayerRecord& l, int signedColor) {
    const int i = findCore(*l.obj, 62);
    if (i >= 0 && layerColor(l) == signedColor)
        return;
    const QByteArray v = dxf::formatIntLike(
        i >= 0 ? file_->value(l.obj->tags[static_cast<size_t>(i)]) : QByteArrayView(), signedColor);
    noteChange(l.obj);
    dxf::setOrInsert(*file_, *l.obj, 62, v, kLayerOrder);
}

QString Drawing::layerLinetype(const LayerRecord& l) const {
    const int i = findCore(*l.obj, 6);
    return i >= 0 ? codepage_->decode(file_->trimmedValue(l.obj->tags[static_cast<size_t>(i)]))
                  : QStringLiteral("CONTINUOUS");
}

void Drawing::setLayerLinetype(LayerRecord& l, const QString& linetype) {
    // The stored spelling of the linetype record is used.
    for (Object* lt : linetypes_) {
        const int i = findCore(*lt, 2);
        if (i < 0)
            continue;
        const QString name = decode(lt->tags[static_cast<size_t>(i)]);
        if (QString::compare(name, linetype, Qt::CaseInsensitive) == 0) {
            noteChange(l.obj);
            dxf::setOrInsert(*file_, *l.obj, 6, encode(name), kLayerOrder);
            return;
        }
    }
    acad::raise(acad::ErrorNumber::KeyNotFound,
                QStringLiteral("線種「%1」は図面にロードされていません。").arg(linetype));
}

int Drawing::layerLineweight(const LayerRecord& l) const {
    const int i = findCore(*l.obj, 370);
    long long v = -3;
    if (i >= 0)
        dxf::toInt(file_->value(l.obj->tags[static_cast<size_t>(i)]), &v);
    return static_cast<int>(v);
}

void Drawing::setLayerLineweight(LayerRecord& l, int lineweight) {
    static const int kValid[] = {-3, 0,  5,  9,  13, 15,  18,  20,  25,  30,  35,  40, 50,
                                 53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
    if (std::find(std::begin(kValid), std::end(kValid), lineweight) == std::end(kValid))
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("線太さ %1 は画層に設定できません（Default または標準の線太さを"
                                   "指定してください）。")
                        .arg(lineweight));
    if (isR12()) {
        if (lineweight == -3)
            return;
        acad::raise(acad::ErrorNumber::NotSupported,
                    QStringLiteral("R12図面の画層には線太さを設定できません。"));
    }
    noteChange(l.obj);
    dxf::setOrInsert(*file_, *l.obj, 370, QByteArray::number(lineweight), kLayerOrder);
}

bool Drawing::layerPlottable(const LayerRecord& l) const {
    const int i = findCore(*l.obj, 290);
    long long v = 1;
    if (i >= 0)
        dxf::toInt(file_->value(l.obj->tags[static_cast<size_t>(i)]), &v);
    return v != 0;
}

void Drawing::setLayerPlottable(LayerRecord& l, bool plottable) {
    if (layerPlottable(l) == plottable)
        return;
    if (isR12())
        acad::raise(acad::ErrorNumber::NotSupported,
                    QStringLiteral("R12 図面の画層には印刷の設定がありません。"));
    noteChange(l.obj);
    dxf::setOrInsert(*file_, *l.obj, 290, plottable ? "1" : "0", kLayerOrder);
}

QString Drawing::layerPlotStyleName(const LayerRecord& l) const {
    const int i = findCore(*l.obj, 390);
    if (i < 0)
        return QStringLiteral("Normal");
    const QByteArray h =
        file_->trimmedValue(l.obj->tags[static_cast<size_t>(i)]).toByteArray().toUpper();
    // The name is the key under which a dictionary lists the handle.
    for (Object* o : objectsSection_) {
        if (typeOf(*file_, *o) != "ACDBDICTIONARYWDFLT" && typeOf(*file_, *o) != "DICTIONARY")
            continue;
        const auto& tags = o->tags;
        for (size_t k = 0; k + 1 < tags.size(); ++k)
            if (tags[k].code == 3 && (tags[k + 1].code == 350 || tags[k + 1].code == 360) &&
                file_->trimmedValue(tags[k + 1]).toByteArray().toUpper() == h)
                return decode(tags[k]);
    }
    return QStringLiteral("Normal");
}

std::vector<QString> Drawing::linetypeNames() const {
    std::vector<QString> names;
    for (Object* lt : linetypes_) {
        const int i = findCore(*lt, 2);
        if (i >= 0)
            names.push_back(decode(lt->tags[static_cast<size_t>(i)]));
    }
    return names;
}

// ---- entities -------------------------------------------------------------

int Drawing::findEntity(QByteArrayView handle) const {
    bool ok = false;
    const unsigned long long h = parseHandle(handle, &ok);
    return ok ? entityByHandle_.value(h, -1) : -1;
}

QString Drawing::entityType(const EntityRecord& e) const {
    return QString::fromLatin1(typeOf(*file_, *e.obj));
}

QString Drawing::entityLayer(const EntityRecord& e) const {
    if (!e.layerCached) {
        const int i = findCore(*e.obj, 8);
        e.layerCache = i >= 0 ? decode(e.obj->tags[static_cast<size_t>(i)]) : QStringLiteral("0");
        e.layerCached = true;
    }
    return e.layerCache;
}

void Drawing::setEntityLayer(const EntityRecord& e, const QString& layer) {
    auto rec = findLayer(layer);
    if (!rec)
        acad::raise(acad::ErrorNumber::KeyNotFound,
                    QStringLiteral("画層 \"%1\" が見つかりません。").arg(layer));
    const QString from = entityLayer(e);
    noteChange(e.obj);
    dxf::setOrInsert(*file_, *e.obj, 8, encode(rec->name), kEntityOrder);
    e.layerCached = false;
    byLayer_.moved(static_cast<int>(&e - entities_.data()), from, rec->name);
}

const std::vector<int>& Drawing::entitiesOnLayer(const QString& layer) const {
    return byLayer_.on(layer, static_cast<int>(entities_.size()),
                       [this](int i) { return entityLayer(entities_[static_cast<size_t>(i)]); });
}

const std::vector<Object*>& Drawing::xdataLayerHolders() {
    if (!xdataHoldersKnown_) {
        xdataHolders_.clear();
        for (auto& up : file_->objects)
            if (hasXdataLayerName(*up))
                xdataHolders_.push_back(up.get());
        xdataHoldersKnown_ = true;
    }
    return xdataHolders_;
}

int Drawing::entityColor(const EntityRecord& e) const {
    const int i = findCore(*e.obj, 62);
    long long v = 256;
    if (i >= 0)
        dxf::toInt(file_->value(e.obj->tags[static_cast<size_t>(i)]), &v);
    return static_cast<int>(v);
}

void Drawing::setEntityColor(const EntityRecord& e, int color) {
    if (color < 0 || color > 256)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("入力が無効です: 色 %1").arg(color));
    // An ACI colour replaces any true colour or colour book entry.
    noteChange(e.obj);
    dxf::removeCore(*e.obj, 420);
    dxf::removeCore(*e.obj, 430);
    dxf::setOrInsert(*file_, *e.obj, 62, QByteArray::number(color), kEntityOrder);
}

QString Drawing::entityLinetype(const EntityRecord& e) const {
    const int i = findCore(*e.obj, 6);
    return i >= 0 ? decode(e.obj->tags[static_cast<size_t>(i)]) : QStringLiteral("BYLAYER");
}

void Drawing::setEntityLinetype(const EntityRecord& e, const QString& linetype) {
    const QString up = linetype.toUpper();
    if (up == QLatin1String("BYLAYER") || up == QLatin1String("BYBLOCK")) {
        noteChange(e.obj);
        dxf::setOrInsert(*file_, *e.obj, 6, up.toLatin1(), kEntityOrder);
        return;
    }
    for (const QString& name : linetypeNames())
        if (QString::compare(name, linetype, Qt::CaseInsensitive) == 0) {
            noteChange(e.obj);
            dxf::setOrInsert(*file_, *e.obj, 6, encode(name), kEntityOrder);
            return;
        }
    acad::raise(acad::ErrorNumber::KeyNotFound,
                QStringLiteral("線種「%1」は図面にロードされていません。").arg(linetype));
}

bool Drawing::hasText(const EntityRecord& e) const {
    const QByteArrayView t = typeOf(*file_, *e.obj);
    return t == "TEXT" || t == "MTEXT" || t == "ATTRIB" || t == "ATTDEF";
}

QString Drawing::entityText(const EntityRecord& e) const {
    if (!hasText(e))
        acad::raise(acad::ErrorNumber::NotSupported,
                    QStringLiteral("このオブジェクトには文字列がありません。"));
    // MTEXT: 3 chunks first, then the last piece in 1. Chunks are joined as
    // bytes, since a writer may have split a multibyte character.
    QByteArray bytes;
    const int xd = dxf::xdataStart(*e.obj);
    for (int i = 0; i < xd; ++i) {
        const Tag& t = e.obj->tags[static_cast<size_t>(i)];
        if (t.code == 3 && typeOf(*file_, *e.obj) == "MTEXT")
            bytes += file_->value(t).toByteArray();
    }
    const int one = findCore(*e.obj, 1);
    if (one >= 0)
        bytes += file_->value(e.obj->tags[static_cast<size_t>(one)]).toByteArray();
    return codepage_->decode(bytes);
}

void Drawing::setEntityText(const EntityRecord& e, const QString& text) {
    if (!hasText(e))
        acad::raise(acad::ErrorNumber::NotSupported,
                    QStringLiteral("このオブジェクトには文字列がありません。"));
    auto& f = *file_;
    const bool mtext = typeOf(f, *e.obj) == "MTEXT";
    // Pieces that must not be split: one character's bytes, and a backslash
    // with what follows it.
    std::vector<QByteArray> pieces;
    const QList<uint> ucs = text.toUcs4();
    for (uint u : ucs) {
        QByteArray b = encode(QString::fromUcs4(reinterpret_cast<const char32_t*>(&u), 1));
        if (!pieces.empty() && pieces.back() == "\\")
            pieces.back() += b;
        else
            pieces.push_back(b);
    }
    std::vector<QByteArray> chunks{QByteArray()};
    if (mtext)
        for (const QByteArray& p : pieces) {
            if (chunks.back().size() + p.size() > 250)
                chunks.emplace_back();
            chunks.back() += p;
        }
    else
        for (const QByteArray& p : pieces)
            chunks.back() += p;
    const int one = findCore(*e.obj, 1);
    if (one < 0)
        acad::raise(acad::ErrorNumber::NotSupported,
                    QStringLiteral("このオブジェクトには文字列がありません。"));
    noteChange(e.obj);
    if (mtext)
        dxf::removeCore(*e.obj, 3);
    const int at = findCore(*e.obj, 1);
    f.setValue(e.obj->tags[static_cast<size_t>(at)], chunks.back());
    for (size_t k = 0; k + 1 < chunks.size(); ++k)
        e.obj->tags.insert(e.obj->tags.begin() + at + static_cast<long>(k),
                           f.makeTag(3, chunks[k]));
}

}  // namespace host
