#ifndef VDSESSIONSETTINGS_SAVEFILE_P_H
#define VDSESSIONSETTINGS_SAVEFILE_P_H

#include <QByteArray>
#include <QString>

// Makes @p content the whole of the file at @p path, or leaves the file exactly as it was.
//
// The bytes go to a temporary file beside the target that replaces it only once every byte is
// known to be on disk, so a full disk, a file size limit or a crash never leaves a cut or empty
// file. A file that exists keeps its permission bits and, where the process may give them
// (as root, or as the file's owner), its owner and group. A failure gives false and its reason in
// @p errorString.
bool saveWholeFile(const QString &path, const QByteArray &content, QString *errorString);

// saveWholeFile() that logs a failure with its reason.
bool writeWholeFile(const QString &path, const QByteArray &content);

// Logs that the file at @p path was not written, and why; gives false.
bool reportWriteFailure(const QString &path, const QString &reason);

#endif
