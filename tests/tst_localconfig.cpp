#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QSignalSpy>
#include <QtTest/QtTest>

using S = VdSessionSettings;

class tst_LocalConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    // "version.ini" stands beside the test program, outside the case's own folders.
    void cleanup() { QFile::remove(versionPath()); session.reset(); }

    void version_data();
    void version();
    void videoDecoders_data();
    void videoDecoders();
    void serverType_data();
    void serverType();
    void serverTypeOfOddFiles_data();
    void serverTypeOfOddFiles();

    void certificateFromServer_data();
    void certificateFromServer();
    void recordCertificateChoice_data();
    void recordCertificateChoice();
    void resetCertPath();
    void curServerArchStaysX86();

private:
    static QString versionPath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/version.ini"); }
    QString decodersPath() const
    {
        return session->documents() + '/' + QCoreApplication::applicationName() + QStringLiteral("/decoders.ini");
    }
    QString knownServersPath() const { return session->documents() + QStringLiteral("/Calderwyn/settings.ini"); }
    QString certificateSettingsPath() const { return session->documents() + QStringLiteral("/VdSession/vdisettings.ini"); }
    QString newCertificatePath() const { return session->documents() + QStringLiteral("/cert/calderwyn_cert.pem"); }
    // Starts afresh with the per-user settings of the fixture, as a new session would find them.
    void startWithCertificateSettings()
    {
        session->copyFixture(QFINDTESTDATA("data/localconfig/vdisettings.ini"), certificateSettingsPath());
        session->restart();
    }

    std::unique_ptr<TestSession> session;
};

void tst_LocalConfig::version_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("version");

    QTest::newRow("blanks and a tab") << "data/localconfig/version.ini" << "  V6.4.2\tR1187  " << "V6.4.2 R1187";
    QTest::newRow("no file")          << ""                             << ""                  << "";
}

void tst_LocalConfig::version()
{
    QFETCH(QString, fixture);
    QFETCH(QString, stored);
    QFETCH(QString, version);

    if (!fixture.isEmpty())
        session->copyFixture(QFINDTESTDATA(fixture), versionPath());

    QCOMPARE(session->settings()->version(), version);
    QCOMPARE(session->log().messages().size(), 2);
    QVERIFY(session->log().contains(spdlog::level::debug, QStringLiteral("versionFile is ") + versionPath()));
    QVERIFY(session->log().contains(spdlog::level::info, QStringLiteral("version is ") + stored));
}

void tst_LocalConfig::videoDecoders_data()
{
    QTest::addColumn<QString>("fixture"); // empty: no "decoders.ini" yet
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QByteArray>("fileAfter"); // empty: the fixture, unchanged
    QTest::addColumn<QString>("logged");

    const QStringList dxva{"DXVA"};
    const QStringList two{"D3D11VA", "DXVA"};

    QTest::newRow("first use")          << ""                                          << dxva << dxva << QByteArray("[VIDEO_DECODERS]\nDECODERS=DXVA\n")          << "videoDecoders: size:1";
    QTest::newRow("first use, changed") << ""                                          << two  << two  << QByteArray("[VIDEO_DECODERS]\nDECODERS=D3D11VA, DXVA\n") << "videoDecoders: size:2";
    QTest::newRow("two decoders")       << "data/localconfig/decoders-two.ini"         << dxva << two  << QByteArray() << "videoDecoders: size:2";
    QTest::newRow("one replaces all")   << "data/localconfig/decoders-one.ini"         << two  << QStringList{"NVDEC"} << QByteArray() << "videoDecoders: size:1";
    QTest::newRow("key in other group") << "data/localconfig/decoders-other-group.ini" << dxva << QStringList() << QByteArray() << "videoDecoders is empty";
}

void tst_LocalConfig::videoDecoders()
{
    QFETCH(QString, fixture);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QByteArray, fileAfter);
    QFETCH(QString, logged);

    if (!fixture.isEmpty()) {
        session->copyFixture(QFINDTESTDATA(fixture), decodersPath());
        fileAfter = session->readFile(decodersPath());
    }
    session->d()->mVideoDecoders_ = before;

    session->settings()->readVideoDecoders();

    QCOMPARE(session->settings()->videoDecoders(), after);
    QCOMPARE(session->readFile(decodersPath()), fileAfter);
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY2(session->log().contains(spdlog::level::debug, logged), qPrintable(session->log().dump()));
}

