#include "platformfile_p.h"

#include "logging_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// QSaveFile names its temporary file after the target, with a dot and six random characters.
constexpr int temporarySuffixLength = 7;
// Links followed before giving up, as the kernel does.
constexpr int maximumLinkHops = 40;

bool refuse(QString *errorString, const QString &problem)
{
    *errorString = problem;
    return false;
}

QString folderOf(const QString &path) { return QFileInfo(path).absolutePath(); }

// The kernel's protected_symlinks rule: in a sticky folder that everybody may write to, a link is
// followed only for its own owner or when the folder's owner made it. Anyone else's link there
// may have been planted to send a privileged writer elsewhere.
bool isPlantedLink(const struct stat &link, const QString &linkPath, uid_t *folderOwner)
{
    struct stat folder;
    if (::stat(QFile::encodeName(folderOf(linkPath)).constData(), &folder) != 0)
        return false;
    *folderOwner = folder.st_uid;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid;
}

} // namespace

bool PlatformFile::openForReading(const QString &path, QFile *file, bool *regular, QString *errorString)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return refuse(errorString, QStringLiteral("cannot be opened: ") + qt_error_string(errno));
    struct stat status;
    *regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (!file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return refuse(errorString, QStringLiteral("cannot be opened: ") + file->errorString());
    }
    return true;
}

bool PlatformFile::mayReplace(const QString &path, QString *errorString)
{
    // The link chain is walked as the save will follow it, so that the name checked last is the
    // one whose folder receives the temporary file.
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0;; ++hop) {
        const QByteArray name = QFile::encodeName(current);
        struct stat link;
        if (::lstat(name.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
            break;
        if (hop == maximumLinkHops)
            return refuse(errorString, QStringLiteral("too many levels of symbolic links"));
        uid_t folderOwner = 0;
        if (isPlantedLink(link, current, &folderOwner))
            return refuse(errorString,
                          QStringLiteral("%1 is a symbolic link in the shared folder %2 that belongs to another user "
                                         "(uid %3, the folder's owner is uid %4); the system does not follow such a "
                                         "link for this process, and the save does not either")
                              .arg(current, folderOf(current)).arg(link.st_uid).arg(folderOwner));
        char target[PATH_MAX];
        const ssize_t length = ::readlink(name.constData(), target, sizeof target);
        if (length <= 0 || size_t(length) >= sizeof target)
            break;
        current = QDir::cleanPath(QDir(folderOf(current)).absoluteFilePath(QFile::decodeName(QByteArray(target, int(length)))));
    }

    const long longestName = ::pathconf(QFile::encodeName(folderOf(current)).constData(), _PC_NAME_MAX);
    const int nameLength = QFile::encodeName(QFileInfo(current).fileName()).size();
    const long allowed = longestName > 0 ? longestName : NAME_MAX;
    if (nameLength + temporarySuffixLength > allowed)
        return refuse(errorString, QStringLiteral("its name has %1 bytes, and the temporary file written beside it "
                                                  "needs %2 more than the %3 a name may have there")
                                       .arg(nameLength).arg(temporarySuffixLength).arg(allowed));
    return true;
}

void PlatformFile::keepAttributes(QSaveFile &file, const QString &path)
{
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
}

bool PlatformFile::openFileBlocksReplace() { return false; }
