#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest/QtTest>

using S = VdSessionSettings;

namespace {

// A broker policy in which no two members of the video policy text agree, so a value written
// under the wrong key shows.
Vdp::tagControlPolicy brokerPolicy()
{
    Vdp::tagControlPolicy policy;
    policy.videoEncode = 5;
    policy.spiceTls = 6;
    policy.low_bandwidth = 7;
    policy.max_threads_stream = 8;
    policy.full_stream_max_fps = 30;
    policy.full_stream_timer_delay = 33;
    policy.bitrate_wz264 = 8000;
    policy.vbv_wz264 = 9000;
    policy.bitrate_wz265 = 6000;
    policy.vbv_wz265 = 7000;
    policy.bitrate_x264 = 10000;
    policy.vbv_buf_wz264 = 16000;
    policy.vbv_buf_wz265 = 12000;
    policy.key_int_wz264 = 250;
    policy.key_int_wz265 = 300;
    policy.qp_max_wz264 = 42;
    policy.qp_max_wz265 = 45;
    policy.network_monitor_timer = 1500;
    policy.stream_convert_mode = 9;
    policy.image_compression_mode = 0;
    policy.enable_image_cache = 10;
    policy.jpeg_quality = 85;
    policy.enable_wz = 11;
    policy.cmd_merge = 12;
    policy.videoDecode = 2;
    policy.forceDistributionDecode = 1;
    policy.spiceUdp = 14;
    policy.spicePreferProto = 15;
    policy.lanSpiceUdp = 16;
    policy.lanSpicePreferProto = 17;
    policy.enable_powercodec = 18;
    policy.videoMode = 3;
    policy.videoModeGw = 4;
    policy.forceEnableVideoMode = 19;
    policy.enable_congestion_control = 20;
    policy.fps_control_mode = 21;
    policy.ratelimitorPolicy = R"({"uplink":2048,"downlink":8192})";
    policy.enableUpmPolicy = true;
    return policy;
}

QJsonObject videoPolicyObject(S *settings)
{
    const std::string text = settings->videoPolicy();
    return QJsonDocument::fromJson(QByteArray(text.data(), int(text.size()))).object();
}

QVector<int> members(const Vdp::tagVMOperator &op)
{
    return {op.shutdown, op.reboot, op.powerOffReboot, op.powerOff, op.backHome, op.disconnection,
            op.clientCtrlAltDel, op.logoutUser, op.snapshot, op.networkDetection, op.interactShutdown,
            op.clientOccupy, op.modifyName, op.multiDynamicDesktop, op.platformUnifiedConfig, op.videoQuality};
}

} // namespace

class tst_Policy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void videoPolicyText_data();
    void videoPolicyText();
    void platformValues();
    void effectiveVideoMode_data();
    void effectiveVideoMode();
    void configMode_data();
    void configMode();
    void imageCompressionInverted_data();
    void imageCompressionInverted();
    void upmAndRateLimitor();
    void secondCallReplaces();

    void vmAddrsReplaced();
    void vmmacFallback();
    void iplistFallback();
    void operatorPolicy_data();
    void operatorPolicy();
    void freshDefaults();

private:
    std::unique_ptr<TestSession> session;
};

void tst_Policy::videoPolicyText_data()
{
    QTest::addColumn<bool>("unified");
    QTest::addColumn<QString>("expected");

    QTest::newRow("user's choices in force") << false << QFINDTESTDATA("data/policy/videopolicy-user.json");
    QTest::newRow("platform in force")       << true  << QFINDTESTDATA("data/policy/videopolicy-platform.json");
}

void tst_Policy::videoPolicyText()
{
    QFETCH(bool, unified);
    QFETCH(QString, expected);

    QFile file(expected);
    QVERIFY(file.open(QIODevice::ReadOnly));
    session->d()->mPlatformUnifiedConfig_ = unified;
    session->settings()->setJpegQuality(70);

    session->settings()->setControlPolicy(brokerPolicy());

    const std::string text = session->settings()->videoPolicy();
    QCOMPARE(QByteArray(text.data(), int(text.size())), file.readAll());
}

