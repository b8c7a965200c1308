#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest/QtTest>

using S = VdSessionSettings;
using Geometries = QMap<int, QRect>;

namespace {

QJsonObject parse(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad test document: %s", qPrintable(error.errorString()));
    return document.object();
}

QJsonObject completeDocument()
{
    QFile file(QFINDTESTDATA("data/legacy/complete.vdp"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no fixture data/legacy/complete.vdp");
    return parse(file.readAll());
}

} // namespace

class tst_LegacyReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void readsEveryKey();
    void logLevelIsInverted_data();
    void logLevelIsInverted();
    void fixedValues_data();
    void fixedValues();
    void windowMode_data();
    void windowMode();
    void autoBreakRange_data();
    void autoBreakRange();
    void keptWhenAbsent();
    void readWhenPresent();
    void geometries_data();
    void geometries();
    void certificateFallback_data();
    void certificateFallback();
    void addressObjectForm();
    void leavesVmUuidAndVideoPolicy();
    void listsGrowOnEveryLoad();

private:
    std::unique_ptr<TestSession> session;
};

void tst_LegacyReader::readsEveryKey()
{
    session->settings()->fromOldJson(completeDocument());
    const VdSessionSettingsPrivate *d = session->d();

    QCOMPARE(d->mLogLevel_, 4);
    QCOMPARE(d->mWindowStyle_, S::Window);
    QCOMPARE(d->mCalderwynId_, QStringLiteral("CW-20231107-0042"));
    QCOMPARE(d->mSkin_, QStringLiteral("blue"));
    QCOMPARE(d->mIsThinClient_, true);
    QCOMPARE(d->mIsOpenLdap_, 1);
    QCOMPARE(d->mUsbConfigs_, QStringLiteral("0781:5581:1;046d:c52b:0"));
    QCOMPARE(d->mAutoBreakSecondTimes_, S::AUTO_BREAK_TIME_30M);
    QCOMPARE(d->mClientType_, Vdp::ClientType(3));
    QCOMPARE(d->mComputerType_, Vdp::ComputerType(2));

    QCOMPARE(d->mCurrentUsername_, QStringLiteral("wangfang"));
    QCOMPARE(d->mPassword_, QStringLiteral("Passw0rd!2023"));
    QCOMPARE(d->mCurrentNickname_, QStringLiteral("Wang Fang"));
    QCOMPARE(d->mLoginName_, QStringLiteral("wangfang@corp"));
    QCOMPARE(d->mSpicePassword_, QStringLiteral("kT9#vQ2m"));
    QCOMPARE(d->mDomain_, QStringLiteral("corp.calderwyn.local"));

    QCOMPARE(d->mCertPath_, QStringLiteral("C:\\Program Files (x86)\\Calderwyn\\VdSession\\config\\grpcserver.pem"));
    QCOMPARE(d->mIsMultiScreen_, true);
    QCOMPARE(d->mServerIp_, QStringLiteral("10.20.30.40"));
    QCOMPARE(d->mIsWebSSOLogin_, 1);
    QCOMPARE(d->mH5ClientUuid_, QStringLiteral("6f1c2d3e-8a9b-4c7d-9e0f-1a2b3c4d5e6f"));
    QCOMPARE(d->mUuid_, QStringLiteral("10.20.30.40-4b8e2f1c-9a37-4d2e-b6c1-0f5a8e3d7c21"));
    QCOMPARE(d->mProgramType_, S::RdpVM);
    QCOMPARE(d->mProtocol_, QStringLiteral("rdp"));
    QCOMPARE(d->mServerPort_, 8443);
    QCOMPARE(d->mServerType_, Vdp::ServerType(1));
    QCOMPARE(d->mIsShowMinimize_, true);
    QCOMPARE(d->mStreamMode_, S::TYPE_STREAM_HD);
    QCOMPARE(d->mImageRenderType_, 1);
    QCOMPARE(d->mSDLRenderFlag_, 4);
    QCOMPARE(d->mMouseMode_, S::SERVER_MODE);
    QCOMPARE(d->mGeometrys_, (Geometries{{0, QRect(0, 0, 1920, 1080)}, {1, QRect(-1280, 120, 1280, 1024)}}));

    QCOMPARE(d->mOsType_, 2);
    QCOMPARE(d->mOsVersion_, QStringLiteral("Windows 10 Enterprise 21H2"));
    QCOMPARE(d->mVmName_, QStringLiteral("WIN10-DEV-017"));
    QCOMPARE(d->mRateLimitorPolicy_, QStringLiteral("{\"downstream\":8192,\"upstream\":2048}"));
    QCOMPARE(d->mRdpClipboardPolicy_, 3);
    QCOMPARE(d->mIpList_, (QStringList{"172.16.8.17", "192.168.122.17"}));
    QCOMPARE(d->mVmMac_, QString());
    QCOMPARE(d->mVmAddrs_.size(), size_t(2));
    QCOMPARE(d->mVmAddrs_[0].mac, std::string("52:54:00:12:34:56"));
    QCOMPARE(d->mVmAddrs_[0].lstIps, (std::vector<std::string>{"172.16.8.17", "fe80::5054:ff:fe12:3456"}));
    QCOMPARE(d->mVmAddrs_[1].mac, std::string("52:54:00:ab:cd:ef"));
    QCOMPARE(d->mVmAddrs_[1].lstIps, std::vector<std::string>{"192.168.122.17"});

    const Vdp::tagVMOperator &op = d->mVmOperator_;
    const QVector<int> permissions{op.backHome, op.clientCtrlAltDel, op.clientOccupy, op.disconnection,
                                   op.interactShutdown, op.logoutUser, op.modifyName, op.multiDynamicDesktop,
                                   op.networkDetection, op.powerOff, op.powerOffReboot, op.reboot, op.shutdown,
                                   op.snapshot};
    QCOMPARE(permissions, (QVector<int>{1, 0, 1, 0, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1}));
    // Those two drive other settings and are not permissions.
    QCOMPARE(op.platformUnifiedConfig, 0);
    QCOMPARE(op.videoQuality, 0);

    QCOMPARE(d->mWindowMode_, S::MultiVdpWindowMode);
    QCOMPARE(d->mRenderMode_, S::RenderModeTotal);
    QCOMPARE(d->mRenderSystemMode_, S::RenderSystemXCB);

    // Keys of the current layout that the legacy one does not carry stay as they were.
    QCOMPARE(d->mToolbarStyle_, 0);
    QCOMPARE(d->mRdrVmName_, QStringLiteral("DefaultFocusConnect"));

    QVERIFY2(session->log().contains(spdlog::level::info, QStringLiteral("user name: wangfang")), qPrintable(session->log().dump()));
    QVERIFY(session->log().containsQt(QtInfoMsg, QStringLiteral("read geometrys : ")));
    QCOMPARE(session->log().countQt(QtInfoMsg, QStringLiteral("render mode : ")), 1);
    const QString renderLine = session->log().qtMessages().last().text;
    QVERIFY2(renderLine.contains(QStringLiteral("RenderModeTotal")) && renderLine.contains(QStringLiteral("RenderSystemXCB")),
             qPrintable(renderLine));
}

void tst_LegacyReader::logLevelIsInverted_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("stored");

