#include <vdsessionsettings/vdsessionsettings.h>

#include "private/jsonvalue_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/currentreader_p.h"
#include "settingsdump.h"
#include "testsession.h"

#include <QJsonDocument>
#include <QtTest/QtTest>

using S = VdSessionSettings;

namespace {

QJsonObject parse(const QByteArray &json) { return QJsonDocument::fromJson(json).object(); }

const QString launcherFile = QStringLiteral("VdSession-5d0c7a2e-91b4-4f6e-a3c8-2b7e19f04d6a.vdp");
const QString sessionFileName = QStringLiteral("VdSession-7c2a9e41.vdp");

// A link as the portal hands it over (the token ends in Base64 padding), and the same link with one text changed.
const QString tok = "eyJhbGciOiJSUzI1NiJ9.eyJzdWIiOiJhbGljZSJ9.kR3vQx8L==", ip = "10.20.30.40", vm = "6f1c2a9e", h5 = "0b9e7c1d", id = ip + '-' + vm;
const QString portalLink = "https://portal.example.com/evoked-download/?token=" + tok + "&serverIp=" + ip + "&serverPort=443&vmUuid=" + vm + "&h5ClientUuid=" + h5 + "&multiscreen=true";
QString with(const QString &from, const QString &to) { return QString(portalLink).replace(from, to); }

} // namespace

// Where a session comes from: the session file (its reader chosen, the previous file inherited,
// each layout's reader, the writer) or the portal's link.
class tst_SessionLoader : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSession> session;

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // The path is kept whatever happens, also for deleting the file; a file that cannot be read or
    // parsed changes nothing else; the legacy marker alone, whatever its value, chooses the reader
    // (which takes no "serverPort" from "vm settings"), and the writer's marker skips inheriting.
    void load_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("serverPort");

        QTest::newRow("missing file")    << QByteArray()                                                                   << false << 8860;
        QTest::newRow("plain text")      << QByteArray("Session expired.\n")                                               << false << 8860;
        QTest::newRow("NUL inside")      << QByteArray("{\"a\":1}\0{", 9)                                                  << false << 8860;
        QTest::newRow("current layout")  << QByteArray(R"({"vm settings":{"serverPort":8443}})")                           << true  << 8443;
        QTest::newRow("legacy marker")   << QByteArray(R"({"vdsession settings":null,"vm settings":{"serverPort":8443}})") << true  << 0;
        QTest::newRow("top-level array") << QByteArray(R"([{"vm settings":{"serverPort":8443}}])")                         << true  << 0;
    }
    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loaded);
        QFETCH(int, serverPort);

        const QString path = session->workDir() + "/VdSession-0b7e.vdp";
        if (!content.isNull())
            session->writeFile(path, content);
        QCOMPARE(session->settings()->loadFromVdp(path), loaded);
        QCOMPARE(session->settings()->getVdpPath(), path);
        QCOMPARE(int(session->settings()->serverPort()), serverPort);

        session->settings()->deleteVdpFile();
        session->settings()->deleteVdpFile();
        QVERIFY(!QFile::exists(path));
    }

    // The previous session's file lies beside the session file, named after its middle part. Its
    // stream mode is taken before anything else is read, and it is removed once read; a file that
    // cannot be read stays. Files named otherwise, or marked as saved before, have no previous file.
    void inherit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("previous"); // beside the session file as abc-2.vdp; empty: none, "/": a folder
        QTest::addColumn<int>("streamMode");
        QTest::addColumn<bool>("stays");

        const QString name = "data/VdSession-abc.vdp", hd = "previous-stream-hd.vdp";
        QTest::newRow("stream mode")       << name                     << hd                            << int(S::TYPE_STREAM_HD)    << false;
        QTest::newRow("bare file name")    << "VdSession-abc.vdp"      << hd                            << int(S::TYPE_STREAM_HD)    << false;
        QTest::newRow("no stream mode")    << name                     << "previous-without-stream.vdp" << int(S::TYPE_STREAM_VIDEO) << false;
        QTest::newRow("none")              << name                     << ""                            << int(S::TYPE_STREAM_VIDEO) << false;
        QTest::newRow("malformed")         << name                     << "plain-text.vdp"              << int(S::TYPE_STREAM_VIDEO) << true;
        QTest::newRow("unreadable")        << name                     << "/"                           << int(S::TYPE_STREAM_VIDEO) << true;
        QTest::newRow("lower-case prefix") << "data/vdsession-abc.vdp" << hd                            << int(S::TYPE_STREAM_VIDEO) << true;
        QTest::newRow("inherited before")  << "data/VdSession-abc.vdp" << hd                            << int(S::TYPE_STREAM_VIDEO) << true;
