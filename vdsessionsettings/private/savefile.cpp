#include "savefile_p.h"

#include "logging_p.h"

#include <QFile>
#include <QSaveFile>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The temporary file is created as the process's own, with the default mode; give it the
// attributes of the file it replaces before it takes that file's place.
void keepAttributes(QSaveFile &file, const QString &path)
{
#ifndef _WIN32
    struct stat old;
    if (::stat(QFile::encodeName(path).constData(), &old) != 0)
        return; // a new file
    const uid_t self = ::geteuid();
    // Only root may hand a file to another user. An owner may still keep a group they belong to;
    // where that is refused the file gets the owner's group, as any new file would.
    if ((self == 0 || self == old.st_uid) && ::fchown(file.handle(), old.st_uid, old.st_gid) != 0)
        spdlog::debug("cannot keep owner and group of {}", path);
    // After the change of owner, which may clear the set-id bits.
    if (::fchmod(file.handle(), old.st_mode & 07777) != 0)
        spdlog::debug("cannot keep the mode of {}", path);
#else
    if (QFile::exists(path))
        file.setPermissions(QFile::permissions(path));
#endif
}

} // namespace

bool reportWriteFailure(const QString &path, const QString &reason)
{
    spdlog::error("write file error, path:{}, {}; the file is left as it was", path, reason);
    return false;
}

bool writeWholeFile(const QString &path, const QByteArray &content)
{
    QString reason;
    return saveWholeFile(path, content, &reason) || reportWriteFailure(path, reason);
}

bool saveWholeFile(const QString &path, const QByteArray &content, QString *errorString)
{
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile takes every byte into memory, meets the refused write only
    // while commit() flushes, and still renames the cut file over the old one (QTBUG-75077). Here
    // each write reaches the file system at once and says how much it wrote.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *errorString = file.errorString();
        return false;
    }
    keepAttributes(file, path);
    // A short write is followed by another for the rest, which then fails with the reason.
    qint64 written = 0;
    while (written < content.size()) {
        const qint64 count = file.write(content.constData() + written, content.size() - written);
        if (count <= 0)
            break;
        written += count;
    }
    if (written != content.size() || !file.flush()) {
        *errorString = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *errorString = file.errorString();
        return false;
    }
    return true;
}
