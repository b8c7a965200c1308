#ifndef VDSESSIONSETTINGS_PLATFORMFILE_P_H
#define VDSESSIONSETTINGS_PLATFORMFILE_P_H

#include <QString>

class QFile;
class QSaveFile;

// Where the library meets the operating system's files. Everything else reads and replaces files
// through Qt and these few calls, and knows nothing of the platform: platformfile_unix.cpp and
// platformfile_win.cpp each give them their platform's meaning.
namespace PlatformFile {

// Opens @p path for reading into @p file without waiting for a writer, so that a pipe cannot block
// the call, and tells in @p regular whether what was opened is a regular file: asked of the open
// file, not of a name that may have changed meanwhile. A missing or unreadable file gives false
// and the reason in @p errorString.
bool openForReading(const QString &path, QFile *file, bool *regular, QString *errorString);

// Whether a save may replace the file that @p path names. A symbolic link the user made is
// followed, and its target replaced; a link the system itself would refuse to follow for this
// process is not, and gives false with the reason in @p errorString. Also false when the file's
// name leaves no room for the temporary name made beside it.
bool mayReplace(const QString &path, QString *errorString);

// Gives the temporary @p file, about to take the place of @p path, what the file there has and a
// new file would not: its permissions and, where the process may give them, owner and group
// (POSIX), or its hidden, system and archive attributes (Windows). Nothing for a new file.
void keepAttributes(QSaveFile &file, const QString &path);

// Whether a file that another program holds open cannot be replaced meanwhile, as on Windows
// (where only readers that share deletion allow it, and under Wine none); a refused replace is
// then worth trying again once that program has read it.
bool openFileBlocksReplace();

} // namespace PlatformFile

#endif