#ifdef Q_OS_WIN
        // Windows' own separator, as a launcher there names the file.
        QTest::newRow("backslashes")       << "data\\VdSession-abc.vdp" << hd                          << int(S::TYPE_STREAM_HD)    << false;
#endif
    }
    void inherit()
    {
        QFETCH(QString, name);
        QFETCH(QString, previous);
        QFETCH(int, streamMode);
        QFETCH(bool, stays);

        const QString previousPath = QFileInfo(name).path() + "/abc-2.vdp";
        if (previous == "/")
            QDir(session->workDir()).mkpath(previousPath);
        else if (!previous.isEmpty())
            session->copyFixture(QFINDTESTDATA("data/current/" + previous), previousPath);
        session->copyFixture(QFINDTESTDATA("data/current/session-without-stream.vdp"), name);
        if (QByteArray(QTest::currentDataTag()) == "inherited before")
            session->writeFile(name, R"({"inherit old vdp":1})");
        session->d()->mStreamMode_ = S::TYPE_STREAM_VIDEO;

        QVERIFY(session->settings()->loadFromVdp(name));
        QCOMPARE(int(session->settings()->streamMode()), streamMode);
        QCOMPARE(session->settings()->getVideoModeActual(), streamMode); // chosen after inheriting
        QCOMPARE(QFileInfo::exists(previousPath), stays);
    }

    // Each row loads the launcher's file as the session program does, then, when the row names
    // one, a second file into the same record, and compares every setting with the row's golden
    // dump. The writer's file names few keys; the rest is reset, except what the launcher writes
    // only when it has something to say, where null counts as said. The same file twice lists
    // twice. The last three hold values of other types than the keys', numbers at and beyond the
    // ends of their ranges, and addresses that are not objects. No listener hears of either read.
    void fixtures_data()
    {
        QTest::addColumn<QString>("then");

        QTest::newRow("launcher")              << QString();
        QTest::newRow("launcher-twice")        << launcherFile;
        QTest::newRow("rewritten-sparse")      << QString("rewritten-sparse.vdp");
        QTest::newRow("optional-keys-null")    << QString("optional-keys-null.vdp");
        QTest::newRow("operator-permissions")  << QString("operator-permissions.vdp");
        QTest::newRow("mistyped-values")       << QString("mistyped-values.vdp");
        QTest::newRow("edge-values")           << QString("edge-values.vdp");
        QTest::newRow("limit-values")          << QString("limit-values.vdp");
        // One rule of the video policy each: the gateway's video mode unless the stream mode is
        // chosen and nothing forces it; the platform's or the user's quality by the configuration
        // mode, which forced distribution or the operator's unified configuration (1 only) decide.
        QTest::newRow("video-mode-of-gateway") << QString("video-mode-of-gateway.vdp");
        QTest::newRow("stream-mode-wins")      << QString("stream-mode-wins.vdp");
        QTest::newRow("forced-video-mode")     << QString("forced-video-mode.vdp");
        QTest::newRow("platform-quality")      << QString("platform-quality.vdp");
        QTest::newRow("user-quality")          << QString("user-quality.vdp");
        QTest::newRow("forced-distribution")   << QString("forced-distribution.vdp");
        QTest::newRow("platform-not-unified")  << QString("platform-not-unified.vdp");
        QTest::newRow("unified-only-for-0")    << QString("unified-only-for-0.vdp");
    }
    void fixtures()
    {
        QFETCH(QString, then);

        SignalLog signalLog(session->settings());
        QVERIFY(session->settings()->loadFromVdp(session->copyFixture(QFINDTESTDATA("data/current/" + launcherFile), launcherFile)));
        if (!then.isEmpty())
            session->settings()->fromJson(parse(session->readFile(QFINDTESTDATA("data/current/" + then))));
        QCOMPARE(signalLog.take(), QStringList());
        COMPARE_GOLDEN(session->dump(), "current/" + QString(QTest::currentDataTag()) + ".json");
    }

    // An observer hears of every key the pass takes, and the record ends up as it does without one.
    void observerChangesNothing()
    {
        const QJsonObject document = parse(R"({"inherit old vdp":1,"es frequency":"60","basic settings":{"display4KType":9},"vm settings":{"serverPort":443}})");
        struct : JsonObserver {
            QStringList paths;
            QJsonValue lookup(const JsonLookup &lookup) override { paths << lookup.path.pointer(); return lookup.found; }
        } observer;
        readCurrentLayout(session->d(), JsonGroup(document, &observer), VdSessionSettings::RenderModePart);
        const QByteArray withObserver = session->dump();
        session->restart();
        session->settings()->fromJson(document);
        QCOMPARE(session->dump(), withObserver);
        QVERIFY(observer.paths.contains("/basic settings/display4KType") && observer.paths.contains("/es frequency"));
    }

    // Read twice into a record that already holds a few values, and compared with the golden dump: the
    // lists are appended to on every load; the VM identifier only names the session; a few members
    // are fixed whatever the document says, not carried by this layout, or not applied by this
    // reader. The fixture's screens: 1 with blanks around, 2 and 3 with three and five pieces, 4
    // twice, one without an id and with odd pieces, and one that is not an object; screen 5 is not named.
    void legacyDocumentTwice()
    {
        VdSessionSettingsPrivate *d = session->d();
        d->mIsSSO_ = false;
        d->mVmUuid_ = "0e6d1c9a-launcher";
        d->mVideoMode_ = 3;
        d->mGeometrys_ = {{5, QRect(3840, 0, 1920, 1200)}};
        const QJsonObject document = parse(session->readFile(QFINDTESTDATA("data/legacy/complete.vdp")));
        session->settings()->fromOldJson(document);
        session->settings()->fromOldJson(document);
        QCOMPARE(d->mGeometrys_, (QMap<int, QRect>{{0, QRect(-1280, 0, 0, 1024)}, {1, QRect(0, 0, 1920, 1080)},
                                                   {4, QRect(1920, 0, 2560, 1440)}, {5, QRect(3840, 0, 1920, 1200)}}));
        COMPARE_GOLDEN(session->dump(), "legacy/complete-twice.json");
    }

    // The fallbacks of the legacy reader, and the members it empties only when the document has
    // their keys: the USB configuration, the stream mode, the image render type and SDL flag.
    void legacyFallbacks_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("expected"); // log level, window mode, auto break time, those members

        // In "elsewhere" each key sits at the top level or where the current layout keeps it;
        // in "odd types" each is present with another type, which counts as present.
        QTest::newRow("empty")               << QByteArray("{}")                                                                                          << "5 MultiSDLWindowMode AUTO_BREAK_TIME_5M kept";
        QTest::newRow("1, single, above")    << QByteArray(R"({"basic settings": {"log level": 1, "auto break second times": 7}, "window mode": 0})")  << "4 MultiSDLWindowMode AUTO_BREAK_TIME_NO kept";
        QTest::newRow("5, multi vdp, below") << QByteArray(R"({"basic settings": {"log level": 5, "auto break second times": -1}, "window mode": 2})") << "0 MultiVdpWindowMode AUTO_BREAK_TIME_NO kept";
        QTest::newRow("9, highest")          << QByteArray(R"({"basic settings": {"log level": 9, "auto break second times": 4}})")                    << "-4 MultiSDLWindowMode AUTO_BREAK_TIME_NO kept";
        QTest::newRow("text, 1h")            << QByteArray(R"({"basic settings": {"log level": "1", "auto break second times": 3}})")                  << "5 MultiSDLWindowMode AUTO_BREAK_TIME_1H kept";
        QTest::newRow("elsewhere")           << QByteArray(R"({"basic settings": {"LogLevel": 1, "certPath": "D:/cert.pem"}, "vdsession settings": {"window mode": 2, "usbConfigInfo": "", "vm": {"name": "wangfang@corp"}}, "stream_control_value": 0, "render_type": 0, "render_flag": 0, "usbConfigInfo": ""})")
                                             << "5 MultiSDLWindowMode AUTO_BREAK_TIME_5M kept";
        QTest::newRow("odd types")           << QByteArray(R"({"basic settings": {"usbConfigInfo": 5}, "vdsession settings": {"certPath": "", "stream_control_value": null, "render_type": null, "render_flag": "4"}})")
                                             << "5 MultiSDLWindowMode AUTO_BREAK_TIME_5M emptied";
    }
    void legacyFallbacks()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, expected);

        VdSessionSettingsPrivate *d = session->d();
        d->mAutoBreakSecondTimes_ = S::AUTO_BREAK_TIME_15M;
        d->mUsbConfigs_ = QStringLiteral("0951:1666:1");
        d->mStreamMode_ = S::TYPE_STREAM_VIDEO;
        d->mImageRenderType_ = 2;
        d->mSDLRenderFlag_ = 8;
        session->settings()->fromOldJson(parse(document));

        const QString members = d->mUsbConfigs_ + QStringLiteral(" %1 %2 %3").arg(d->mStreamMode_).arg(d->mImageRenderType_).arg(d->mSDLRenderFlag_);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(d->mLogLevel_).arg(QMetaEnum::fromType<S::WindowMode>().valueToKey(d->mWindowMode_))
                     .arg(QMetaEnum::fromType<S::AutoBreakTime>().valueToKey(d->mAutoBreakSecondTimes_))
                     .arg(members == "0951:1666:1 1 2 8" ? "kept" : members == " 0 0 0" ? "emptied" : members), expected);
        QCOMPARE(d->mRenderMode_, S::RenderModePart);
        // The login name is no fallback for the user name.
        QCOMPARE(d->mCurrentUsername_, QString());
        QCOMPARE(d->mCertPath_, QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + '/') + QStringLiteral("config/grpcserver.pem"));
    }

    // What saveToVdp() writes, and what it leaves alone.
    void choicesComeBack()
    {
        const QString path = session->copyFixture(QFINDTESTDATA("data/writer/complete.vdp"), sessionFileName);
        S *s = session->settings();
        QVERIFY(s->loadFromVdp(path));
        s->setImgCompress(S::TYPE_COMPRESS_JPEG);
        s->setVgpuDecodeType(S::Auto_VgpuDecode_TYPE);
        s->setVgpuQPType(S::VgpuQPType_L);
        s->setJpegQuality(70);
        s->setMouseMode(S::SERVER_MODE);
        // Replaces the file's 2; 0 is a choice like any other.
        s->setStreamMode(S::TYPE_STREAM_OFFICE);
        s->setWindowMode(S::MultiVdpWindowMode);
        s->setRenderMode(S::RenderModeTotal);
        s->setGeometry(QRect(0, 0, 1920, 1080), 0);
        s->setGeometry(QRect(-1280, 120, 1280, 1024), 1);
        s->setDisplayRes(QSize(2560, 1440));
        // Saved where no reader takes it back, or not saved at all.
        s->setToolbarStyle(2);
        s->setRenderSystemMode(S::RenderSystemSDL);
        s->setEsFrequency(300);

        s->saveToVdp();
        // Every other key, the launcher's own included, comes back as it was.
        const QJsonObject saved = parse(session->readFile(path));
        QVERIFY2(saved == parse(session->readFile(QFINDTESTDATA("data/writer/saved.vdp"))), QJsonDocument(saved).toJson().constData());

        // Read back into a fresh record, the choices return; the toolbar style and the render system do not.
        session->restart();
        QVERIFY(s->loadFromVdp(path));
        COMPARE_GOLDEN(session->dump(), "writer/reloaded.json");
    }

    void legacyFileKeepsItsGroups()
    {
        const QString path = session->copyFixture(QFINDTESTDATA("data/legacy/complete.vdp"), sessionFileName);
        QVERIFY(session->settings()->loadFromVdp(path));
        const QJsonObject original = parse(session->readFile(path));
        // No stream mode chosen, and the file has one only inside "vdsession settings".
        session->settings()->setStreamMode(S::TYPE_STREAM_NONE);
        session->settings()->saveToVdp();

        const QJsonObject saved = parse(session->readFile(path));
        for (const char *group : {"basic settings", "user settings", "vdsession settings"})
            QVERIFY2(saved.value(group) == original.value(group), group);
        QVERIFY(!saved.contains("stream_control_value"));
        QCOMPARE(saved.value("inherit old vdp"), QJsonValue(1));
    }

    void unreadableFileLeftAlone()
    {
        const QString path = session->copyFixture(QFINDTESTDATA("data/writer/complete.vdp"), sessionFileName);
        QVERIFY(session->settings()->loadFromVdp(path));
        session->writeFile(path, "session ended");
        session->settings()->saveToVdp();
        QCOMPARE(session->readFile(path), QByteArray("session ended"));

        session->settings()->deleteVdpFile();
        session->settings()->saveToVdp();
        QVERIFY(!QFile::exists(path));
    }

    void webLink_data()
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

    void webLink()
    {
        QFETCH(bool, accepted);
        QFETCH(int, signalCount);
        QFETCH(QStringList, stored);
        QFETCH(QString, link);

        S *s = session->settings();
        VdSessionSettingsPrivate *d = session->d();
        d->mSkin_ = QStringLiteral("classic");
        SignalLog signalLog(s);

        QCOMPARE(s->loadFromWeb(link), accepted);

        QCOMPARE((QStringList{d->mToken_, d->mServerIp_, QString::number(d->mServerPort_), d->mUuid_, QString::fromStdString(d->mVmUuid_),
                              d->mH5ClientUuid_, d->mIsMultiScreen_ ? "true" : "false", d->mSkin_}), stored);
        QCOMPARE(signalLog.take().size(), signalCount);

        // Only an accepted link brings the web-launch profile.
        QCOMPARE((QList<int>{s->isStartByWeb(), d->mAutoBreakSecondTimes_, d->mRenderSystemMode_}),
                 (accepted ? QList<int>{true, S::AUTO_BREAK_TIME_NO, S::RenderSystemSDL} : QList<int>{false, S::AUTO_BREAK_TIME_5M, S::RenderSystemDEFAULT}));

        // A rejected link after an accepted one leaves the start from the web in force.
        s->loadFromWeb(portalLink);
        s->loadFromWeb(link);
        QVERIFY(s->isStartByWeb());
    }
};

QTEST_GUILESS_MAIN(tst_SessionLoader)
#include "tst_sessionloader.moc"
