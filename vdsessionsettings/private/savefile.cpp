#include "savefile_p.h"

#include "logging_p.h"
#include "platformfile_p.h"

#include <QSaveFile>
#include <QThread>

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

namespace {

// Tries to replace the file once. @p refusedForNow tells a replace that the platform refused
// only while another program had the file open.
bool saveOnce(const QString &path, const QByteArray &content, QString *errorString, bool *refusedForNow)
{
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile takes every byte into memory, meets the refused write only
    // while commit() flushes, and still renames the cut file over the old one (QTBUG-75077). Here
    // each write reaches the file system at once and says how much it wrote.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *errorString = file.errorString();
        return false;
    }
    PlatformFile::keepAttributes(file, path);
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
        *refusedForNow = file.error() == QFileDevice::RenameError && PlatformFile::openFileBlocksReplace();
        return false;
    }
    return true;
}

// Another program reads the file for a few milliseconds at most.
constexpr int replaceAttempts = 5;

} // namespace

bool saveWholeFile(const QString &path, const QByteArray &content, QString *errorString)
{
    if (!PlatformFile::mayReplace(path, errorString))
        return false;
    for (int attempt = 1;; ++attempt) {
        bool refusedForNow = false;
        if (saveOnce(path, content, errorString, &refusedForNow))
            return true;
        if (!refusedForNow || attempt == replaceAttempts)
            return false;
        QThread::msleep(10 * attempt);
    }
}