// The known-server list of the fixture, with the server in use set as the client sets it.
void tst_LocalConfig::serverType_data()
{
    QTest::addColumn<QString>("current"); // null: no "CURSERVERIP"
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("logged"); // empty: no match

    QTest::newRow("first address, type 1")   << "10.20.30.40"      << 1 << "contains type: true";
    QTest::newRow("second address")          << "vdi.example.com"  << 1 << "contains type: true";
    QTest::newRow("type 2 on 443")           << "172.16.8.21"      << 1 << "server type: ip: 2";
    QTest::newRow("type 2 on 8860")          << "gw.example.com"   << 0 << "server type: ip: 2";
    QTest::newRow("port with a blank")       << "172.16.8.23"      << 0 << "server type: ip: 2";
    QTest::newRow("no type")                 << "192.168.1.50"     << 0 << "contains type: false";
    QTest::newRow("type not a number")       << "lab.example.com"  << 0 << "contains type: true";
    QTest::newRow("negative type on 443")    << "192.168.1.52"     << 1 << "server type: ip: -1";
    QTest::newRow("unknown server")          << "10.99.0.1"        << 0 << "";
    QTest::newRow("case differs")            << "VDI.EXAMPLE.COM"  << 0 << "";
    // Matches the first element with an address and no second one, past the one without either.
    QTest::newRow("no server in use")        << QString()          << 1 << "server type: ip: 2";
}

void tst_LocalConfig::serverType()
{
    QFETCH(QString, current);
    QFETCH(int, type);
    QFETCH(QString, logged);

    session->copyFixture(QFINDTESTDATA("data/localconfig/settings.ini"), knownServersPath());
    {
        QSettings known(knownServersPath(), QSettings::IniFormat);
        if (current.isNull())
            known.remove(QStringLiteral("SERVERINFO/CURSERVERIP"));
        else
            known.setValue(QStringLiteral("SERVERINFO/CURSERVERIP"), current);
    }

    QCOMPARE(session->settings()->getServerType(), Vdp::ServerType(type));
    QVERIFY(session->log().contains(spdlog::level::debug, QStringLiteral("current server ip: ") + current));
    QCOMPARE(session->log().messages().size(), logged.isEmpty() ? 1 : 2);
    if (!logged.isEmpty())
        QVERIFY2(session->log().contains(spdlog::level::debug, logged), qPrintable(session->log().dump()));
    QCOMPARE(session->d()->mServerType_, Vdp::ServerType(0));
}

void tst_LocalConfig::serverTypeOfOddFiles_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("type");

    QTest::newRow("no size key")    << "data/localconfig/settings-without-size.ini" << 0;
    QTest::newRow("size of 2^31-1") << "data/localconfig/settings-huge-size.ini"    << 1;
    QTest::newRow("no file")        << ""                                           << 0;
}

void tst_LocalConfig::serverTypeOfOddFiles()
{
    QFETCH(QString, fixture);
    QFETCH(int, type);

    if (!fixture.isEmpty())
        session->copyFixture(QFINDTESTDATA(fixture), knownServersPath());
    QCOMPARE(session->settings()->getServerType(), Vdp::ServerType(type));
}

void tst_LocalConfig::certificateFromServer_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("useNew");
    QTest::addColumn<bool>("newPath");

    QTest::newRow("new, file there")        << "10.20.30.40"     << true  << true  << true;
    QTest::newRow("new, file missing")      << "10.20.30.40"     << false << true  << false;
    QTest::newRow("upper case")             << "VDI.EXAMPLE.COM" << true  << true  << true;
    QTest::newRow("lower case of the same") << "vdi.example.com" << true  << false << false;
    QTest::newRow("old, file there")        << "172.16.8.21"     << true  << false << false;
    QTest::newRow("never recorded")         << "10.99.0.1"       << true  << false << false;
}

// The fixture lists 10.20.30.40 twice, first with true: the first entry is the one in force.
void tst_LocalConfig::certificateFromServer()
{
    QFETCH(QString, server);
    QFETCH(bool, fileThere);
    QFETCH(bool, useNew);
    QFETCH(bool, newPath);

    startWithCertificateSettings();
    if (fileThere)
        session->writeFile(newCertificatePath(), "-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIUe3Jk\n-----END CERTIFICATE-----\n");
    S *s = session->settings();
    s->setCertPath(QStringLiteral("C:/Program Files/Calderwyn/config/server.pem"));

    QCOMPARE(s->isServerUseNewCertificate(server), useNew);
    const QString lookup = (useNew ? QStringLiteral("use new certificate:") : QStringLiteral("user old certificate:")) + server;
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY(session->log().contains(spdlog::level::info, lookup));
    session->log().clear();

    s->setCertPathFromServer(server);
    QCOMPARE(s->getCertPath(), newPath ? newCertificatePath() : QStringLiteral("config/grpcserver.pem"));
    QVERIFY(session->log().contains(spdlog::level::info, lookup));
    const QString usingNew = QStringLiteral("using new certificate serverIp:%1 %2").arg(server, newCertificatePath());
    QCOMPARE(session->log().contains(spdlog::level::info, usingNew), newPath);
    QCOMPARE(session->log().messages().size(), newPath ? 2 : 1);
}

