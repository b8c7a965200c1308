// Feeds arbitrary bytes to the session file readers and the launch link parser, as a session
// file or a link of any content would reach them.

#include <vdsessionsettings/sessioncheck.h>
#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <spdlog/spdlog.h>

#include <cstddef>
#include <cstdint>

namespace {

void ignoreQtMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

VdSessionSettings *quietSettings()
{
    spdlog::set_level(spdlog::level::off);
    qInstallMessageHandler(ignoreQtMessage);
    return VdSessionSettings::instance();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static VdSessionSettings *settings = quietSettings();
    // A fresh record per input, so the appended lists do not grow across runs.
    VdSessionSettingsPrivate::startUp(settings);

    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isObject()) {
        settings->fromJson(document.object());
        settings->fromOldJson(document.object());
        settings->geometry(QRect(-1920, 0, 1920, 1080), 1);
    }
    settings->loadFromWeb(QString::fromUtf8(bytes));
    // The checker walks the document's text itself to order its findings.
    VdSessionCheck::checkDocument(bytes);
    return 0;
}
