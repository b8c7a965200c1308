// Inheriting from the previous session's file, and filling in the render system.
#include "vdsessionsettings.h"

#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/sessiondocument_p.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {

// The launcher names a session file "VdSession-<name>.vdp" and leaves the previous session's file
// beside it as "<name>-2.vdp". Files named otherwise have no previous file.
const QString sessionFilePrefix = QStringLiteral("VdSession-");
const QString previousFileSuffix = QStringLiteral("-2.vdp");

QString previousSessionFile(const QString &sessionFile)
{
    const QFileInfo info(sessionFile);
    QString name = info.fileName();
    name.chop(4); // ".vdp"
    if (!name.startsWith(sessionFilePrefix))
        return QString();
    return info.path() + QLatin1Char('/') + name.mid(sessionFilePrefix.size()) + previousFileSuffix;
}

} // namespace

void VdSessionSettings::readOldVdpConfig()
{
    if (d->mVdpPath_.isEmpty())
        return;
    const QString path = previousSessionFile(d->mVdpPath_);
    if (path.isEmpty())
        return;

    spdlog::info("old vdp path: {}", path);
    if (!QFile::exists(path)) {
        spdlog::info("old vdp path not exits");
        return;
    }

    QByteArray content;
    QString problem;
    if (!readSessionFileContent(path, &content, &problem)) {
        spdlog::critical("load {} old vdp file error.", path);
        spdlog::error("{}: {}", path, problem);
        return;
    }

    // A file that does not parse stays where it is, so that it can be looked at.
    QJsonObject previous;
    if (!parseSessionDocument(content, &previous))
        return;

    // Only the stream mode the user chose last time carries over; previous files are always in
    // the legacy grouping.
    const JsonGroup settings = JsonGroup(previous).group(QStringLiteral("vdsession settings"));
    const QString streamKey = QStringLiteral("stream_control_value");
    if (settings.contains(streamKey)) {
        d->mStreamMode_ = static_cast<StreamControlType>(settings.number(streamKey));
        spdlog::info("old vdp file found and, stream control value is {}", int(d->mStreamMode_));
    }

    // Read once: the next session must not inherit the same choice again.
    QFile::remove(path);
}

void VdSessionSettings::updateConfig()
{
    if (d->mRenderSystemMode_ != RenderSystemDEFAULT)
        return;
    d->mRenderSystemMode_ = RenderSystemSDL;
    qCInfo(lcVdSessionSettings).nospace() << "updateConfig " << ",render system mode:" << d->mRenderSystemMode_;
}
