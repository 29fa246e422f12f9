#include "host/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "acad/Error.h"

namespace host {

namespace {

AtomicFileHooks g_hooks;

ssize_t doWrite(int fd, const void* buf, size_t count) {
    return g_hooks.write ? g_hooks.write(fd, buf, count) : ::write(fd, buf, count);
}

int doFsync(int fd) {
    return g_hooks.fsync ? g_hooks.fsync(fd) : ::fsync(fd);
}

QString systemText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

bool diskFull(int err) {
    return err == ENOSPC || err == EDQUOT;
}

// Whether the mode bits let the caller write the file. Root is held to the
// owner's bits, so a drawing marked read-only stays read-only for it too.
bool modeAllowsWrite(const struct stat& st) {
    const uid_t uid = ::geteuid();
    if (uid == 0 || uid == st.st_uid)
        return (st.st_mode & S_IWUSR) != 0;
    if (::getegid() == st.st_gid)
        return (st.st_mode & S_IWGRP) != 0;
    gid_t groups[256];
    const int n = ::getgroups(256, groups);
    for (int i = 0; i < n; ++i)
        if (groups[i] == st.st_gid)
            return (st.st_mode & S_IWGRP) != 0;
    return (st.st_mode & S_IWOTH) != 0;
}

// Closes the descriptor and, unless released, removes the temporary file.
struct TempFile {
    int fd = -1;
    QByteArray name;
    bool keep = false;
    ~TempFile() {
        if (fd >= 0)
            ::close(fd);
        if (!keep && !name.isEmpty())
            ::unlink(name.constData());
    }
};

}  // namespace

FileStamp FileStamp::of(const QString& path) {
    FileStamp s;
    struct stat st {};
    if (::stat(QFile::encodeName(saveTarget(path)).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.size = static_cast<long long>(st.st_size);
    s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    s.device = static_cast<unsigned long long>(st.st_dev);
    s.inode = static_cast<unsigned long long>(st.st_ino);
    return s;
}

void setAtomicFileHooksForTesting(const AtomicFileHooks& hooks) {
    g_hooks = hooks;
}

QString saveTarget(const QString& path) {
    QString target = QFileInfo(path).absoluteFilePath();
    // Follow the chain of links by hand, so a link to a file not yet written
    // still leads to the name it points to; a loop ends at the limit.
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            return target;
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            return target;
        target = QFileInfo(next).absoluteFilePath();
    }
    return target;
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QString target = saveTarget(path);
    auto fail = [&](const QString& why) {
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("\"%1\" を保存できません。%2").arg(path, why));
    };
    auto failErrno = [&](int err, const QString& what) {
        if (diskFull(err))
            fail(QStringLiteral(
                "ディスクの空き容量が不足しています。元のファイルはそのまま残っています。"));
        fail(QStringLiteral("%1（%2）").arg(what, systemText(err)));
    };
    const QByteArray to = QFile::encodeName(target);
    struct stat st {};
    const bool exists = ::stat(to.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        fail(QStringLiteral("通常のファイルではありません。"));
    if (exists && !modeAllowsWrite(st))
        fail(QStringLiteral("ファイルが読み取り専用です。"));

    // A short name: the target's own name may already be as long as the
    // folder allows.
    const QString folder = QFileInfo(target).absolutePath();
    TempFile tmp;
    tmp.name = QFile::encodeName(folder + QStringLiteral("/.tova-XXXXXX"));
    tmp.fd = ::mkstemp(tmp.name.data());
    if (tmp.fd < 0) {
        const int err = errno;
        tmp.name.clear();
        failErrno(err, QStringLiteral("一時ファイルを作成できません"));
    }
    const char* p = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
    while (left > 0) {
        const ssize_t n = doWrite(tmp.fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failErrno(errno, QStringLiteral("書き込みに失敗しました"));
        if (n == 0)  // a device that takes nothing more is full
            failErrno(ENOSPC, QString());
        p += n;
        left -= static_cast<size_t>(n);
    }
    // A replaced file keeps its permissions and owner; a new one gets the
    // usual permissions rather than the temporary file's private mode.
    if (exists) {
        ::fchmod(tmp.fd, st.st_mode & 07777);
        if (::fchown(tmp.fd, st.st_uid, st.st_gid) != 0) {
            // Only root may give a file away; others keep their own ownership.
        }
    } else {
        ::fchmod(tmp.fd, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH);
    }
    if (doFsync(tmp.fd) != 0)
        failErrno(errno, QStringLiteral("ディスクへの書き込みを確認できませんでした"));
    const int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0)
        failErrno(errno, QStringLiteral("書き込みに失敗しました"));
    if (std::rename(tmp.name.constData(), to.constData()) != 0)
        failErrno(errno, QStringLiteral("ファイルを置き換えられませんでした"));
    tmp.keep = true;
    // The new name is in the folder's data: sync it too, so a power loss
    // cannot bring back the old file or lose the new one.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        const int rc = doFsync(dir);
        const int err = errno;
        ::close(dir);
        if (rc != 0 && err == EIO)
            failErrno(err, QStringLiteral("フォルダーへの書き込みを確認できませんでした"));
    }
}

void writeFileInPlace(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() ||
        !f.flush())
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("Cannot save \"%1\": %2").arg(path, f.errorString()));
}

}  // namespace host