    QTest::newRow("1 is 4")          << QByteArray(R"({"basic settings": {"log level": 1}})")   << 4;
    QTest::newRow("5 is 0")          << QByteArray(R"({"basic settings": {"log level": 5}})")   << 0;
    QTest::newRow("no range check")  << QByteArray(R"({"basic settings": {"log level": 9}})")   << -4;
    QTest::newRow("missing is 5")    << QByteArray(R"({"basic settings": {}})")                 << 5;
    QTest::newRow("a string is 5")   << QByteArray(R"({"basic settings": {"log level": "1"}})") << 5;
    QTest::newRow("current key")     << QByteArray(R"({"basic settings": {"LogLevel": 1}})")    << 5;
}

void tst_LegacyReader::logLevelIsInverted()
{
    QFETCH(QByteArray, document);
    QFETCH(int, stored);

    session->settings()->fromOldJson(parse(document));
    QCOMPARE(session->d()->mLogLevel_, stored);
}

void tst_LegacyReader::fixedValues_data()
{
    QTest::addColumn<QByteArray>("document");

    QTest::newRow("empty") << QByteArray("{}");
    QTest::newRow("document says otherwise")
        << QByteArray(R"({"basic settings": {"isAutoHideToolbar": false, "IsMMR": true, "IsSSO": false},
                          "vdsession settings": {"vm": {"poolType": "7"}, "poolType": "7"}})");
}

