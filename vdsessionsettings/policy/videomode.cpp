#include "videomode_p.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

#include <QJsonDocument>

void VideoPolicyText::keep(const QJsonObject &object, std::optional<int> jpegQuality)
{
    m_object = object;
    m_jpegQuality = jpegQuality;
    m_text.clear();
    m_pending = true;
}

void VideoPolicyText::setText(const std::string &text)
{
    m_object = QJsonObject();
    m_jpegQuality.reset();
    m_text = text;
    m_pending = false;
}

const std::string &VideoPolicyText::text() const
{
    if (m_pending) {
        QJsonObject object = m_object;
        if (m_jpegQuality)
            object.insert(QStringLiteral("jpeg_quality"), *m_jpegQuality);
        const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
        m_text.assign(text.constData(), std::size_t(text.size()));
        m_pending = false;
    }
    return m_text;
}

void resolveVideoMode(VdSessionSettingsPrivate *d)
{
    if (!d->mForceEnableVideoMode_ && d->mStreamMode_ != VdSessionSettings::TYPE_STREAM_NONE)
        d->mVideoModeActual_ = d->mStreamMode_;
    else if (d->mServerType_ == Vdp::ServerGateway)
        d->mVideoModeActual_ = d->mVideoModeGw_;
    else
        d->mVideoModeActual_ = d->mVideoMode_;

    spdlog::info("video mode: forceEnableVideoMode: {}, videoModeGw: {}, videoMode:{}",
                 d->mForceEnableVideoMode_, d->mVideoModeGw_, d->mVideoMode_);
    spdlog::info("video mode: stream_control_value:{}, videoModeActual:{}", int(d->mStreamMode_), d->mVideoModeActual_);
}

void applyBrokerVideoPolicy(VdSessionSettingsPrivate *d, const BrokerVideoPolicy &policy,
                            VdSessionSettings::ConfigMode otherwise)
{
    using S = VdSessionSettings;

    d->mVideoMode_ = policy.videoMode;
    d->mVideoModeGw_ = policy.videoModeGw;
    d->mForceEnableVideoMode_ = policy.forceEnableVideoMode != 0;
    resolveVideoMode(d);

    // The broker counts compression the other way round from ImageControlType: its 0 is JPEG.
    d->mImgCompressPlatform_ = static_cast<S::ImageControlType>(policy.imageCompressionMode ^ 1);
    d->mJpegQualityPlatform_ = policy.jpegQuality;
    d->mVgpuDecodeTypePlatform_ = static_cast<S::VgpuDecodeType>(policy.videoDecode);
    d->mForceDistributionDecode_ = policy.forceDistributionDecode == 1;

    if (!d->mPlatformUnifiedConfig_)
        d->mConfigMode_ = S::ConfigModeUserDefine;
    else if (d->mForceDistributionDecode_)
        d->mConfigMode_ = S::ConfigModePreDefine;
    else
        d->mConfigMode_ = otherwise;

    // The pipeline is told a JPEG quality only when the user's choices are in force, and then
    // it is the user's.
    const bool userDefined = d->mConfigMode_ == S::ConfigModeUserDefine;
    d->mVideoPolicy_.keep(policy.pipelineObject, userDefined ? std::optional<int>(d->mJpegQuality_) : std::nullopt);
}
