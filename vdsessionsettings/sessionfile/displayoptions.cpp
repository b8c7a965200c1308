// The display, video and window options of a current-layout session document.
#include "displayoptions_p.h"

#include "policy/videomode_p.h"
#include "sessionfile/sessiondocument_p.h"
#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

#include <vdicommon/xsystem.h>

#include <QDebug>
#include <QJsonDocument>

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

// The broker's video policy and the two operator values that go with it.
void readPlatformVideo(VdSessionSettingsPrivate *d, const JsonGroup &policy, const JsonGroup &vmOperator)
{
    d->mVideoMode_ = policy.number(QStringLiteral("videoMode"));
    d->mVideoModeGw_ = policy.number(QStringLiteral("videoModeGw"));
    d->mForceEnableVideoMode_ = policy.number(QStringLiteral("forceEnableVideoMode")) != 0;
    // The stream mode is settled by now, so the effective mode can be chosen.
    resolveVideoMode(d);

    // The broker counts compression the other way round: its 0 is JPEG.
    d->mImgCompressPlatform_ = static_cast<S::ImageControlType>(policy.number(QStringLiteral("image_compression_mode")) ^ 1);
    d->mJpegQualityPlatform_ = policy.number(QStringLiteral("jpeg_quality"));
    d->mVgpuDecodeTypePlatform_ = policy.enumeration(QStringLiteral("videoDecode"), S::Software_VgpuDecode_TYPE);
    // The broker counts quality levels from 0 for high, one below the enumeration, whose 0 is no
    // level at all. Unsigned arithmetic, so the largest number wraps instead of overflowing.
    const unsigned quality = static_cast<unsigned>(vmOperator.number(QStringLiteral("videoQuality")));
    d->mVgpuQPTypePlatform_ = static_cast<S::VgpuQPType>(static_cast<int>(quality + 1u));
    d->mForceDistributionDecode_ = policy.number(QStringLiteral("forceDistributionDecode")) == 1;
    d->mPlatformUnifiedConfig_ = vmOperator.number(QStringLiteral("platformUnifiedConfig")) == 0;
}

// The user's own video choices, and which of the two layers is in force.
void readUserVideo(VdSessionSettingsPrivate *d, const JsonGroup &root)
{
    d->mImgCompress_ = root.enumeration(QStringLiteral("image_compression_mode"), S::TYPE_COMPRESS_LOSSLESS);
    d->mVgpuDecodeType_ = root.enumeration(QStringLiteral("vgpu decode type"), S::Software_VgpuDecode_TYPE);
    d->mVgpuQPType_ = root.enumeration(QStringLiteral("vgpu qp type"), S::VgpuQPType_BEGIN);
    if (d->mVgpuQPType_ == S::VgpuQPType_BEGIN)
        d->mVgpuQPType_ = S::VgpuQPType_M;
    d->mMouseMode_ = root.enumeration(QStringLiteral("mouse_mode"), S::LOCAL_MODE);
    d->mJpegQuality_ = root.number(QStringLiteral("jpeg_quality"), 95);

    // A platform that leaves the configuration to the user always gives it to the user; one that
    // forces distributed decoding always keeps it; otherwise the document says.
    if (!d->mPlatformUnifiedConfig_)
        d->mConfigMode_ = S::ConfigModeUserDefine;
    else if (d->mForceDistributionDecode_)
        d->mConfigMode_ = S::ConfigModePreDefine;
    else
        d->mConfigMode_ = root.enumeration(QStringLiteral("config mode"), S::ConfigModePreDefine);
}

// The video policy as the program hands it on to the video pipeline; with the user's choices in
// force, the pipeline gets the user's JPEG quality. The document itself stays as it is.
void keepVideoPolicy(VdSessionSettingsPrivate *d, const JsonGroup &policy)
{
    QJsonObject text = policy.object();
    if (d->mConfigMode_ == S::ConfigModeUserDefine)
        text.insert(QStringLiteral("jpeg_quality"), d->mJpegQuality_);
    d->mVideoPolicy_ = QJsonDocument(text).toJson(QJsonDocument::Indented).toStdString();
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
    const QString text = root.string(singleKey);
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

// "width,height"; anything else leaves the size the program set.
void readDisplayResolution(VdSessionSettingsPrivate *d, const JsonGroup &root)
{
    const QStringList parts = JsonValue::splitIntegers(root.string(QStringLiteral("display_res")));
    if (parts.size() == 2)
        d->mDisplayRes_ = QSize(JsonValue::decimalOrZero(parts.at(0)), JsonValue::decimalOrZero(parts.at(1)));
}

} // namespace

void readDisplayOptions(VdSessionSettingsPrivate *d, const JsonGroup &root, const JsonGroup &vm,
                        VdSessionSettings::RenderMode defaultRenderMode)
{
    const JsonGroup policy = vm.group(QStringLiteral("controlPolicy")).group(QStringLiteral("video_policy"));
    const JsonGroup vmOperator = vm.group(QStringLiteral("vmOperator"));

    readRenderOptions(d, root);
    readPlatformVideo(d, policy, vmOperator);
    readUserVideo(d, root);
    keepVideoPolicy(d, policy);
    readGeometries(d, root);
    readModes(d, root, defaultRenderMode);
    readDisplayResolution(d, root);
}
