// The session file: reading it, telling its two layouts apart, and removing it.
#include "vdsessionsettings.h"

#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/currentreader_p.h"
#include "sessionfile/sessiondocument_p.h"

#include <QFile>

bool VdSessionSettings::loadFromVdp(const QString &fileName)
{
    // Kept even when the file cannot be read: inheriting from the previous session's file, saving
    // and deleting all start from this path.
    d->mVdpPath_ = fileName;

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        spdlog::critical("load {} vdp file error.", fileName);
        return false;
    }
    const QByteArray content = file.readAll();
    file.close();
    return parseVdp(content);
}

bool VdSessionSettings::parseVdp(const QByteArray &data)
{
    // A document that is an array reads as an empty object: a current file with nothing set.
    QJsonObject root;
    if (!parseSessionDocument(data, &root))
        return false;
    if (hasLegacyLayout(root)) {
        spdlog::info("vdp is old format");
        fromOldJson(root);
    } else {
        spdlog::info("vdp is new format");
        fromJson(root);
    }
    return true;
}

void VdSessionSettings::fromJson(const QJsonObject &root)
{
    // The one step of reading that touches another file: it reads and removes the previous
    // session's file, so it stays out of the reader, which checking a file runs too.
    const JsonGroup document(root);
    if (hasInheritedPreviousSession(document)) {
        spdlog::info("old vdp file has been inherited");
    } else {
        spdlog::info("read old vdp file for inherit");
        readOldVdpConfig();
    }
    readCurrentLayout(d.get(), document, getDefaultRenderMode());
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
