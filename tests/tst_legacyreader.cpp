#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest/QtTest>

using S = VdSessionSettings;
using Geometries = QMap<int, QRect>;

static QJsonObject parse(const QByteArray &json) { return QJsonDocument::fromJson(json).object(); }

class tst_LegacyReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void completeDocumentTwice();
    void fallbacks_data();
    void fallbacks();
};

void tst_LegacyReader::completeDocumentTwice()
{
    TestSession session;
    VdSessionSettingsPrivate *d = session.d();
    d->mIsSSO_ = false;
    d->mVmUuid_ = "0e6d1c9a-launcher";
    d->mVideoMode_ = 3;
    d->mGeometrys_ = {{5, QRect(3840, 0, 1920, 1200)}};
    const QJsonObject document = parse(session.readFile(QFINDTESTDATA("data/legacy/complete.vdp")));
    session.settings()->fromOldJson(document);
    session.settings()->fromOldJson(document);

    // One key per group and type; the VM identifier only names the session.
    QCOMPARE((QStringList{d->mSkin_, d->mLoginName_, d->mUuid_, d->mVmName_, d->mRateLimitorPolicy_, QString::fromStdString(d->mVmUuid_)}),
             (QStringList{"blue", "wangfang@corp", "10.20.30.40-4b8e2f1c-9a37-4d2e-b6c1-0f5a8e3d7c21", "WIN10-DEV-017", "{\"downstream\":8192,\"upstream\":2048}", "0e6d1c9a-launcher"}));
    const Vdp::tagVMOperator &op = d->mVmOperator_;
    QCOMPARE((QList<int>{d->mIsThinClient_, d->mIsMultiScreen_, d->mServerPort_, d->mImageRenderType_, d->mMouseMode_, d->mRdpClipboardPolicy_, op.disconnection, op.snapshot}),
             (QList<int>{1, 1, 8443, 1, S::SERVER_MODE, 3, 0, 1}));
    // Fixed whatever the document says, or not carried by this layout, or not applied by this reader.
    QCOMPARE((QList<int>{d->mIsAutoHideToolbar_, d->mIsMMR_, d->mIsSSO_, d->mPoolType_, op.platformUnifiedConfig, d->mToolbarStyle_, d->mVideoMode_}),
             (QList<int>{1, 0, 1, 1, 0, 0, 3}));
    // The lists are appended to on every load.
    QCOMPARE(d->mIpList_, (QStringList{"172.16.8.17", "192.168.122.17", "172.16.8.17", "192.168.122.17"}));
    QCOMPARE(d->mVmAddrs_.size(), size_t(4));
    QCOMPARE(d->mVmAddrs_[3].lstIps, std::vector<std::string>{"192.168.122.17"});
    QCOMPARE(session.log().count(spdlog::level::info, QStringLiteral("user name: wangfang")), 2);
    // The fixture's screens: 1 with blanks around, 2 and 3 with three and five pieces, 4 twice,
    // one without an id and with odd pieces, and one that is not an object; screen 5 is not named.
    QCOMPARE(d->mGeometrys_, (Geometries{{0, QRect(-1280, 0, 0, 1024)}, {1, QRect(0, 0, 1920, 1080)},
                                         {4, QRect(1920, 0, 2560, 1440)}, {5, QRect(3840, 0, 1920, 1200)}}));
}

void tst_LegacyReader::fallbacks_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("logLevel");
    QTest::addColumn<S::WindowMode>("windowMode");
    QTest::addColumn<S::AutoBreakTime>("autoBreak");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("kept");

    // In "elsewhere" each key sits at the top level or where the current layout keeps it;
    // in "odd types" each is present with another type, which counts as present.
    QTest::newRow("empty")               << QByteArray("{}")                                                                                          << 5  << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_5M << false << true;
    QTest::newRow("1, single, above")    << QByteArray(R"({"basic settings": {"log level": 1, "auto break second times": 7}, "window mode": 0})")  << 4  << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_NO << true  << true;
    QTest::newRow("5, multi vdp, below") << QByteArray(R"({"basic settings": {"log level": 5, "auto break second times": -1}, "window mode": 2})") << 0  << S::MultiVdpWindowMode << S::AUTO_BREAK_TIME_NO << true  << true;
    QTest::newRow("9, highest")          << QByteArray(R"({"basic settings": {"log level": 9, "auto break second times": 4}})")                    << -4 << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_NO << false << true;
    QTest::newRow("text, 1h")            << QByteArray(R"({"basic settings": {"log level": "1", "auto break second times": 3}})")                  << 5  << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_1H << false << true;
    QTest::newRow("elsewhere")           << QByteArray(R"({"basic settings": {"LogLevel": 1, "certPath": "D:/cert.pem"}, "vdsession settings": {"window mode": 2, "usbConfigInfo": "", "vm": {"name": "wangfang@corp"}}, "stream_control_value": 0, "render_type": 0, "render_flag": 0, "usbConfigInfo": ""})")
                                         << 5 << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_5M << false << true;
    QTest::newRow("odd types")           << QByteArray(R"({"basic settings": {"usbConfigInfo": 5}, "vdsession settings": {"certPath": "", "stream_control_value": null, "render_type": null, "render_flag": "4"}})")
                                         << 5 << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_5M << false << false;
}

void tst_LegacyReader::fallbacks()
{
    QFETCH(QByteArray, document);
    QFETCH(int, logLevel);
    QFETCH(S::WindowMode, windowMode);
    QFETCH(S::AutoBreakTime, autoBreak);
    QFETCH(bool, reported);
    QFETCH(bool, kept);

    TestSession session;
    VdSessionSettingsPrivate *d = session.d();
    d->mAutoBreakSecondTimes_ = S::AUTO_BREAK_TIME_15M;
    d->mUsbConfigs_ = QStringLiteral("0951:1666:1");
    d->mStreamMode_ = S::TYPE_STREAM_VIDEO;
    d->mImageRenderType_ = 2;
    d->mSDLRenderFlag_ = 8;
    session.settings()->fromOldJson(parse(document));

    QCOMPARE(d->mLogLevel_, logLevel);
    QCOMPARE(d->mWindowMode_, windowMode);
    QCOMPARE(d->mRenderMode_, S::RenderModePart);
    QCOMPARE(d->mAutoBreakSecondTimes_, autoBreak);
    QCOMPARE(session.log().count(spdlog::level::info, "vdp autoBreakSecondTimes parameter is error, now use AUTO_BREAK_TIME_NO"), reported ? 1 : 0);
    QCOMPARE(d->mUsbConfigs_, kept ? QStringLiteral("0951:1666:1") : QString());
    QCOMPARE((QList<int>{d->mStreamMode_, d->mImageRenderType_, d->mSDLRenderFlag_}), (kept ? QList<int>{1, 2, 8} : QList<int>{0, 0, 0}));
    QCOMPARE(session.log().count(spdlog::level::info, "render_flag is not defined"), kept ? 1 : 0);
    // The login name is no fallback for the user name.
    QVERIFY(session.log().contains(spdlog::level::info, "user name: "));
    QCOMPARE(d->mCertPath_, QCoreApplication::applicationDirPath() + QStringLiteral("/config/grpcserver.pem"));
    QVERIFY(session.log().contains(spdlog::level::info, "cerpath initial result: " + d->mCertPath_));
}

QTEST_GUILESS_MAIN(tst_LegacyReader)
#include "tst_legacyreader.moc"
