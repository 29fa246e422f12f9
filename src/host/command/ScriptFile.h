#pragma once

// A script file as the command line runs it: its lines, read once when the
// script starts.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace host::command {

// The lines of a script's bytes: UTF-8 (a byte order mark dropped) when the
// bytes are valid UTF-8, else Shift_JIS (CP932); CR LF and LF line ends; a
// final line break ends the last line rather than adding an empty one.
QStringList splitScriptLines(const QByteArray& bytes);

class ScriptFile {
public:
    // Reads the file; false with a message for the command line when it
    // cannot be read.
    bool load(const QString& path, QString* error);
    const QString& path() const { return path_; }
    bool atEnd() const { return next_ >= lines_.size(); }
    // The next line; atEnd() must be false.
    QString nextLine() { return lines_[next_++]; }

private:
    QString path_;
    QStringList lines_;
    qsizetype next_ = 0;
};

}  // namespace host::command