void tst_LocalConfig::recordCertificateChoice_data()
{
    QTest::addColumn<bool>("fixture");
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("useNew");
    QTest::addColumn<QStringList>("servers"); // as written, in order
    QTest::addColumn<QStringList>("flags");

    QTest::newRow("new server")
        << true << "192.168.1.50" << true
        << QStringList{"10.20.30.40", "172.16.8.21", "192.168.1.50", "VDI.EXAMPLE.COM"} << QStringList{"true", "false", "true", "true"};
    QTest::newRow("known server changed")
        << true << "172.16.8.21" << true
        << QStringList{"10.20.30.40", "172.16.8.21", "VDI.EXAMPLE.COM"} << QStringList{"true", "true", "true"};
    QTest::newRow("twice listed, written once")
        << true << "10.20.30.40" << false
        << QStringList{"10.20.30.40", "172.16.8.21", "VDI.EXAMPLE.COM"} << QStringList{"false", "false", "true"};
    QTest::newRow("other case is another server")
        << true << "vdi.example.com" << false
        << QStringList{"10.20.30.40", "172.16.8.21", "VDI.EXAMPLE.COM", "vdi.example.com"} << QStringList{"true", "false", "true", "false"};
    QTest::newRow("no file yet")
        << false << "10.20.30.40" << true << QStringList{"10.20.30.40"} << QStringList{"true"};
}

void tst_LocalConfig::recordCertificateChoice()
{
    QFETCH(bool, fixture);
    QFETCH(QString, server);
    QFETCH(bool, useNew);
    QFETCH(QStringList, servers);
    QFETCH(QStringList, flags);

    if (fixture)
        startWithCertificateSettings();
    session->writeFile(newCertificatePath(), "-----BEGIN CERTIFICATE-----\n-----END CERTIFICATE-----\n");
    S *s = session->settings();

    s->updateServerUseNewCertificate(server, useNew);
    QVERIFY(session->log().messages().isEmpty());
    // The new certificate's path whatever the choice; choosing by server then applies it.
    QCOMPARE(s->getCertPath(), newCertificatePath());
    QCOMPARE(session->d()->mServerUseNewCertificate_.value(server), useNew);

    // The array is written whole, each server once, nothing left behind it.
    QStringList expected;
    for (int i = 0; i < servers.size(); ++i)
        expected << QStringLiteral("certificate\\%1\\server=%2").arg(i + 1).arg(servers.at(i))
                 << QStringLiteral("certificate\\%1\\useNewCertificate=%2").arg(i + 1).arg(flags.at(i));
    expected << QStringLiteral("certificate\\size=%1").arg(servers.size());
    QStringList written;
    const QString text = QString::fromUtf8(session->readFile(certificateSettingsPath()));
    for (const QString &line : text.split('\n')) {
        if (line.startsWith(QLatin1String("certificate\\")))
            written << line;
    }
    QCOMPARE(written, expected);
    if (fixture) {
        QVERIFY(text.contains(QLatin1String("[General]\nlastServer=10.20.30.40\n")));
        QVERIFY(text.contains(QLatin1String("\npromptOnChange=true\n")));
    }

    // The next session finds the choice.
    session->restart();
    QCOMPARE(session->d()->mServerUseNewCertificate_.keys(), servers);
    s->setCertPathFromServer(server);
    QCOMPARE(s->getCertPath(), useNew ? newCertificatePath() : QStringLiteral("config/grpcserver.pem"));
}

void tst_LocalConfig::resetCertPath()
{
    S *s = session->settings();
    s->setCertPath(QStringLiteral("/etc/calderwyn/server.pem"));
    s->setCertPathAsDefault();
    QCOMPARE(s->getCertPath(), QStringLiteral("config/grpcserver.pem"));
    QVERIFY(session->log().messages().isEmpty());

    s->setCertPath(QStringLiteral("/etc/calderwyn/server.pem"));
    s->resetCertPath();
    QCOMPARE(s->getCertPath(), QStringLiteral("config/grpcserver.pem"));
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY(session->log().contains(spdlog::level::info, QStringLiteral("reset cert path!")));
}

void tst_LocalConfig::curServerArchStaysX86()
{
    S *s = session->settings();
    QSignalSpy changed(s, &S::curServerArchChanged);
    s->setCurServerArch(QStringLiteral("ARM64"));
    QCOMPARE(s->curServerArch(), QStringLiteral("X86"));
    QVERIFY(session->log().contains(spdlog::level::info, QStringLiteral("curServerArch ARM64")));
    QCOMPARE(changed.count(), 0);
}

QTEST_GUILESS_MAIN(tst_LocalConfig)
#include "tst_localconfig.moc"
