#include "sessiondocument_p.h"

#include "display/windowrect_p.h"
#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/platformfile_p.h"
#include "private/vdsessionsettings_p.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>


namespace {

bool refuse(QString *errorString, const QString &problem)
{
    *errorString = problem;
    return false;
}

} // namespace

bool readSessionFileContent(const QString &path, QByteArray *content, QString *errorString)
{
    QFile file;
    bool regular = false;
    if (!PlatformFile::openForReading(path, &file, &regular, errorString))
        return false;
    if (!regular)
        return refuse(errorString, QStringLiteral("not a regular file"));

    const qint64 size = file.size();
    if (size > maximumSessionFileSize)
        return refuse(errorString, QStringLiteral("larger than %1 MiB").arg(maximumSessionFileSize / (1024 * 1024)));
    // As much as the file held when measured: what a writer appends meanwhile is not waited for.
    *content = file.read(size);
    if (file.error() != QFileDevice::NoError)
        return refuse(errorString, QStringLiteral("cannot be read: ") + file.errorString());
    return true;
}

bool parseSessionDocument(const QByteArray &content, QJsonObject *root)
{
    const QJsonDocument document = QJsonDocument::fromJson(content);
    if (document.isNull() || document.isEmpty()) {
        logMalformedDocument(content);
        return false;
    }
    // A document that is an array reads as an empty object.
    *root = document.object();
    return true;
}

bool hasLegacyLayout(const QJsonObject &root)
{
    return root.contains(QStringLiteral("vdsession settings"));
}

bool rectangleFromText(const QString &text, QRect *rect)
{
    QVector<int> edges;
    if (!JsonValue::integersFromText(text, TextFormat::Rectangle, &edges))
        return false;
    // Each number is held to +-2^24 before QRect adds them: "2147483647,2147483647,2147483647,2147483647"
    // reads as left and top 16777216 with width and height 16777216, and a left of -2147483648 as
    // -16777216. geometry() then treats such a window as it treats any window off the screen.
    *rect = windowRect(edges.at(0), edges.at(1), edges.at(2), edges.at(3));
    return true;
}

void readScreenGeometries(VdSessionSettingsPrivate *d, const JsonGroup &group)
{
    const QString key = QStringLiteral("geometrys");
    qCInfo(lcVdSessionSettings).nospace() << "read geometrys : " << group.value(key).toArray();
    for (const JsonGroup &screen : group.groups(key)) {
        const int id = screen.number(QStringLiteral("id"));
        const QString text = screen.text(QStringLiteral("geometry"), TextFormat::Rectangle, [id] {
            return QStringLiteral("the element is skipped, so screen %1 gets no remembered window from it").arg(id);
        });
        QRect rect;
        if (rectangleFromText(text, &rect))
            d->mGeometrys_.insert(id, rect);
    }
}

void readWindowModes(VdSessionSettingsPrivate *d, const JsonGroup &root, VdSessionSettings::RenderMode defaultRenderMode)
{
    using S = VdSessionSettings;
    d->mWindowMode_ = root.enumeration(QStringLiteral("window mode"), S::MultiSDLWindowMode);
    if (d->mWindowMode_ == S::SingleWindowMode)
        d->mWindowMode_ = S::MultiSDLWindowMode;
    d->mRenderMode_ = root.enumeration(QStringLiteral("render mode"), defaultRenderMode);
    d->mRenderSystemMode_ = root.enumeration(QStringLiteral("render system mode"), S::RenderSystemDEFAULT);
}

void readVmAddresses(VdSessionSettingsPrivate *d, const JsonGroup &vm)
{
    d->mIpList_.append(vm.strings(QStringLiteral("lstIps")));

    // Brokers send the VM's interfaces as a list; older ones sent one object with the MAC alone.
    // Each shape is read only when it is the one given, so neither counts as the wrong type.
    const QString key = QStringLiteral("lstAddresses");
    const bool listed = vm.value(key).isArray();
    d->mVmMac_ = listed ? QString() : vm.group(key).string(QStringLiteral("mac"));
    if (!listed)
        return;
    for (const JsonGroup &element : vm.groups(key)) {
        Vdp::tagVMAddress address;
        address.mac = element.string(QStringLiteral("mac")).toStdString();
        for (const QString &ip : element.strings(QStringLiteral("lstIps")))
            address.lstIps.push_back(ip.toStdString());
        d->mVmAddrs_.push_back(address);
    }
}

void readOperatorPermissions(VdSessionSettingsPrivate *d, const JsonGroup &vmOperator)
{
    Vdp::tagVMOperator &op = d->mVmOperator_;
    op.backHome = vmOperator.number(QStringLiteral("backHome"));
    op.clientCtrlAltDel = vmOperator.number(QStringLiteral("clientCtrlAltDel"));
    op.clientOccupy = vmOperator.number(QStringLiteral("clientOccupy"));
    op.disconnection = vmOperator.number(QStringLiteral("disconnection"));
    op.interactShutdown = vmOperator.number(QStringLiteral("interactShutdown"));
    op.logoutUser = vmOperator.number(QStringLiteral("logoutUser"));
    op.modifyName = vmOperator.number(QStringLiteral("modifyName"));
    op.multiDynamicDesktop = vmOperator.number(QStringLiteral("multiDynamicDesktop"));
    op.networkDetection = vmOperator.number(QStringLiteral("networkDetection"));
    op.powerOff = vmOperator.number(QStringLiteral("powerOff"));
    op.powerOffReboot = vmOperator.number(QStringLiteral("powerOffReboot"));
    op.reboot = vmOperator.number(QStringLiteral("reboot"));
    op.shutdown = vmOperator.number(QStringLiteral("shutdown"));
    op.snapshot = vmOperator.number(QStringLiteral("snapshot"));
}