void tst_Policy::platformValues()
{
    S *s = session->settings();
    QSignalSpy configModeChanged(s, &S::configModeChanged);
    QSignalSpy distributionChanged(s, &S::forceDistributionDecodeChanged);
    Vdp::tagControlPolicy policy = brokerPolicy();
    policy.videoDecode = 7;

    s->setControlPolicy(policy);

    QCOMPARE(s->getVideoMode(), 3);
    QCOMPARE(s->getVideoModeGw(), 4);
    QCOMPARE(s->getForceEnableVideoMode(), true);
    QCOMPARE(s->jpegQualityPlatform(), 85);
    QCOMPARE(s->jpegQuality(), 95);
    QCOMPARE(int(s->vgpuDecodeTypePlatform()), 7);
    QCOMPARE(videoPolicyObject(s).value(QStringLiteral("videoDecode")).toInt(), 7);
    QCOMPARE(videoPolicyObject(s).value(QStringLiteral("forceEnableVideoMode")).toInt(), 19);
    QCOMPARE(configModeChanged.count(), 0);
    QCOMPARE(distributionChanged.count(), 0);
}

void tst_Policy::effectiveVideoMode_data()
{
    QTest::addColumn<S::StreamControlType>("streamMode");
    QTest::addColumn<int>("serverType");
    QTest::addColumn<int>("forceEnable");
    QTest::addColumn<int>("actual");

    // The platform asks for video mode 1, its gateway for 3.
    QTest::newRow("stream mode wins")            << S::TYPE_STREAM_HD     << 0 << 0 << 2;
    QTest::newRow("stream mode wins on gateway") << S::TYPE_STREAM_OFFICE << 1 << 0 << 0;
    QTest::newRow("no stream mode, gateway")     << S::TYPE_STREAM_NONE   << 1 << 0 << 3;
    QTest::newRow("no stream mode, direct")      << S::TYPE_STREAM_NONE   << 0 << 0 << 1;
    QTest::newRow("no stream mode, other type")  << S::TYPE_STREAM_NONE   << 2 << 0 << 1;
    QTest::newRow("forced, direct")              << S::TYPE_STREAM_HD     << 0 << 1 << 1;
    QTest::newRow("forced, gateway")             << S::TYPE_STREAM_HD     << 1 << 1 << 3;
    QTest::newRow("forced by any non-zero")      << S::TYPE_STREAM_ALWAYS << 1 << 5 << 3;
}

void tst_Policy::effectiveVideoMode()
{
    QFETCH(S::StreamControlType, streamMode);
    QFETCH(int, serverType);
    QFETCH(int, forceEnable);
    QFETCH(int, actual);

    session->d()->mStreamMode_ = streamMode;
    session->d()->mServerType_ = Vdp::ServerType(serverType);
    Vdp::tagControlPolicy policy = brokerPolicy();
    policy.videoMode = 1;
    policy.videoModeGw = 3;
    policy.forceEnableVideoMode = forceEnable;
    session->log().clear();

    session->settings()->setControlPolicy(policy);

    QCOMPARE(session->settings()->getVideoModeActual(), actual);
    QCOMPARE(session->settings()->getForceEnableVideoMode(), forceEnable != 0);
    QCOMPARE(session->log().messages().size(), 2);
    QVERIFY2(session->log().contains(spdlog::level::info, QStringLiteral("video mode: forceEnableVideoMode: %1, videoModeGw: 3, videoMode:1")
                                                              .arg(forceEnable ? "true" : "false")),
             qPrintable(session->log().dump()));
    QVERIFY2(session->log().contains(spdlog::level::info, QStringLiteral("video mode: stream_control_value:%1, videoModeActual:%2")
                                                              .arg(int(streamMode)).arg(actual)),
             qPrintable(session->log().dump()));
}

void tst_Policy::configMode_data()
{
    QTest::addColumn<bool>("unified");
    QTest::addColumn<int>("forceDistributionDecode");
    QTest::addColumn<S::ConfigMode>("before");
    QTest::addColumn<S::ConfigMode>("after");
    QTest::addColumn<bool>("forced");

    QTest::newRow("not unified")              << false << 1 << S::ConfigModePreDefine  << S::ConfigModeUserDefine << true;
    QTest::newRow("unified, forced")          << true  << 1 << S::ConfigModeUserDefine << S::ConfigModePreDefine  << true;
    QTest::newRow("unified, not forced, user") << true << 0 << S::ConfigModeUserDefine << S::ConfigModeUserDefine << false;
    QTest::newRow("unified, not forced, platform") << true << 0 << S::ConfigModePreDefine << S::ConfigModePreDefine << false;
    QTest::newRow("unified, 2 is not forced") << true  << 2 << S::ConfigModeUserDefine << S::ConfigModeUserDefine << false;
}

