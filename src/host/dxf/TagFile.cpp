#include "host/dxf/TagFile.h"

#include <cstring>

namespace host::dxf {

ParseError::ParseError(int line, const QString& message)
    : std::runtime_error(message.toStdString()), line_(line), message_(message) {}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimView(QByteArrayView v) {
    qsizetype b = 0, e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

// Finds the end of the line starting at pos: returns the index of the first
// terminator byte and sets next to the start of the following line. Lines end
// with LF, CR LF, or a lone CR (old Mac files). Lines are short, so a plain
// loop beats memchr here.
qsizetype findLineEnd(const char* d, qsizetype size, qsizetype pos, qsizetype* next) {
    qsizetype i = pos;
    while (i < size && d[i] != '\n' && d[i] != '\r')
        ++i;
    if (i >= size) {
        *next = size;
        return size;
    }
    if (d[i] == '\r' && i + 1 < size && d[i + 1] == '\n')
        *next = i + 2;
    else
        *next = i + 1;
    return i;
}

bool parseCode(QByteArrayView v, std::int32_t* code) {
    v = trimView(v);
    if (v.isEmpty() || v.size() > 6)
        return false;
    qsizetype i = 0;
    bool neg = false;
    if (v[0] == '-') {
        neg = true;
        i = 1;
        if (v.size() == 1)
            return false;
    }
    std::int32_t n = 0;
    for (; i < v.size(); ++i) {
        if (v[i] < '0' || v[i] > '9')
            return false;
        n = n * 10 + (v[i] - '0');
    }
    *code = neg ? -n : n;
    return true;
}

}  // namespace

std::unique_ptr<TagFile> TagFile::parse(QByteArray bytes) {
    auto file = std::unique_ptr<TagFile>(new TagFile);
    if (bytes.size() > 0x7fffffff)
        throw ParseError(0, QStringLiteral("ファイルが大きすぎます。"));
    if (bytes.startsWith("AutoCAD Binary DXF"))
        throw ParseError(
            1, QStringLiteral("バイナリ DXF には対応していません。ASCII DXF で保存してください。"));
    auto isDigit = [&](qsizetype i) { return bytes[i] >= '0' && bytes[i] <= '9'; };
    if (bytes.size() >= 6 && bytes.startsWith("AC") && isDigit(2) && isDigit(3) && isDigit(4) &&
        isDigit(5))
        throw ParseError(1, QStringLiteral("DXF ではなく DWG ファイルです。"));
    if (bytes.isEmpty())
        throw ParseError(0, QStringLiteral("ファイルが空です。"));

    file->source_ = std::move(bytes);
    const char* d = file->source_.constData();
    const qsizetype size = file->source_.size();

    // A UTF-8 byte order mark is kept as part of the first code line.
    qsizetype pos = 0;
    int line = 1;
    bool first = true;
    Object* current = nullptr;
    bool sawEof = false;
    while (pos < size) {
        qsizetype next = 0;
        qsizetype ce = findLineEnd(d, size, pos, &next);
        QByteArrayView codeText(d + pos, ce - pos);
        if (first && codeText.startsWith("\xEF\xBB\xBF"))
            codeText = codeText.sliced(3);
        if (trimView(codeText).isEmpty() && next >= size)
            break;  // trailing blank line
        std::int32_t code = 0;
        if (!parseCode(codeText, &code)) {
            if (codeText.contains('\0'))
                throw ParseError(line,
                                 QStringLiteral("%1 行目にバイナリデータがあります。").arg(line));
            throw ParseError(line, QStringLiteral("%1 行目のグループコードが無効です: \"%2\"")
                                       .arg(line)
                                       .arg(QString::fromLatin1(codeText.first(
                                           std::min<qsizetype>(codeText.size(), 40)))));
        }
        if (first) {
            file->padCodes_ = codeText.size() >= 3 && codeText[0] == ' ';
            file->eol_ = (ce < size && d[ce] == '\r' && ce + 1 < size && d[ce + 1] == '\n')
                             ? QByteArrayLiteral("\r\n")
                             : (ce < size && d[ce] == '\r' ? QByteArrayLiteral("\r")
                                                           : QByteArrayLiteral("\n"));
            first = false;
        }
        if (next >= size)
            throw ParseError(
                line, QStringLiteral("ファイルが途中で切れています: %2 行目のグループコード %1 "
                                     "に値がありません。")
                          .arg(code)
                          .arg(line));
        qsizetype vpos = next;
        qsizetype ve = findLineEnd(d, size, vpos, &next);
        if (std::memchr(d + vpos, '\0', static_cast<size_t>(ve - vpos)))
            throw ParseError(line + 1,
                             QStringLiteral("%1 行目にバイナリデータがあります。").arg(line + 1));
        Tag t;
        t.code = code;
        t.begin = static_cast<std::uint32_t>(pos);
        t.valBegin = static_cast<std::uint32_t>(vpos);
        t.valEnd = static_cast<std::uint32_t>(ve);
        t.end = static_cast<std::uint32_t>(next);
        if (code == 0 || !current) {
            file->objects.push_back(std::make_unique<Object>());
            current = file->objects.back().get();
            current->tags.reserve(12);
        }
        current->tags.push_back(t);
        pos = next;
        line += 2;
        // "EOF" is trimmed like every other value: readers accept "EOF " too.
        if (code == 0 && trimView(QByteArrayView(d + vpos, ve - vpos)) == "EOF") {
            sawEof = true;
            break;
        }
    }
    if (!sawEof)
        throw ParseError(
            line, QStringLiteral("ファイルが途中で切れています: %1 行目までに EOF がありません。")
                      .arg(line));
    file->tailBegin_ = static_cast<std::uint32_t>(pos);
    return file;
}

const char* TagFile::rawBegin(const Tag& tag) const {
    return source_.constData() + tag.begin;
}

QByteArray TagFile::save() const {
    QByteArray out;
    out.reserve(source_.size() + static_cast<qsizetype>(pool_.size()) * 16 + 64);
    // Copy runs of untouched, adjacent tags in one append.
    std::uint32_t runBegin = 0, runEnd = 0;
    auto flush = [&] {
        if (runEnd > runBegin)
            out.append(source_.constData() + runBegin, runEnd - runBegin);
        runBegin = runEnd = 0;
    };
    for (const auto& obj : objects) {
        for (const Tag& t : obj->tags) {
            if (t.owned >= 0) {
                flush();
                out.append(pool_[static_cast<size_t>(t.owned)].raw);
            } else if (runEnd == t.begin && runEnd != 0) {
                runEnd = t.end;
            } else {
                flush();
                runBegin = t.begin;
                runEnd = t.end;
            }
        }
    }
    flush();
    out.append(source_.constData() + tailBegin_, source_.size() - tailBegin_);
    return out;
}

QByteArrayView TagFile::value(const Tag& tag) const {
    if (tag.owned >= 0) {
        const Owned& o = pool_[static_cast<size_t>(tag.owned)];
        return QByteArrayView(o.raw.constData() + o.valOffset, o.valLength);
    }
    return QByteArrayView(source_.constData() + tag.valBegin, tag.valEnd - tag.valBegin);
}

QByteArrayView TagFile::trimmedValue(const Tag& tag) const {
    return trimView(value(tag));
}

void TagFile::setValue(Tag& tag, QByteArrayView value) {
    // A tag read from the file that gets back the value it was read with
    // is its read bytes again: the file saves as it came, and nothing new
    // is kept in the pool.
    if (tag.end > tag.begin &&
        QByteArrayView(source_.constData() + tag.valBegin, tag.valEnd - tag.valBegin) == value) {
        tag.owned = -1;
        return;
    }
    Owned o;
    if (tag.owned >= 0) {
        const Owned& prev = pool_[static_cast<size_t>(tag.owned)];
        o.raw = prev.raw.left(prev.valOffset);
    } else {
        o.raw = QByteArray(rawBegin(tag), tag.valBegin - tag.begin);
    }
    o.valOffset = static_cast<int>(o.raw.size());
    o.valLength = static_cast<int>(value.size());
    o.raw.append(value.data(), value.size());
    o.raw.append(eol_);
    tag.owned = pooled(std::move(o));
}

std::size_t TagFile::poolBytes() const {
    std::size_t bytes = 0;
    for (const Owned& o : pool_)
        bytes += sizeof(Owned) + static_cast<std::size_t>(o.raw.capacity());
    return bytes;
}

std::int32_t TagFile::pooled(Owned o) {
    const auto found = poolIndex_.constFind(o.raw);
    if (found != poolIndex_.constEnd() &&
        pool_[static_cast<size_t>(found.value())].valOffset == o.valOffset)
        return found.value();
    const auto index = static_cast<std::int32_t>(pool_.size());
    poolIndex_.insert(o.raw, index);
    pool_.push_back(std::move(o));
    return index;
}

QByteArray TagFile::formatCode(std::int32_t code) const {
    QByteArray c = QByteArray::number(code);
    if (padCodes_ && c.size() < 3)
        c = QByteArray(3 - c.size(), ' ') + c;
    return c;
}

Tag TagFile::makeTag(std::int32_t code, QByteArrayView value) {
    Owned o;
    o.raw = formatCode(code) + eol_;
    o.valOffset = static_cast<int>(o.raw.size());
    o.valLength = static_cast<int>(value.size());
    o.raw.append(value.data(), value.size());
    o.raw.append(eol_);
    Tag t;
    t.code = code;
    t.owned = pooled(std::move(o));
    return t;
}

int TagFile::lineOf(const Tag& tag) const {
    if (tag.owned >= 0)
        return 0;
    int n = 1;
    const char* d = source_.constData();
    for (std::uint32_t i = 0; i < tag.begin; ++i)
        if (d[i] == '\n')
            ++n;
    return n;
}

bool toInt(QByteArrayView v, long long* out) {
    v = trimView(v);
    bool ok = false;
    long long n = v.toByteArray().toLongLong(&ok);
    if (ok)
        *out = n;
    return ok;
}

bool toDouble(QByteArrayView v, double* out) {
    v = trimView(v);
    bool ok = false;
    double n = v.toByteArray().toDouble(&ok);
    if (ok)
        *out = n;
    return ok;
}

QByteArray formatIntLike(QByteArrayView previous, long long value) {
    QByteArray n = QByteArray::number(value);
    qsizetype width = previous.size();
    bool padded = width > 0 && previous[0] == ' ';
    if (padded && n.size() < width)
        n = QByteArray(width - n.size(), ' ') + n;
    return n;
}

}  // namespace host::dxf
