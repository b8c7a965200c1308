#include "sessionfiles.h"

#include "private/savefile_p.h"
#include "sessionfile/sessiondocument_p.h"

bool VdSessionFiles::readWholeFile(const QString &path, QByteArray *content, QString *errorString)
{
    QString problem;
    const bool read = readSessionFileContent(path, content, &problem);
    if (errorString)
        *errorString = problem;
    return read;
}

bool VdSessionFiles::writeWholeFile(const QString &path, const QByteArray &content, QString *errorString)
{
    QString problem;
    const bool written = saveWholeFile(path, content, &problem);
    if (errorString)
        *errorString = problem;
    return written;
}
