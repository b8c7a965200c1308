#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QtTest/QtTest>

using S = VdSessionSettings;

// A link as the portal hands it over (the token ends in Base64 padding), and the same link with one text changed.
static const QString tok = "eyJhbGciOiJSUzI1NiJ9.eyJzdWIiOiJhbGljZSJ9.kR3vQx8L==", ip = "10.20.30.40", vm = "6f1c2a9e", h5 = "0b9e7c1d", id = ip + '-' + vm;
static const QString portalLink = "https://portal.example.com/evoked-download/?token=" + tok + "&serverIp=" + ip + "&serverPort=443&vmUuid=" + vm + "&h5ClientUuid=" + h5 + "&multiscreen=true";
static QString with(const QString &from, const QString &to) { return QString(portalLink).replace(from, to); }

class tst_WebLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void load_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("signalCount"); // change signals of every kind
        QTest::addColumn<QStringList>("stored"); // token, address, port, session id, VM, web client, multi-screen, skin ("classic" before)
        QTest::addColumn<QString>("link");

        //                                          accepted sig stored                                                                                    link
        QTest::newRow("six parameters")          << true  << 2 << QStringList{tok, ip, "443", id, vm, h5, "true", "classic"}                             << portalLink;
        QTest::newRow("seven parameters")        << true  << 3 << QStringList{tok, ip, "443", id, vm, h5, "false", "dark"}                               << with("=true", "=false&theme=dark");
        QTest::newRow("text before the names")   << true  << 2 << QStringList{tok, ip, "443", id, vm, h5, "true", "classic"}                             << with("https://portal.example.com/evoked-download/?", "vdclient://launch?").replace("&vm", "&desktop.vm");
        QTest::newRow("token repeated")          << true  << 2 << QStringList{tok, ip, "443", id, vm, h5, "true", "classic"}                             << with("==&", "==token=e30.&");
        QTest::newRow("IPv6 address and a =")    << true  << 2 << QStringList{tok, "fe80::1", "443", "fe80--1-" + vm, vm, h5, "true", "classic"}         << with(ip, "fe80::1=x");
        QTest::newRow("percent escapes")         << true  << 2 << QStringList{tok, "fe80%3A%3A1", "443", "fe80%3A%3A1-" + vm, vm, h5, "true", "classic"} << with(ip, "fe80%3A%3A1");
        QTest::newRow("port above 65535")        << true  << 2 << QStringList{tok, ip, "4464", id, vm, h5, "true", "classic"}                            << with("443", "70000");
        QTest::newRow("multiscreen True")        << true  << 2 << QStringList{tok, ip, "443", id, vm, h5, "false", "classic"}                            << with("=true", "=True");
        QTest::newRow("multiscreen 1")           << true  << 2 << QStringList{tok, ip, "443", id, vm, h5, "false", "classic"}                            << with("=true", "=1");
        QTest::newRow("empty values")            << true  << 3 << QStringList{"", "", "0", "-", "", "", "false", ""}                                     << "evoked-download/?token=&serverIp=&serverPort=&vmUuid=&h5ClientUuid=&multiscreen=&theme=";
        // Rejected at the first piece out of place; what the pieces before it stored stays.
        QTest::newRow("five parameters")         << false << 0 << QStringList{"", "", "8860", "", "", "", "false", "classic"}                            << with("&multiscreen=true", "");
        QTest::newRow("eight parameters")        << false << 0 << QStringList{"", "", "8860", "", "", "", "false", "classic"}                            << portalLink + "&theme=dark&lang=en";
        QTest::newRow("token misnamed")          << false << 0 << QStringList{"", "", "8860", "", "", "", "false", "classic"}                            << with("token=", "tokn=");
        QTest::newRow("port before address")     << false << 0 << QStringList{tok, "", "8860", "", "", "", "false", "classic"}                           << with("serverIp=" + ip + "&serverPort=443", "serverPort=443&serverIp=" + ip);
        QTest::newRow("port named port")         << false << 1 << QStringList{tok, ip, "8860", "", "", "", "false", "classic"}                           << with("serverPort=", "port=");
        QTest::newRow("VM capitalised")          << false << 2 << QStringList{tok, ip, "443", "", "", "", "false", "classic"}                            << with("vmUuid=", "VmUuid=");
        QTest::newRow("web client misnamed")     << false << 2 << QStringList{tok, ip, "443", id, vm, "", "false", "classic"}                            << with("h5ClientUuid=", "clientUuid=");
        QTest::newRow("multiScreen capitalised") << false << 2 << QStringList{tok, ip, "443", id, vm, h5, "false", "classic"}                            << with("multiscreen=", "multiScreen=");
        QTest::newRow("skin instead of theme")   << false << 2 << QStringList{tok, ip, "443", id, vm, h5, "true", "classic"}                             << portalLink + "&skin=dark";
    }

    void load()
    {
        QFETCH(bool, accepted);
        QFETCH(int, signalCount);
        QFETCH(QStringList, stored);
        QFETCH(QString, link);

        TestSession session;
        S *s = session.settings();
        VdSessionSettingsPrivate *d = session.d();
        d->mSkin_ = QStringLiteral("classic");
        SignalLog signalLog(s);

        QCOMPARE(s->loadFromWeb(link), accepted);

        QCOMPARE((QStringList{d->mToken_, d->mServerIp_, QString::number(d->mServerPort_), d->mUuid_, QString::fromStdString(d->mVmUuid_),
                              d->mH5ClientUuid_, d->mIsMultiScreen_ ? "true" : "false", d->mSkin_}), stored);
        QCOMPARE(signalLog.take().size(), signalCount);

        // Only an accepted link brings the web-launch profile.
        QCOMPARE(s->isStartByWeb(), accepted);
        QCOMPARE(d->mAutoBreakSecondTimes_, accepted ? S::AUTO_BREAK_TIME_NO : S::AUTO_BREAK_TIME_5M);
        QCOMPARE(d->mRenderSystemMode_, accepted ? S::RenderSystemSDL : S::RenderSystemDEFAULT);

        // A rejected link after an accepted one leaves the start from the web in force.
        s->loadFromWeb(portalLink);
        s->loadFromWeb(link);
        QVERIFY(s->isStartByWeb());
    }
};

QTEST_GUILESS_MAIN(tst_WebLaunch)
#include "tst_weblaunch.moc"
