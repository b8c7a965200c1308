#ifndef VDSESSIONSETTINGS_INIFILE_P_H
#define VDSESSIONSETTINGS_INIFILE_P_H

#include <QString>
#include <QVector>

#include <functional>

class QSettings;

// The client's own INI files hold UTF-8 text; call before the first access.
void useUtf8(QSettings &settings);

// The indices worth visiting, in ascending order, in the array that @p settings has just opened
// with beginReadArray(), which returned @p claimedSize.
//
// The size key is only a claim. Every index below it that stores nothing reads as the same empty
// element, so the first such index stands for all of them: a loop that does nothing more for an
// empty element it has met before (one that keeps the first entry per key, or skips elements
// without a key) gets what visiting every index would give, and is bounded by what the file holds.
QVector<int> arrayIndices(QSettings &settings, int claimedSize);

// Rewrites the INI file at @p path with what @p edit changes in it, or leaves it exactly as it was.
//
// Other processes write the same files, through QSettings or through this function. The rewrite
// holds the lock file QSettings takes ("<path>.lock") from the moment it reads the file to the
// moment the new content is in place, so @p edit sees the file as it is then and changes only what
// is its own; a lock held longer than 10 s by another process gives false.
//
// QSettings writes its files through a buffered QSaveFile, which commits a short write as if it
// were whole. So the edit is made on a private copy, whose bytes are only used once a fresh parse
// of them gives back every key and value the edit meant; they then replace the file through
// writeWholeFile(). The folder is created when missing. A failure is logged and gives false.
bool rewriteIniFile(const QString &path, const std::function<void(QSettings &)> &edit);

#endif
