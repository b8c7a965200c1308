#include "platformfile_p.h"

#include "logging_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// QSaveFile names its temporary file after the target, with a dot and six random characters.
constexpr int temporarySuffixLength = 7;
// The longest name NTFS and FAT take, in UTF-16 units.
constexpr int longestName = 255;
// What a replaced file keeps; read-only is left out, since QSaveFile refuses such a file anyway.
constexpr DWORD keptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
    | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool refuse(QString *errorString, const QString &problem)
{
    *errorString = problem;
    return false;
}

} // namespace

bool PlatformFile::openForReading(const QString &path, QFile *file, bool *regular, QString *errorString)
{
    // Shared for deletion, so that reading never stands in the way of another program replacing
    // the file; with backup semantics, so that a folder opens too and is told apart as one.
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                        GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return refuse(errorString, QStringLiteral("cannot be opened: ") + qt_error_string(int(::GetLastError())));
    // A device such as NUL or CON is no file on a disk.
    BY_HANDLE_FILE_INFORMATION information;
    *regular = ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &information)
        && !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        return refuse(errorString, QStringLiteral("cannot be opened: no descriptor left"));
    }
    if (!file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::_close(descriptor);
        return refuse(errorString, QStringLiteral("cannot be opened: ") + file->errorString());
    }
    return true;
}

bool PlatformFile::mayReplace(const QString &path, QString *errorString)
{
    // Windows has no rule against following another user's link, and only an administrator, or a
    // developer-mode account, may make one; a link is followed as it stands.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    const int nameLength = QFileInfo(target).fileName().size();
    if (nameLength + temporarySuffixLength > longestName)
        return refuse(errorString, QStringLiteral("its name has %1 characters, and the temporary file written beside it "
                                                  "needs %2 more than the %3 a name may have")
                                       .arg(nameLength).arg(temporarySuffixLength).arg(longestName));
    return true;
}

void PlatformFile::keepAttributes(QSaveFile &file, const QString &path)
{
    const DWORD old = ::GetFileAttributesW(reinterpret_cast<const wchar_t *>(path.utf16()));
    if (old == INVALID_FILE_ATTRIBUTES || !(old & keptAttributes))
        return; // a new file, or nothing to keep
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
    FILE_BASIC_INFO basic = {};
    // Zero times leave the times as they are.
    basic.FileAttributes = old & keptAttributes;
    if (handle == INVALID_HANDLE_VALUE || !::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic))
        spdlog::debug("cannot keep the attributes of {}", path);
}

bool PlatformFile::openFileBlocksReplace() { return true; }
