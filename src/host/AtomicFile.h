#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>

namespace host {

// Writes the bytes to a temporary file in the target's folder, flushes it to
// disk, renames it over the target and flushes the folder, so a reader (or a
// machine that loses power) sees either the old file or the new one.
// - A symbolic link is followed: the file it points to gets the bytes and the
//   link stays a link.
// - A file whose mode bits deny the caller writing (also for root) is
//   refused; a replaced file keeps its permissions and, where allowed, its
//   owner.
// - The temporary name is short, so any name the folder can hold can be saved.
// Throws acad::Error (FileError) with a Japanese description and leaves the
// old file untouched when any step before the rename fails; a full disk is
// named as such.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

// The file a save of path writes: path itself, or for a symbolic link the
// file it finally points to (which need not exist yet).
QString saveTarget(const QString& path);

// What a file on disk looked like: enough to tell that another program saved
// it since (size, modification time to the nanosecond, and which file it is,
// since an atomic save replaces the file).
struct FileStamp {
    bool exists = false;
    long long size = 0;
    long long mtimeNs = 0;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    // The file a save of path would write (symbolic links followed).
    static FileStamp of(const QString& path);
    bool operator==(const FileStamp&) const = default;
};

// Test hooks: replace the write and fsync system calls the function uses
// (null restores the real ones), to inject short writes, full disks and to
// see what is synced.
struct AtomicFileHooks {
    ssize_t (*write)(int fd, const void* buf, size_t count) = nullptr;
    int (*fsync)(int fd) = nullptr;
};
void setAtomicFileHooksForTesting(const AtomicFileHooks& hooks);
// Writes the bytes over the file in place (created when missing): no new
// file is made for a file that exists. For pictures made again on demand,
// many at a time; a failure may leave the file cut short. Throws acad::Error
// (FileError).
void writeFileInPlace(const QString& path, const QByteArray& bytes);

}  // namespace host
