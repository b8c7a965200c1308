#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QtTest/QtTest>

using S = VdSessionSettings;

class tst_SessionLoader : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSession> session;

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // The path is kept whatever happens, also for deleting the file; a file that cannot be read or
    // parsed is reported at level critical and changes nothing else; the legacy marker alone,
    // whatever its value, chooses the reader, and the writer's marker skips inheriting.
    void load_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("message");    // %1: the path
        QTest::addColumn<int>("serverPort");

        QTest::newRow("missing file")     << QByteArray()                                                                   << false << "load %1 vdp file error."           << 8860;
        QTest::newRow("plain text")       << QByteArray("Session expired.\n")                                               << false << "Session expired.\n  \r\nis error." << 8860;
        QTest::newRow("NUL inside")       << QByteArray("{\"a\":1}\0{", 9)                                                  << false << "{\"a\":1}  \r\nis error."          << 8860;
        QTest::newRow("current layout")   << QByteArray(R"({"vm settings":{"serverPort":8443}})")                           << true  << "vdp is new format"                 << 8443;
        QTest::newRow("legacy marker")    << QByteArray(R"({"vdsession settings":null,"vm settings":{"serverPort":8443}})") << true  << "vdp is old format"                 << 0;
        QTest::newRow("top-level array")  << QByteArray(R"([{"vm settings":{"serverPort":8443}}])")                         << true  << "vdp is new format"                 << 0;
        QTest::newRow("inherited before") << QByteArray(R"({"inherit old vdp":1})")                                         << true  << "old vdp file has been inherited"   << 0;
    }
    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loaded);
        QFETCH(QString, message);
        QFETCH(int, serverPort);

        const QString path = session->workDir() + "/VdSession-0b7e.vdp";
        if (!content.isNull())
            session->writeFile(path, content);
        QCOMPARE(session->settings()->loadFromVdp(path), loaded);
        QCOMPARE(session->settings()->getVdpPath(), path);
        QVERIFY2(session->log().count(loaded ? spdlog::level::info : spdlog::level::critical, message.arg(path)) == 1, qPrintable(session->log().dump()));
        QCOMPARE(int(session->settings()->serverPort()), serverPort);

        session->settings()->deleteVdpFile();
        session->settings()->deleteVdpFile();
        QVERIFY(!QFile::exists(path));
        QCOMPARE(session->log().count(spdlog::level::info, "ready to delete vdp file, path =" + path), 2);
        QCOMPARE(session->log().count(spdlog::level::info, "vdp file does NOT exist."), content.isNull() ? 2 : 1);
    }

    // The previous session's file lies beside the session file, named after its middle part. Its
    // stream mode is taken before anything else is read, and it is removed once read; a file that
    // cannot be read stays, reported at level critical. Files named otherwise have no previous file.
    void inherit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("previous"); // at data/abc-2.vdp; empty: none, "/": a folder
        QTest::addColumn<int>("streamMode");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<QString>("message"); // %1: the previous file's path

        const QString name = "data/VdSession-abc.vdp", hd = "previous-stream-hd.vdp";
        QTest::newRow("stream mode")        << name                     << hd                            << int(S::TYPE_STREAM_HD)     << false << "old vdp file found and, stream control value is 2";
        QTest::newRow("no stream mode")     << name                     << "previous-without-stream.vdp" << int(S::TYPE_STREAM_VIDEO)  << false << "old vdp path: %1";
        QTest::newRow("none")               << name                     << ""                            << int(S::TYPE_STREAM_VIDEO)  << false << "old vdp path not exits";
        QTest::newRow("malformed")          << name                     << "plain-text.vdp"              << int(S::TYPE_STREAM_VIDEO)  << true  << "Session expired, please log in again.\n  \r\nis error.";
        QTest::newRow("unreadable")         << name                     << "/"                           << int(S::TYPE_STREAM_VIDEO)  << true  << "load %1 old vdp file error.";
        QTest::newRow("lower-case prefix")  << "data/vdsession-abc.vdp" << hd                            << int(S::TYPE_STREAM_VIDEO)  << true  << "read old vdp file for inherit";
        QTest::newRow("bare file name")     << "VdSession-abc.vdp"      << hd                            << int(S::TYPE_STREAM_VIDEO)  << true  << "old vdp path: ./abc-2.vdp";
    }
    void inherit()
    {
        QFETCH(QString, name);
        QFETCH(QString, previous);
        QFETCH(int, streamMode);
        QFETCH(bool, stays);
        QFETCH(QString, message);

        const QString previousPath = "data/abc-2.vdp";
        if (previous == "/")
            QDir(session->workDir()).mkpath(previousPath);
        else if (!previous.isEmpty())
            session->copyFixture(QFINDTESTDATA("data/current/" + previous), previousPath);
        session->copyFixture(QFINDTESTDATA("data/current/session-without-stream.vdp"), name);
        session->d()->mStreamMode_ = S::TYPE_STREAM_VIDEO;

        QVERIFY(session->settings()->loadFromVdp(name));
        QCOMPARE(int(session->settings()->streamMode()), streamMode);
        QCOMPARE(session->settings()->getVideoModeActual(), streamMode); // chosen after inheriting
        QCOMPARE(QFileInfo::exists(previousPath), stays);
        // Errors are reported at level critical, the rest at level info.
        QVERIFY2(session->log().contains(message.endsWith("error.") ? spdlog::level::critical : spdlog::level::info, message.arg(previousPath)), qPrintable(session->log().dump()));
    }

    // Only a render system that nothing has chosen is filled in, once, and said so.
    void updateConfig()
    {
        session->settings()->updateConfig();
        session->settings()->updateConfig();
        QCOMPARE(session->settings()->renderSystemMode(), S::RenderSystemSDL);
        QCOMPARE(session->log().countQt(QtInfoMsg, "updateConfig ,render system mode:VdSessionSettings::RenderSystemSDL"), 1);
    }
};

QTEST_GUILESS_MAIN(tst_SessionLoader)
#include "tst_sessionloader.moc"