void tst_LegacyReader::fixedValues()
{
    QFETCH(QByteArray, document);

    VdSessionSettingsPrivate *d = session->d();
    d->mIsAutoHideToolbar_ = false;
    d->mIsMMR_ = true;
    d->mIsSSO_ = false;
    d->mPoolType_ = Vdp::PoolType(7);

    session->settings()->fromOldJson(parse(document));
    QCOMPARE(d->mIsAutoHideToolbar_, true);
    QCOMPARE(d->mIsMMR_, false);
    QCOMPARE(d->mIsSSO_, true);
    QCOMPARE(d->mPoolType_, Vdp::PoolType(1));
}

void tst_LegacyReader::windowMode_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<S::WindowMode>("stored");

    QTest::newRow("missing")             << QByteArray("{}")                                   << S::MultiSDLWindowMode;
    QTest::newRow("single is replaced")  << QByteArray(R"({"window mode": 0})")               << S::MultiSDLWindowMode;
    QTest::newRow("kept")                << QByteArray(R"({"window mode": 2})")               << S::MultiVdpWindowMode;
    QTest::newRow("in the wrong group")  << QByteArray(R"({"vdsession settings": {"window mode": 2}})") << S::MultiSDLWindowMode;
}

void tst_LegacyReader::windowMode()
{
    QFETCH(QByteArray, document);
    QFETCH(S::WindowMode, stored);

    session->settings()->fromOldJson(parse(document));
    QCOMPARE(session->d()->mWindowMode_, stored);
    // The render mode falls back to this machine's default.
    QCOMPARE(session->d()->mRenderMode_, S::RenderModePart);
    QCOMPARE(session->d()->mRenderSystemMode_, S::RenderSystemDEFAULT);
}

void tst_LegacyReader::autoBreakRange_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<S::AutoBreakTime>("stored");
    QTest::addColumn<bool>("reported");

    QTest::newRow("above")   << QByteArray(R"({"basic settings": {"auto break second times": 7}})")  << S::AUTO_BREAK_TIME_NO << true;
    QTest::newRow("below")   << QByteArray(R"({"basic settings": {"auto break second times": -1}})") << S::AUTO_BREAK_TIME_NO << true;
    QTest::newRow("highest") << QByteArray(R"({"basic settings": {"auto break second times": 4}})")  << S::AUTO_BREAK_TIME_NO << false;
    QTest::newRow("kept")    << QByteArray(R"({"basic settings": {"auto break second times": 3}})")  << S::AUTO_BREAK_TIME_1H << false;
    QTest::newRow("missing") << QByteArray("{}")                                                      << S::AUTO_BREAK_TIME_5M << false;
}

void tst_LegacyReader::autoBreakRange()
{
    QFETCH(QByteArray, document);
    QFETCH(S::AutoBreakTime, stored);
    QFETCH(bool, reported);

    const QString message = QStringLiteral("vdp autoBreakSecondTimes parameter is error, now use AUTO_BREAK_TIME_NO");
    session->d()->mAutoBreakSecondTimes_ = S::AUTO_BREAK_TIME_15M;
    session->settings()->fromOldJson(parse(document));
    QCOMPARE(session->d()->mAutoBreakSecondTimes_, stored);
    QCOMPARE(session->log().count(spdlog::level::info, message), reported ? 1 : 0);
    // Unlike the current layout's reader, this one reports it through spdlog only.
    QVERIFY(!session->log().containsQt(QtInfoMsg, message));
}

