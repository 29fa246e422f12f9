#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace host::dxf {

// A file that cannot be read as an ASCII drawing; line is 1-based, 0 when the
// problem is not tied to one line.
class ParseError : public std::runtime_error {
public:
    ParseError(int line, const QString& message);
    int line() const { return line_; }
    const QString& message() const { return message_; }

private:
    int line_;
    QString message_;
};

// One group-code/value pair. Tags read from the file point into its bytes, so
// an unchanged tag is written back exactly as it was read (padding, line ends,
// number formatting). A changed or new tag owns its bytes in the file's pool.
struct Tag {
    std::int32_t code = 0;
    std::uint32_t begin = 0;     // first byte of the code line
    std::uint32_t valBegin = 0;  // first byte of the value
    std::uint32_t valEnd = 0;    // one past the value, before the line end
    std::uint32_t end = 0;       // one past the value line's terminator
    std::int32_t owned = -1;     // index into TagFile's pool, or -1
};

// A run of tags that starts at a group 0 tag (the first object of a file may
// instead start with comments). Every entity, table record, section start and
// end is one object.
struct Object {
    std::vector<Tag> tags;
};

class TagFile {
public:
    // Splits the bytes into tags and objects. Throws ParseError for binary
    // drawings, DWG files, bad group codes, NUL bytes and truncated files.
    static std::unique_ptr<TagFile> parse(QByteArray bytes);

    // The whole file: unchanged tags byte for byte, changed ones from the pool.
    QByteArray save() const;

    QByteArrayView value(const Tag& tag) const;
    // The value without surrounding blanks, for numbers and names.
    QByteArrayView trimmedValue(const Tag& tag) const;
    // Replaces the tag's value, keeping its group code line as it was.
    void setValue(Tag& tag, QByteArrayView value);
    // A new tag formatted like the file's own (code padding, line ends).
    Tag makeTag(std::int32_t code, QByteArrayView value);
    // The 1-based line of the tag's code line in the original file (0 for new tags).
    int lineOf(const Tag& tag) const;

    const QByteArray& lineEnd() const { return eol_; }
    std::size_t sourceSize() const { return static_cast<std::size_t>(source_.size()); }
    // Bytes held for changed and new tags (entries of the pool).
    std::size_t poolBytes() const;

    std::vector<std::unique_ptr<Object>> objects;

private:
    struct Owned {
        QByteArray raw;  // code line and value line with terminators
        int valOffset = 0;
        int valLength = 0;
    };
    const char* rawBegin(const Tag& tag) const;
    QByteArray formatCode(std::int32_t code) const;
    // The pool index of these bytes: an entry never changes once made, so
    // tags with the same code line and value share one (a session that
    // freezes and thaws layers over and over keeps a handful of entries).
    std::int32_t pooled(Owned o);

    QByteArray source_;
    std::vector<Owned> pool_;
    QHash<QByteArray, std::int32_t> poolIndex_;  // raw bytes -> pool index
    QByteArray eol_ = QByteArrayLiteral("\r\n");
    bool padCodes_ = true;
    std::uint32_t tailBegin_ = 0;  // bytes after the EOF tag, kept verbatim
};

// Number helpers on raw values.
bool toInt(QByteArrayView v, long long* out);
bool toDouble(QByteArrayView v, double* out);
// Formats an integer so it keeps the field width of the value it replaces
// (writers pad integers differently; keeping the width keeps files uniform).
QByteArray formatIntLike(QByteArrayView previous, long long value);

}  // namespace host::dxf
