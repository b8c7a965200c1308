// The display, video and window options of a current-layout session document.
#include "displayoptions_p.h"

#include "policy/videomode_p.h"
#include "sessionfile/sessiondocument_p.h"
#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

#include <vdicommon/xsystem.h>

#include <QDebug>

namespace {

using S = VdSessionSettings;

// Options the launcher writes only when it has something to say about them. Without them the
// session keeps what it had: the stream mode perhaps inherited from the previous session's file
// a moment ago, the rest what an earlier load or the program set.
void readRenderOptions(VdSessionSettingsPrivate *d, const JsonGroup &root)
{
    const QString streamKey = QStringLiteral("stream_control_value");
    if (root.contains(streamKey))
        d->mStreamMode_ = root.enumeration(streamKey, S::TYPE_STREAM_OFFICE);

    const QString renderTypeKey = QStringLiteral("render_type");
    if (root.contains(renderTypeKey))
        d->mImageRenderType_ = root.number(renderTypeKey);
    else
        spdlog::info("render_type is not defined");

    const QString driverKey = QStringLiteral("render_driver_value");
    if (root.contains(driverKey)) {
        // That processor's video stack only renders reliably in software.
        const QString fallback = XSystem::isZhaoxinU6780A() ? QStringLiteral("software") : QStringLiteral("auto");
        d->mRenderDriverValue_ = root.string(driverKey, fallback);
    } else {
        spdlog::info("render_driver_value is not defined");
    }

    const QString flagKey = QStringLiteral("render_flag");
    if (root.contains(flagKey))
        d->mSDLRenderFlag_ = root.number(flagKey);
    else
        spdlog::info("render_flag is not defined");

    const QString dumpKey = QStringLiteral("dump_stream_data");
    if (root.contains(dumpKey))
        d->mStreamDataDumpEnabled_ = root.boolean(dumpKey);
    else
        spdlog::info("dump_stream_data is not defined");

    const QString d3dKey = QStringLiteral("d3d_debug");
    if (root.contains(d3dKey))
        d->mD3dDebugEnabled_ = root.boolean(d3dKey);
    else
        spdlog::info("d3d_debug is not defined");
}

// The user's own video choices.
void readUserVideo(VdSessionSettingsPrivate *d, const JsonGroup &root)
{
    d->mImgCompress_ = root.enumeration(QStringLiteral("image_compression_mode"), S::TYPE_COMPRESS_LOSSLESS);
    d->mVgpuDecodeType_ = root.enumeration(QStringLiteral("vgpu decode type"), S::Software_VgpuDecode_TYPE);
    d->mVgpuQPType_ = root.enumeration(QStringLiteral("vgpu qp type"), S::VgpuQPType_BEGIN);
    if (d->mVgpuQPType_ == S::VgpuQPType_BEGIN)
        d->mVgpuQPType_ = S::VgpuQPType_M;
    d->mMouseMode_ = root.enumeration(QStringLiteral("mouse_mode"), S::LOCAL_MODE);
    d->mJpegQuality_ = root.number(QStringLiteral("jpeg_quality"), 95);
}

// The operator values that go with the broker's video policy.
void readOperatorVideo(VdSessionSettingsPrivate *d, const JsonGroup &vmOperator)
{
    // The broker counts quality levels from 0 for high, one below the enumeration, whose 0 is no
    // level at all. Unsigned arithmetic, so the largest number wraps instead of overflowing.
    const unsigned quality = static_cast<unsigned>(vmOperator.number(QStringLiteral("videoQuality")));
    d->mVgpuQPTypePlatform_ = static_cast<S::VgpuQPType>(static_cast<int>(quality + 1u));
    d->mPlatformUnifiedConfig_ = vmOperator.number(QStringLiteral("platformUnifiedConfig")) == 0;
}

// The broker's video policy as the session file keeps it; unless the platform decides, the
// document's own "config mode" is in force. The document itself is what the pipeline is handed.
void readPlatformVideo(VdSessionSettingsPrivate *d, const JsonGroup &root, const JsonGroup &policy)
{
    BrokerVideoPolicy video;
    video.videoMode = policy.number(QStringLiteral("videoMode"));
    video.videoModeGw = policy.number(QStringLiteral("videoModeGw"));
    video.forceEnableVideoMode = policy.number(QStringLiteral("forceEnableVideoMode"));
    video.imageCompressionMode = policy.number(QStringLiteral("image_compression_mode"));
    video.jpegQuality = policy.number(QStringLiteral("jpeg_quality"));
    video.videoDecode = policy.enumeration(QStringLiteral("videoDecode"), S::Software_VgpuDecode_TYPE);
    video.forceDistributionDecode = policy.number(QStringLiteral("forceDistributionDecode"));
    video.pipelineObject = policy.object();
    applyBrokerVideoPolicy(d, video, root.enumeration(QStringLiteral("config mode"), S::ConfigModePreDefine));
}

// The window rectangle per screen. Older launchers wrote one rectangle for the first screen; when
// that is there it wins. Screens the document does not name keep their rectangles.
void readGeometries(VdSessionSettingsPrivate *d, const JsonGroup &root)
{
    const QString singleKey = QStringLiteral("geometry");
    if (!root.contains(singleKey)) {
        readScreenGeometries(d, root);
        return;
    }
    const QString text = root.text(singleKey, TextFormat::Rectangle, [] {
        return QStringLiteral("screen 0 gets no remembered window, and geometrys is not read while geometry is present, "
                              "so no screen gets one from this file");
    });
    qCInfo(lcVdSessionSettings).nospace() << "read geometry : " << JsonValue::splitIntegers(text);
    QRect rect;
    if (rectangleFromText(text, &rect))
        d->mGeometrys_.insert(0, rect);
}

void readModes(VdSessionSettingsPrivate *d, const JsonGroup &root, S::RenderMode defaultRenderMode)
{
    readWindowModes(d, root, defaultRenderMode);
    d->mRenderDebugLevel_ = root.number(QStringLiteral("render_debug_level"));
    d->logWindowMode();
    d->logRenderModes();
}

// "width,height"; any other number of pieces leaves the size the program set.
void readDisplayResolution(VdSessionSettingsPrivate *d, const JsonGroup &root)
{
    const QString text = root.text(QStringLiteral("display_res"), TextFormat::Size, [] {
        return QStringLiteral("the display size stays as it was before loading");
    });
    QVector<int> size;
    if (JsonValue::integersFromText(text, TextFormat::Size, &size))
        d->mDisplayRes_ = QSize(size.at(0), size.at(1));
}

} // namespace

void readDisplayOptions(VdSessionSettingsPrivate *d, const JsonGroup &root, const JsonGroup &vm,
                        VdSessionSettings::RenderMode defaultRenderMode)
{
    const JsonGroup policy = vm.group(QStringLiteral("controlPolicy")).group(QStringLiteral("video_policy"));
    const JsonGroup vmOperator = vm.group(QStringLiteral("vmOperator"));

    readRenderOptions(d, root);
    readUserVideo(d, root);
    readOperatorVideo(d, vmOperator);
    // The stream mode is settled by now, so the effective video mode can be chosen.
    readPlatformVideo(d, root, policy);
    readGeometries(d, root);
    readModes(d, root, defaultRenderMode);
    readDisplayResolution(d, root);
}
