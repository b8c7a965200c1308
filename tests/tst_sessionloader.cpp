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

    // Only a render system that nothing has chosen is filled in, once.
    void updateConfig()
    {
        session->settings()->updateConfig();
        QCOMPARE(session->settings()->renderSystemMode(), S::RenderSystemSDL);
        session->settings()->setRenderSystemMode(S::RenderSystemXCB);
        session->settings()->updateConfig();
        QCOMPARE(session->settings()->renderSystemMode(), S::RenderSystemXCB);
    }
};

QTEST_GUILESS_MAIN(tst_SessionLoader)
#include "tst_sessionloader.moc"
