#ifndef VDSESSIONSETTINGS_SESSIONFILES_H
#define VDSESSIONSETTINGS_SESSIONFILES_H

#include <vdsessionsettings/vdsessionsettings_export.h>

#include <QByteArray>
#include <QString>

/**
 * Reading and writing a session file whole, as VdSessionSettings does it, for programs that
 * handle session files themselves (an editor, a launcher, the vdsession tool).
 */
namespace VdSessionFiles {

/**
 * Reads the whole session file at @p path into @p content.
 *
 * Only a regular file of at most 16 MiB is read: a device, a pipe or a directory would be read
 * forever, block, or give nothing, and no session file comes near that size. Otherwise gives
 * false and, when @p errorString is given, one line naming the problem ("not a regular file",
 * "larger than 16 MiB", "cannot be opened: <reason>").
 */
VDSESSIONSETTINGS_EXPORT bool readWholeFile(const QString &path, QByteArray *content, QString *errorString = nullptr);

/**
 * Makes @p content the whole of the file at @p path, or leaves the file exactly as it was.
 *
 * The bytes go to a temporary file beside the target that takes its place only once every byte is
 * known to be on disk, so a full disk, a file size limit or a crash never leaves a cut or empty
 * file. A file that exists keeps its permissions and, where the process may give them, its owner
 * and group; a symbolic link keeps pointing where it did, and its target is replaced. On failure
 * gives false and, when @p errorString is given, the reason.
 */
VDSESSIONSETTINGS_EXPORT bool writeWholeFile(const QString &path, const QByteArray &content, QString *errorString = nullptr);

} // namespace VdSessionFiles

#endif
