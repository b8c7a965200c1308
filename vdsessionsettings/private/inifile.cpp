#include "inifile_p.h"

#include "logging_p.h"
#include "savefile_p.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>
#endif

#include <algorithm>

namespace {

// Long enough for any other writer of these small files to finish; a lock left by a process that
// died is taken over sooner than that (QLockFile's stale lock time, 30 s, or at once when its
// owner is known to be gone).
constexpr int lockTimeoutMs = 10000;
// Between two attempts at the lock.
constexpr int lockRetryMs = 5;

// QLockFile::tryLock(timeout) waits longer and longer between its attempts, up to seconds: a
// writer that takes the lock again as soon as it lets go, round after round, then holds it at
// every attempt, and the waiting writer gives up with its change unwritten. Attempts at a short,
// steady pace find the moments between the other's rounds. A lock whose owner is gone is still
// taken over by each attempt.
bool takeLock(QLockFile &lock)
{
    QDeadlineTimer deadline(lockTimeoutMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(lockRetryMs);
    }
    return true;
}

QString lockFailure(const QLockFile &lock, const QString &lockPath)
{
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        return QStringLiteral("another process holds its lock file %1 and did not let go within %2 s")
            .arg(lockPath).arg(lockTimeoutMs / 1000);
    case QLockFile::PermissionError:
        return QStringLiteral("its lock file cannot be created (permission denied)");
    default:
        return QStringLiteral("its lock file cannot be created");
    }
}

// A value as an INI file gives it back: a list as its items, anything else as its text.
QStringList iniText(const QVariant &value)
{
    if (!value.isValid())
        return QStringList();
    if (value.userType() == QMetaType::QStringList || value.userType() == QMetaType::QVariantList)
        return value.toStringList();
    return QStringList{value.toString()};
}

// Whether @p written holds exactly the keys and values of @p meant.
bool sameContent(const QSettings &meant, const QSettings &written)
{
    QStringList keys = meant.allKeys();
    QStringList writtenKeys = written.allKeys();
    std::sort(keys.begin(), keys.end());
    std::sort(writtenKeys.begin(), writtenKeys.end());
    if (keys != writtenKeys)
        return false;
    return std::all_of(keys.cbegin(), keys.cend(),
                       [&](const QString &key) { return iniText(meant.value(key)) == iniText(written.value(key)); });
}

// The whole of the file at @p path, read and closed again: Windows does not replace a file that
// is still open here.
bool readWholeFile(const QString &path, QByteArray *content, QString *errorString)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *errorString = file.errorString();
        return false;
    }
    *content = file.readAll();
    *errorString = file.errorString();
    return file.error() == QFileDevice::NoError;
}

} // namespace

void useUtf8(QSettings &settings)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings.setIniCodec(QTextCodec::codecForName("UTF-8"));
#else
    // Qt 6 reads and writes INI files as UTF-8 and has no other choice.
    Q_UNUSED(settings);
#endif
}

QVector<int> arrayIndices(QSettings &settings, int claimedSize)
{
    QVector<int> indices;
    const QStringList elements = settings.childGroups();
    for (const QString &element : elements) {
        bool isNumber = false;
        const int number = element.toInt(&isNumber);
        // setArrayIndex(i) reads the group named i + 1, written plainly; "01" or " 1" is never read.
        if (isNumber && number >= 1 && number <= claimedSize && element == QString::number(number))
            indices.append(number - 1);
    }
    std::sort(indices.begin(), indices.end());

    int firstEmpty = 0;
    while (firstEmpty < indices.size() && indices.at(firstEmpty) == firstEmpty)
        ++firstEmpty;
    if (firstEmpty < claimedSize)
        indices.insert(firstEmpty, firstEmpty);
    return indices;
}

bool rewriteIniFile(const QString &path, const std::function<void(QSettings &)> &edit)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return reportWriteFailure(path, QStringLiteral("its folder cannot be created"));
    // The lock QSettings takes for the same file, so that its writers and this one take turns: each
    // reads the file under the lock, so neither writes back what it read before the other's change.
    const QString lockPath = path + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!takeLock(lock))
        return reportWriteFailure(path, lockFailure(lock, lockPath));

    // Names no QSettings of this process has seen: a QSettings on a known name may answer from
    // its cache instead of the disk.
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return reportWriteFailure(path, scratch.errorString());
    const QString draftPath = scratch.filePath(QStringLiteral("draft.ini"));
    const QString checkPath = scratch.filePath(QStringLiteral("check.ini"));

    if (QFile::exists(path)) {
        QByteArray oldContent;
        QString problem;
        if (!readWholeFile(path, &oldContent, &problem))
            return reportWriteFailure(path, problem);
        if (!writeWholeFile(draftPath, oldContent))
            return reportWriteFailure(path, QStringLiteral("no room for a draft"));
    }

    QSettings draft(draftPath, QSettings::IniFormat);
    useUtf8(draft);
    edit(draft);
    draft.sync();
    if (draft.status() != QSettings::NoError)
        return reportWriteFailure(path, QStringLiteral("the draft could not be written"));

    QByteArray content;
    QString problem;
    if (!readWholeFile(draftPath, &content, &problem))
        return reportWriteFailure(path, problem);
    if (!writeWholeFile(checkPath, content))
        return reportWriteFailure(path, QStringLiteral("no room to check the draft"));
    QSettings check(checkPath, QSettings::IniFormat);
    useUtf8(check);
    if (check.status() != QSettings::NoError || !sameContent(draft, check))
        return reportWriteFailure(path, QStringLiteral("the draft was cut short"));

    return writeWholeFile(path, content);
}
