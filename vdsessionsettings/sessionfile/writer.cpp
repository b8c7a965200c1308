#include "vdsessionsettings.h"

#include "private/logging_p.h"
#include "private/savefile_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/sessiondocument_p.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonArray geometriesToJson(const QMap<int, QRect> &geometries)
{
    QJsonArray elements;
    for (auto it = geometries.cbegin(); it != geometries.cend(); ++it) {
        const QRect &rect = it.value();
        QJsonObject element;
        element.insert(QStringLiteral("id"), it.key());
        element.insert(QStringLiteral("geometry"),
                       QStringLiteral("%1,%2,%3,%4").arg(rect.left()).arg(rect.top()).arg(rect.width()).arg(rect.height()));
        elements.append(element);
    }
    return elements;
}

void logWriteFailure(const QString &path)
{
    qCCritical(lcVdSessionSettings).noquote() << QStringLiteral("[VdSessionSettings::saveToVdp]save vdsession settings file %1 error.").arg(path);
}

} // namespace

void VdSessionSettings::saveToVdp()
{
    const QString path = d->mVdpPath_;
    spdlog::info("save vdp file, path:{}", path);

    QByteArray content;
    QString problem;
    if (!readSessionFileContent(path, &content, &problem)) {
        spdlog::error("file open error, path:{}", path);
        spdlog::error("{}: {}", path, problem);
        return;
    }

    // Everything else in the document belongs to the launcher and goes back as it was read.
    QJsonObject root;
    if (!parseSessionDocument(content, &root))
        return;
    root.insert(QStringLiteral("config mode"), int(d->mConfigMode_));
    // Tells the next load that the previous session's choices are already in this file.
    root.insert(QStringLiteral("inherit old vdp"), 1);
    root.insert(QStringLiteral("vgpu qp type"), int(d->mVgpuQPType_));
    root.insert(QStringLiteral("image_compression_mode"), int(d->mImgCompress_));
    root.insert(QStringLiteral("vgpu decode type"), int(d->mVgpuDecodeType_));
    root.insert(QStringLiteral("jpeg_quality"), d->mJpegQuality_);
    root.insert(QStringLiteral("dump_stream_data"), d->mStreamDataDumpEnabled_);
    root.insert(QStringLiteral("d3d_debug"), d->mD3dDebugEnabled_);
    root.insert(QStringLiteral("render_driver_value"), d->mRenderDriverValue_);
    root.insert(QStringLiteral("mouse_mode"), int(d->mMouseMode_));
    // No stream mode chosen: whatever the launcher wrote still decides.
    if (d->mStreamMode_ != TYPE_STREAM_NONE)
        root.insert(QStringLiteral("stream_control_value"), int(d->mStreamMode_));
    root.insert(QStringLiteral("toolbarStyle"), d->mToolbarStyle_);
    // Rebuilt whole, so screens no longer in use drop out of the file.
    root.insert(QStringLiteral("geometrys"), geometriesToJson(d->mGeometrys_));
    root.insert(QStringLiteral("noMoreshowDialog"), d->mNoMoreshowDialog_);
    root.insert(QStringLiteral("window mode"), int(d->mWindowMode_));
    root.insert(QStringLiteral("render mode"), int(d->mRenderMode_));
    root.insert(QStringLiteral("display_res"),
                QStringLiteral("%1,%2").arg(d->mDisplayRes_.width()).arg(d->mDisplayRes_.height()));

    // A failure at any point leaves the old session file whole.
    if (!writeWholeFile(path, QJsonDocument(root).toJson(QJsonDocument::Indented)))
        logWriteFailure(path);
}