void tst_Policy::configMode()
{
    QFETCH(bool, unified);
    QFETCH(int, forceDistributionDecode);
    QFETCH(S::ConfigMode, before);
    QFETCH(S::ConfigMode, after);
    QFETCH(bool, forced);

    S *s = session->settings();
    session->d()->mPlatformUnifiedConfig_ = unified;
    session->d()->mConfigMode_ = before;
    Vdp::tagControlPolicy policy = brokerPolicy();
    policy.forceDistributionDecode = forceDistributionDecode;

    s->setControlPolicy(policy);

    QCOMPARE(s->configMode(), after);
    QCOMPARE(s->forceDistributionDecode(), forced);
    const QJsonObject text = videoPolicyObject(s);
    QCOMPARE(text.value(QStringLiteral("forceDistributionDecode")).toInt(), forceDistributionDecode);
    // The user's quality goes along exactly when the user's choices are in force.
    QCOMPARE(text.contains(QStringLiteral("jpeg_quality")), after == S::ConfigModeUserDefine);
    if (after == S::ConfigModeUserDefine)
        QCOMPARE(text.value(QStringLiteral("jpeg_quality")).toInt(), 95);
    QCOMPARE(text.size(), after == S::ConfigModeUserDefine ? 36 : 35);
}

void tst_Policy::imageCompressionInverted_data()
{
    QTest::addColumn<int>("policyValue");
    QTest::addColumn<int>("platform");

    QTest::newRow("0 is JPEG")     << 0 << int(S::TYPE_COMPRESS_JPEG);
    QTest::newRow("1 is lossless") << 1 << int(S::TYPE_COMPRESS_LOSSLESS);
    QTest::newRow("2 becomes 3")   << 2 << 3;
}

void tst_Policy::imageCompressionInverted()
{
    QFETCH(int, policyValue);
    QFETCH(int, platform);

    Vdp::tagControlPolicy policy = brokerPolicy();
    policy.image_compression_mode = policyValue;
    session->settings()->setControlPolicy(policy);

    QCOMPARE(int(session->settings()->imgCompressPlatform()), platform);
    QCOMPARE(videoPolicyObject(session->settings()).value(QStringLiteral("image_compression_mode")).toInt(), policyValue);
}

void tst_Policy::upmAndRateLimitor()
{
    S *s = session->settings();
    Vdp::tagControlPolicy policy = brokerPolicy();
    policy.ratelimitorPolicy = "{\"name\":\"研发部限速\",\"uplink\":2048}";
    s->setControlPolicy(policy);
    QCOMPARE(s->isEnableUpmPolicy(), true);
    QCOMPARE(s->getRateLimitorPolicy(), QStringLiteral("{\"name\":\"研发部限速\",\"uplink\":2048}"));

    policy.ratelimitorPolicy.clear();
    policy.enableUpmPolicy = false;
    s->setControlPolicy(policy);
    QCOMPARE(s->isEnableUpmPolicy(), false);
    QCOMPARE(s->getRateLimitorPolicy(), QString());
}

void tst_Policy::secondCallReplaces()
{
    S *s = session->settings();
    session->d()->mPlatformUnifiedConfig_ = false;
    s->setControlPolicy(brokerPolicy());
    QVERIFY(videoPolicyObject(s).contains(QStringLiteral("jpeg_quality")));

    Vdp::tagControlPolicy second;
    second.bitrate_wz264 = 4000;
    second.jpeg_quality = 60;
    second.image_compression_mode = 1;
    session->d()->mPlatformUnifiedConfig_ = true;
    session->d()->mConfigMode_ = S::ConfigModePreDefine;
    s->setControlPolicy(second);

    const QJsonObject text = videoPolicyObject(s);
    QCOMPARE(text.size(), 35);
    QVERIFY(!text.contains(QStringLiteral("jpeg_quality")));
    QCOMPARE(text.value(QStringLiteral("bitrate_wz264")).toInt(), 4000);
    QCOMPARE(text.value(QStringLiteral("videoModeGw")).toInt(), 0);
    QCOMPARE(s->jpegQualityPlatform(), 60);
    QCOMPARE(s->imgCompressPlatform(), S::TYPE_COMPRESS_LOSSLESS);
    QCOMPARE(s->isEnableUpmPolicy(), false);
    QCOMPARE(s->getRateLimitorPolicy(), QString());
}

