#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest/QtTest>

using S = VdSessionSettings;

static QJsonObject parse(const QByteArray &json) { return QJsonDocument::fromJson(json).object(); }

class tst_LegacyReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Read twice into a record that already holds a few values, and compared with the golden dump: the
    // lists are appended to on every load; the VM identifier only names the session; a few members
    // are fixed whatever the document says, not carried by this layout, or not applied by this
    // reader. The fixture's screens: 1 with blanks around, 2 and 3 with three and five pieces, 4
    // twice, one without an id and with odd pieces, and one that is not an object; screen 5 is not named.
    void completeDocumentTwice()
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
        QCOMPARE(d->mGeometrys_, (QMap<int, QRect>{{0, QRect(-1280, 0, 0, 1024)}, {1, QRect(0, 0, 1920, 1080)},
                                                   {4, QRect(1920, 0, 2560, 1440)}, {5, QRect(3840, 0, 1920, 1200)}}));
        COMPARE_GOLDEN(session.dump(), "legacy/complete-twice.json");
    }

    void fallbacks_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("logLevel");
        QTest::addColumn<S::WindowMode>("windowMode");
        QTest::addColumn<S::AutoBreakTime>("autoBreak");
        QTest::addColumn<bool>("kept");

        // In "elsewhere" each key sits at the top level or where the current layout keeps it;
        // in "odd types" each is present with another type, which counts as present.
        QTest::newRow("empty")               << QByteArray("{}")                                                                                          << 5  << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_5M << true;
        QTest::newRow("1, single, above")    << QByteArray(R"({"basic settings": {"log level": 1, "auto break second times": 7}, "window mode": 0})")  << 4  << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_NO << true;
        QTest::newRow("5, multi vdp, below") << QByteArray(R"({"basic settings": {"log level": 5, "auto break second times": -1}, "window mode": 2})") << 0  << S::MultiVdpWindowMode << S::AUTO_BREAK_TIME_NO << true;
        QTest::newRow("9, highest")          << QByteArray(R"({"basic settings": {"log level": 9, "auto break second times": 4}})")                    << -4 << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_NO << true;
        QTest::newRow("text, 1h")            << QByteArray(R"({"basic settings": {"log level": "1", "auto break second times": 3}})")                  << 5  << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_1H << true;
        QTest::newRow("elsewhere")           << QByteArray(R"({"basic settings": {"LogLevel": 1, "certPath": "D:/cert.pem"}, "vdsession settings": {"window mode": 2, "usbConfigInfo": "", "vm": {"name": "wangfang@corp"}}, "stream_control_value": 0, "render_type": 0, "render_flag": 0, "usbConfigInfo": ""})")
                                             << 5 << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_5M << true;
        QTest::newRow("odd types")           << QByteArray(R"({"basic settings": {"usbConfigInfo": 5}, "vdsession settings": {"certPath": "", "stream_control_value": null, "render_type": null, "render_flag": "4"}})")
                                             << 5 << S::MultiSDLWindowMode << S::AUTO_BREAK_TIME_5M << false;
    }

    void fallbacks()
    {
        QFETCH(QByteArray, document);
        QFETCH(int, logLevel);
        QFETCH(S::WindowMode, windowMode);
        QFETCH(S::AutoBreakTime, autoBreak);
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
        QCOMPARE(d->mUsbConfigs_, kept ? QStringLiteral("0951:1666:1") : QString());
        QCOMPARE((QList<int>{d->mStreamMode_, d->mImageRenderType_, d->mSDLRenderFlag_}), (kept ? QList<int>{1, 2, 8} : QList<int>{0, 0, 0}));
        // The login name is no fallback for the user name.
        QCOMPARE(d->mCurrentUsername_, QString());
        QCOMPARE(d->mCertPath_, QCoreApplication::applicationDirPath() + QStringLiteral("/config/grpcserver.pem"));
    }
};

QTEST_GUILESS_MAIN(tst_LegacyReader)
#include "tst_legacyreader.moc"
