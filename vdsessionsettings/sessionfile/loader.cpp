// The session file: reading it, telling its two layouts apart, and removing it.
#include "vdsessionsettings.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/sessiondocument_p.h"

#include <QFile>

namespace {

// Legacy files group everything under this one key; current files have no such group.
const QString legacyMarker = QStringLiteral("vdsession settings");

} // namespace

bool VdSessionSettings::loadFromVdp(const QString &fileName)
{
    // Kept even when the file cannot be read: inheriting from the previous session's file, saving
    // and deleting all start from this path.
    d->mVdpPath_ = fileName;

    QByteArray content;
    QString problem;
    if (!readSessionFileContent(fileName, &content, &problem)) {
        spdlog::critical("load {} vdp file error.", fileName);
        spdlog::error("{}: {}", fileName, problem);
        return false;
    }
    return parseVdp(content);
}

bool VdSessionSettings::parseVdp(const QByteArray &data)
{
    // A document that is an array reads as an empty object: a current file with nothing set.
    QJsonObject root;
    if (!parseSessionDocument(data, &root))
        return false;
    if (root.contains(legacyMarker)) {
        spdlog::info("vdp is old format");
        fromOldJson(root);
    } else {
        spdlog::info("vdp is new format");
        fromJson(root);
    }
    return true;
}

QString VdSessionSettings::getVdpPath() { return d->mVdpPath_; }

void VdSessionSettings::deleteVdpFile()
{
    spdlog::info("ready to delete vdp file, path ={}", d->mVdpPath_);
    if (QFile::exists(d->mVdpPath_)) {
        spdlog::info("delete vdp file now.");
        QFile::remove(d->mVdpPath_);
    } else {
        spdlog::info("vdp file does NOT exist.");
    }
}