void tst_LegacyReader::keptWhenAbsent()
{
    VdSessionSettingsPrivate *d = session->d();
    d->mUsbConfigs_ = QStringLiteral("0951:1666:1");
    d->mStreamMode_ = S::TYPE_STREAM_VIDEO;
    d->mImageRenderType_ = 2;
    d->mSDLRenderFlag_ = 8;
    d->mGeometrys_ = {{0, QRect(10, 20, 1000, 900)}, {2, QRect(3840, 0, 1920, 1200)}};

    // The keys at the top level or in the current layout's places do not count.
    session->settings()->fromOldJson(parse(R"({"stream_control_value": 0, "render_type": 0, "render_flag": 0,
        "usbConfigInfo": "", "vdsession settings": {"usbConfigInfo": "",
        "geometrys": [{"id": 1, "geometry": "0,0,1280,1024"}]}})"));

    QCOMPARE(d->mUsbConfigs_, QStringLiteral("0951:1666:1"));
    QCOMPARE(d->mStreamMode_, S::TYPE_STREAM_VIDEO);
    QCOMPARE(d->mImageRenderType_, 2);
    QCOMPARE(d->mSDLRenderFlag_, 8);
    QCOMPARE(d->mGeometrys_, (Geometries{{0, QRect(10, 20, 1000, 900)}, {1, QRect(0, 0, 1280, 1024)},
                                         {2, QRect(3840, 0, 1920, 1200)}}));
    QCOMPARE(session->log().count(spdlog::level::info, QStringLiteral("render_type is not defined")), 1);
    QCOMPARE(session->log().count(spdlog::level::info, QStringLiteral("render_flag is not defined")), 1);
}

void tst_LegacyReader::readWhenPresent()
{
    VdSessionSettingsPrivate *d = session->d();
    d->mUsbConfigs_ = QStringLiteral("0951:1666:1");
    d->mStreamMode_ = S::TYPE_STREAM_VIDEO;
    d->mImageRenderType_ = 2;
    d->mSDLRenderFlag_ = 8;

    // Present with another type counts as present and gives the default.
    session->settings()->fromOldJson(parse(R"({"basic settings": {"usbConfigInfo": 5},
        "vdsession settings": {"stream_control_value": null, "render_type": null, "render_flag": "4"}})"));

    QCOMPARE(d->mUsbConfigs_, QString());
    QCOMPARE(d->mStreamMode_, S::TYPE_STREAM_OFFICE);
    QCOMPARE(d->mImageRenderType_, 0);
    QCOMPARE(d->mSDLRenderFlag_, 0);
    QVERIFY(!session->log().contains(spdlog::level::info, QStringLiteral("render_type is not defined")));
    QVERIFY(!session->log().contains(spdlog::level::info, QStringLiteral("render_flag is not defined")));
}

void tst_LegacyReader::geometries_data()
{
    QTest::addColumn<QByteArray>("elements");
    QTest::addColumn<Geometries>("stored");

    const QRect initial;
    QTest::newRow("blanks around")
        << QByteArray(R"([{"id": 1, "geometry": "  0,0,1920,1080 "}])")
        << Geometries{{0, initial}, {1, QRect(0, 0, 1920, 1080)}};
    QTest::newRow("three pieces skipped")
        << QByteArray(R"([{"id": 1, "geometry": "0,0,1920"}, {"id": 2, "geometry": "0,0,1920,1080,"}])")
        << Geometries{{0, initial}};
    QTest::newRow("same id twice, later wins")
        << QByteArray(R"([{"id": 1, "geometry": "0,0,1920,1080"}, {"id": 1, "geometry": "1920,0,2560,1440"}])")
        << Geometries{{0, initial}, {1, QRect(1920, 0, 2560, 1440)}};
    QTest::newRow("missing id is screen 0")
        << QByteArray(R"([{"geometry": "100,50,1000,801"}])")
        << Geometries{{0, QRect(100, 50, 1000, 801)}};
    QTest::newRow("pieces that are not integers")
        << QByteArray(R"([{"id": 3, "geometry": "-1920,,wide,1080"}])")
        << Geometries{{0, initial}, {3, QRect(-1920, 0, 0, 1080)}};
    QTest::newRow("element not an object")
        << QByteArray(R"(["0,0,1920,1080", 7])")
        << Geometries{{0, initial}};
}