void tst_Policy::vmAddrsReplaced()
{
    S *s = session->settings();
    const std::vector<Vdp::tagVMAddress> five{
        {"52:54:00:3a:7f:10", {"10.12.40.21", "fe80::5054:ff:fe3a:7f10"}},
        {"52:54:00:3a:7f:11", {"10.12.41.21"}},
        {"52:54:00:3a:7f:12", {}},
        {"52:54:00:3a:7f:13", {"192.168.122.14"}},
        {"52:54:00:3a:7f:14", {"172.16.8.3", "172.16.8.4"}},
    };
    const std::vector<Vdp::tagVMAddress> three{
        {"52:54:00:9c:01:aa", {"10.20.0.7"}},
        {"52:54:00:9c:01:ab", {}},
        {"52:54:00:9c:01:ac", {"10.20.2.7", "10.20.2.8"}},
    };

    s->setVMAddrs(five);
    QCOMPARE(s->vmAddrs().size(), std::size_t(5));
    s->setVMAddrs(three);

    const std::vector<Vdp::tagVMAddress> stored = s->vmAddrs();
    QCOMPARE(stored.size(), three.size());
    for (std::size_t i = 0; i < three.size(); ++i) {
        QCOMPARE(stored[i].mac, three[i].mac);
        QCOMPARE(stored[i].lstIps, three[i].lstIps);
    }

    s->setVMAddrs({});
    QVERIFY(s->vmAddrs().empty());
}

void tst_Policy::vmmacFallback()
{
    S *s = session->settings();
    s->setVMAddrs({{"52:54:00:3a:7f:10", {"10.12.40.21"}}, {"52:54:00:3a:7f:11", {}}});
    QCOMPARE(s->vmmac(), QStringLiteral("52:54:00:3a:7f:10"));
    session->d()->mVmMac_ = QStringLiteral("00:50:56:a1:02:3c");
    QCOMPARE(s->vmmac(), QStringLiteral("00:50:56:a1:02:3c"));
    session->d()->mVmMac_.clear();
    s->setVMAddrs({});
    QCOMPARE(s->vmmac(), QString());
}

void tst_Policy::iplistFallback()
{
    S *s = session->settings();
    s->setVMAddrs({{"52:54:00:3a:7f:10", {"10.12.40.21", "10.12.40.22"}},
                   {"52:54:00:3a:7f:11", {}},
                   {"52:54:00:3a:7f:12", {"10.12.41.9", "10.12.40.21"}}});

    const QStringList all{"10.12.40.21", "10.12.40.22", "10.12.41.9", "10.12.40.21"};
    QCOMPARE(s->iplist(), all);
    QVERIFY(session->d()->mIpList_.isEmpty());

    s->setVMAddrs({{"52:54:00:3a:7f:13", {"192.168.122.14"}}});
    QCOMPARE(s->iplist(), QStringList{"192.168.122.14"});

    session->d()->mIpList_ = QStringList{"10.12.50.3"};
    QCOMPARE(s->iplist(), QStringList{"10.12.50.3"});
}

void tst_Policy::operatorPolicy_data()
{
    QTest::addColumn<int>("platformUnifiedConfig");
    QTest::addColumn<bool>("unified");

    QTest::newRow("0 is unified")    << 0 << true;
    QTest::newRow("1 is not")        << 1 << false;
    QTest::newRow("2 is not either") << 2 << false;
}

void tst_Policy::operatorPolicy()
{
    QFETCH(int, platformUnifiedConfig);
    QFETCH(bool, unified);

    S *s = session->settings();
    session->d()->mPlatformUnifiedConfig_ = !unified;
    const QVector<int> before = members(s->getVMOperator());

    Vdp::tagVMOperator op;
    op.shutdown = 1;
    op.snapshot = 1;
    op.platformUnifiedConfig = platformUnifiedConfig;
    op.videoQuality = 2;
    s->setOperatorPolicy(op);

    QCOMPARE(s->platformUnifiedConfig(), unified);
    QCOMPARE(members(s->getVMOperator()), before);
}

void tst_Policy::freshDefaults()
{
    S *s = session->settings();
    QCOMPARE(members(s->getVMOperator()), (QVector<int>{0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(s->rdpClipboardPolicy(), 0);
    QVERIFY(s->videoPolicy().empty());
    QVERIFY(s->vmAddrs().empty());
    QCOMPARE(s->iplist(), QStringList());
}

QTEST_GUILESS_MAIN(tst_Policy)
#include "tst_policy.moc"
