#include "platformfile_p.h"

#include "logging_p.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    // Windows has no FIFOs in the file system; a device name such as NUL or CON, and a folder,
    // are told apart before they are opened.
    const QFileInfo info(path);
    *regular = info.isFile();
    file->setFileName(path);
    if (!info.exists() || *regular) {
        if (!file->open(QIODevice::ReadOnly))
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