void tst_LegacyReader::geometries()
{
    QFETCH(QByteArray, elements);
    QFETCH(Geometries, stored);

    session->settings()->fromOldJson(parse("{\"vdsession settings\": {\"geometrys\": " + elements + "}}"));
    QCOMPARE(session->d()->mGeometrys_, stored);
}

void tst_LegacyReader::certificateFallback_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("fallback");

    QTest::newRow("missing")         << QByteArray("{}")                                                 << true;
    QTest::newRow("empty")           << QByteArray(R"({"vdsession settings": {"certPath": ""}})")         << true;
    QTest::newRow("not a string")    << QByteArray(R"({"vdsession settings": {"certPath": 1}})")          << true;
    QTest::newRow("in basic")        << QByteArray(R"({"basic settings": {"certPath": "D:/cert.pem"}})")  << true;
    QTest::newRow("given")           << QByteArray(R"({"vdsession settings": {"certPath": "D:/cert.pem"}})") << false;
}

void tst_LegacyReader::certificateFallback()
{
    QFETCH(QByteArray, document);
    QFETCH(bool, fallback);

    session->settings()->fromOldJson(parse(document));
    const QString expected = fallback ? QCoreApplication::applicationDirPath() + QStringLiteral("/config/grpcserver.pem")
                                      : QStringLiteral("D:/cert.pem");
    QCOMPARE(session->d()->mCertPath_, expected);
    QVERIFY2(session->log().contains(spdlog::level::info, QStringLiteral("cerpath initial result: ") + expected),
             qPrintable(session->log().dump()));
}

void tst_LegacyReader::addressObjectForm()
{
    session->settings()->fromOldJson(parse(R"({"vdsession settings": {"vm": {"vm": {
        "lstAddresses": {"mac": "52:54:00:9a:bc:de", "lstIps": ["172.16.8.30"]}}}}})"));
    QCOMPARE(session->d()->mVmMac_, QStringLiteral("52:54:00:9a:bc:de"));
    QVERIFY(session->d()->mVmAddrs_.empty());
}

void tst_LegacyReader::leavesVmUuidAndVideoPolicy()
{
    VdSessionSettingsPrivate *d = session->d();
    d->mVmUuid_ = "0e6d1c9a-launcher";
    d->mVideoMode_ = 3;
    d->mVideoModeGw_ = 2;
    d->mForceEnableVideoMode_ = false;
    d->mVideoModeActual_ = 3;
    d->mVideoPolicy_ = "{}";

    // The document carries a VM identifier, a video policy and a new stream mode.
    session->settings()->fromOldJson(completeDocument());
    QCOMPARE(d->mVmUuid_, std::string("0e6d1c9a-launcher"));
    QCOMPARE(d->mVideoMode_, 3);
    QCOMPARE(d->mVideoModeGw_, 2);
    QCOMPARE(d->mForceEnableVideoMode_, false);
    QCOMPARE(d->mVideoModeActual_, 3);
    QCOMPARE(d->mVideoPolicy_, std::string("{}"));
}

void tst_LegacyReader::listsGrowOnEveryLoad()
{
    session->settings()->fromOldJson(completeDocument());
    session->settings()->fromOldJson(completeDocument());
    const VdSessionSettingsPrivate *d = session->d();
    QCOMPARE(d->mIpList_, (QStringList{"172.16.8.17", "192.168.122.17", "172.16.8.17", "192.168.122.17"}));
    QCOMPARE(d->mVmAddrs_.size(), size_t(4));
    QCOMPARE(d->mVmAddrs_[2].mac, std::string("52:54:00:12:34:56"));
    QCOMPARE(d->mGeometrys_.size(), 2);
}

QTEST_GUILESS_MAIN(tst_LegacyReader)
#include "tst_legacyreader.moc"
