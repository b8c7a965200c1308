#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QSignalSpy>
#include <QtTest/QtTest>

using S = VdSessionSettings;

// A broker policy in which no two members of the video policy text agree, so a value written
// under the wrong key shows. The values stand in the record's member order; the fixture texts
// under data/policy name each of them by its key.
const Vdp::tagControlPolicy brokerPolicy{5, 6, 7, 8, 30, 33, 8000, 9000, 6000, 7000, 10000, 16000, 12000, 250, 300, 42, 45, 1500, 9, 0,
                                         10, 85, 11, 12, 2, 1, 14, 15, 16, 17, 18, 3, 4, 19, 20, 21, "{\"name\":\"研发部限速\"}", true};

class tst_Policy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // Each row sets what the session file and the operator policy decided before the broker's policy
    // comes: the stream mode, the server type, the operator's platformUnifiedConfig and the
    // configuration mode. The policy is the broker policy above with three members changed. The
    // platform asks for video mode 3, its gateway for 4. A fixture names the exact video policy text.
    void controlPolicy_data()
    {
        QTest::addColumn<S::StreamControlType>("streamMode");
        QTest::addColumn<int>("serverType");
        QTest::addColumn<int>("operatorUnified");
        QTest::addColumn<S::ConfigMode>("before");
        QTest::addColumn<int>("forceEnable");
        QTest::addColumn<int>("forceDistribution");
        QTest::addColumn<int>("compression");
        QTest::addColumn<int>("actual");
        QTest::addColumn<S::ConfigMode>("after");
        QTest::addColumn<int>("platformCompression");
        QTest::addColumn<QString>("fixture");

        QTest::newRow("user's choices, forced, direct")         << S::TYPE_STREAM_HD     << 0 << 1 << S::ConfigModePreDefine  << 19 << 1 << 0 << 3 << S::ConfigModeUserDefine << int(S::TYPE_COMPRESS_JPEG)     << "videopolicy-user.json";
        QTest::newRow("platform's choices, gateway")            << S::TYPE_STREAM_NONE   << 1 << 0 << S::ConfigModeUserDefine << 19 << 1 << 0 << 4 << S::ConfigModePreDefine  << int(S::TYPE_COMPRESS_JPEG)     << "videopolicy-platform.json";
        QTest::newRow("stream mode 0 wins, 0 keeps platform's") << S::TYPE_STREAM_OFFICE << 1 << 0 << S::ConfigModePreDefine  << 0  << 0 << 1 << 0 << S::ConfigModePreDefine  << int(S::TYPE_COMPRESS_LOSSLESS) << "";
        QTest::newRow("no stream mode, 0 keeps user's")         << S::TYPE_STREAM_NONE   << 0 << 0 << S::ConfigModeUserDefine << 0  << 0 << 2 << 3 << S::ConfigModeUserDefine << 3                              << "";
        QTest::newRow("other server type, 2 is not forced")     << S::TYPE_STREAM_NONE   << 2 << 0 << S::ConfigModeUserDefine << 0  << 2 << 0 << 3 << S::ConfigModeUserDefine << int(S::TYPE_COMPRESS_JPEG)     << "";
        QTest::newRow("forced by 5, operator's 2 not unified")  << S::TYPE_STREAM_ALWAYS << 1 << 2 << S::ConfigModePreDefine  << 5  << 0 << 0 << 4 << S::ConfigModeUserDefine << int(S::TYPE_COMPRESS_JPEG)     << "";
    }

    void controlPolicy()
    {
        QFETCH(S::StreamControlType, streamMode);
        QFETCH(int, serverType);
        QFETCH(int, operatorUnified);
        QFETCH(S::ConfigMode, before);
        QFETCH(int, forceEnable);
        QFETCH(int, forceDistribution);
        QFETCH(int, compression);
        QFETCH(int, actual);
        QFETCH(S::ConfigMode, after);
        QFETCH(int, platformCompression);
        QFETCH(QString, fixture);

        // An earlier policy, with the user's choices in force, that the row's policy must replace.
        S *s = session->settings();
        QSignalSpy configModeChanged(s, &S::configModeChanged);
        session->d()->mPlatformUnifiedConfig_ = false;
        s->setControlPolicy(brokerPolicy);
        QCOMPARE(s->getRateLimitorPolicy(), QStringLiteral("{\"name\":\"研发部限速\"}"));

        session->d()->mStreamMode_ = streamMode;
        session->d()->mServerType_ = Vdp::ServerType(serverType);
        session->d()->mConfigMode_ = before;
        s->setOperatorPolicy({1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, operatorUnified, 2});
        Vdp::tagControlPolicy policy = brokerPolicy;
        policy.forceEnableVideoMode = forceEnable;
        policy.forceDistributionDecode = forceDistribution;
        policy.image_compression_mode = compression;
        policy.ratelimitorPolicy.clear();
        policy.enableUpmPolicy = false;
        s->setControlPolicy(policy);

        QCOMPARE(s->getVideoModeActual(), actual);
        QCOMPARE(s->configMode(), after);
        QCOMPARE(int(s->imgCompressPlatform()), platformCompression);
        QCOMPARE(s->jpegQualityPlatform(), 85);
        QCOMPARE(s->vgpuDecodeTypePlatform(), S::Auto_VgpuDecode_TYPE);
        QCOMPARE(s->getRateLimitorPolicy(), QString());
        QCOMPARE(s->isEnableUpmPolicy(), false);
        QCOMPARE(s->getVMOperator().disconnection, 1);
        QCOMPARE(configModeChanged.count(), 0);

        // The user's quality goes along exactly when the user's choices are in force.
        const QByteArray text = QByteArray::fromStdString(s->videoPolicy());
        QCOMPARE(text.contains("\"jpeg_quality\": 95"), after == S::ConfigModeUserDefine);
        if (!fixture.isEmpty())
            QCOMPARE(text, session->readFile(QFINDTESTDATA("data/policy/" + fixture)));
    }

    // Each setVMAddrs replaces the list; vmmac and iplist fall back on it.
    void addresses()
    {
        session->settings()->setVMAddrs({{"52:54:00:3a:7f:10", {"10.12.40.21"}}, {"52:54:00:3a:7f:11", {}}});
        session->settings()->setVMAddrs({{"52:54:00:9c:01:aa", {"10.20.0.7", "10.20.0.8"}}, {"52:54:00:9c:01:ab", {"10.20.1.7"}}});
        QCOMPARE(session->settings()->vmmac(), QStringLiteral("52:54:00:9c:01:aa"));
        QCOMPARE(session->settings()->iplist(), (QStringList{"10.20.0.7", "10.20.0.8", "10.20.1.7"}));

        session->d()->mVmMac_ = QStringLiteral("00:50:56:a1:02:3c");
        session->d()->mIpList_ = QStringList{"10.12.50.3"};
        QCOMPARE(session->settings()->vmmac(), QStringLiteral("00:50:56:a1:02:3c"));
        QCOMPARE(session->settings()->iplist(), QStringList{"10.12.50.3"});
    }

private:
    std::unique_ptr<TestSession> session;
};

QTEST_GUILESS_MAIN(tst_Policy)
#include "tst_policy.moc"
