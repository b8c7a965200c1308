#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QtTest/QtTest>

using S = VdSessionSettings;

namespace {

QString fixture(const char *name) { return QFINDTESTDATA(QStringLiteral("data/current/") + QLatin1String(name)); }

QStringList infoLines(const LogCapture &log)
{
    QStringList lines;
    for (const LogCapture::Message &m : log.messages()) {
        if (m.level == spdlog::level::info)
            lines << m.text;
    }
    return lines;
}

} // namespace

class tst_SessionLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void missingFile();
    void plainText();
    void badContent_data();
    void badContent();
    void layout_data();
    void layout();
    void deleteBeforeLoad();
    void deleteTwice();

    void inheritStreamMode_data();
    void inheritStreamMode();
    void documentStreamModeWins();
    void inheritedVideoMode();
    void alreadyInherited();
    void malformedPreviousFileStays();
    void unreadablePreviousFile();
    void noPreviousFile();
    void noPrefixNoAccess_data();
    void noPrefixNoAccess();
    void bareFileNameLooksHere();
    void updateConfig_data();
    void updateConfig();

private:
    std::unique_ptr<TestSession> session;
};

void tst_SessionLoader::missingFile()
{
    const QString path = session->workDir() + "/VdSession-0b7e.vdp";
    QVERIFY(!session->settings()->loadFromVdp(path));

    QCOMPARE(session->settings()->getVdpPath(), path);
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY(session->log().contains(spdlog::level::critical, "load " + path + " vdp file error."));
    QCOMPARE(session->settings()->serverPort(), 8860);
}

void tst_SessionLoader::plainText()
{
    const QString path = session->copyFixture(fixture("plain-text.vdp"), "VdSession-0b7e.vdp");
    QVERIFY(!session->settings()->loadFromVdp(path));

    QCOMPARE(session->settings()->getVdpPath(), path);
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY2(session->log().contains(spdlog::level::critical, "Session expired, please log in again.\n  \r\nis error."),
             qPrintable(session->log().dump()));
    QCOMPARE(session->settings()->serverPort(), 8860);
    QCOMPARE(session->settings()->protocol(), QStringLiteral("vdp"));
}

void tst_SessionLoader::badContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("loaded");

    QTest::newRow("empty file")        << QByteArray()                                          << false;
    QTest::newRow("null")              << QByteArray("null")                                    << false;
    QTest::newRow("cut short")         << QByteArray(R"({"vm settings":{"serverIp":"10.20)")    << false;
    QTest::newRow("invalid UTF-8")     << QByteArray("{\"vm settings\":{\"name\":\"li\xff\xfewei\"}}") << false;
    QTest::newRow("deeply nested")     << QByteArray(200000, '[')                               << false;
    QTest::newRow("NUL inside")        << QByteArray("{\"a\":1}\0{", 9)                         << false;
    QTest::newRow("huge numbers")      << QByteArray(R"({"vm settings":{"serverPort":1e300,"serverType":2147483648},"window mode":-1e308})") << true;
    QTest::newRow("empty object")      << QByteArray("{}")                                      << true;
}

// Nothing the launcher (or anyone) leaves in the file stops the program: false, or defaults.
void tst_SessionLoader::badContent()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, loaded);

    const QString path = session->writeFile("VdSession-0b7e.vdp", content);
    QCOMPARE(session->settings()->loadFromVdp(path), loaded);
    if (!loaded) {
        QCOMPARE(session->log().messages().size(), 1);
        QCOMPARE(session->log().messages().first().level, spdlog::level::critical);
        QVERIFY(session->log().messages().first().text.endsWith("  \r\nis error."));
        QCOMPARE(session->settings()->serverPort(), 8860);
    } else {
        QCOMPARE(session->settings()->serverPort(), 0);
        QCOMPARE(session->settings()->serverType(), Vdp::ServerType(0));
        QCOMPARE(session->settings()->windowMode(), S::MultiSDLWindowMode);
    }
}

void tst_SessionLoader::layout_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("currentReaderRan");

    QTest::newRow("legacy marker, null")  << fixture("legacy-marker-null.vdp") << "vdp is old format" << false;
    QTest::newRow("current")              << fixture("session-without-stream.vdp") << "vdp is new format" << true;
    QTest::newRow("top-level array")      << fixture("top-level-array.vdp") << "vdp is new format" << true;
}

void tst_SessionLoader::layout()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(bool, currentReaderRan);

    const QString path = session->copyFixture(file, "session.vdp");
    QVERIFY(session->settings()->loadFromVdp(path));
    QCOMPARE(session->log().count(spdlog::level::info, message), 1);
    QCOMPARE(session->log().contains(spdlog::level::info, "read old vdp file for inherit"), currentReaderRan);
    if (file.endsWith("top-level-array.vdp")) {
        // The array's content is not looked into.
        QCOMPARE(session->settings()->serverIp(), QString());
        QCOMPARE(session->settings()->serverPort(), 0);
    }
}

void tst_SessionLoader::deleteBeforeLoad()
{
    session->settings()->deleteVdpFile();
    QCOMPARE(infoLines(session->log()), (QStringList{"ready to delete vdp file, path =", "vdp file does NOT exist."}));
}

void tst_SessionLoader::deleteTwice()
{
    const QString path = session->copyFixture(fixture("session-without-stream.vdp"), "VdSession-0b7e.vdp");
    QVERIFY(session->settings()->loadFromVdp(path));
    session->log().clear();

    session->settings()->deleteVdpFile();
    QVERIFY(!QFile::exists(path));
    QCOMPARE(infoLines(session->log()), (QStringList{"ready to delete vdp file, path =" + path, "delete vdp file now."}));

    session->log().clear();
    session->settings()->deleteVdpFile();
    QCOMPARE(infoLines(session->log()), (QStringList{"ready to delete vdp file, path =" + path, "vdp file does NOT exist."}));
    QCOMPARE(session->settings()->getVdpPath(), path);
}

void tst_SessionLoader::inheritStreamMode_data()
{
    QTest::addColumn<QString>("previous");
    QTest::addColumn<int>("streamMode");
    QTest::addColumn<QString>("found");

    QTest::newRow("HD")             << fixture("previous-stream-hd.vdp")       << int(S::TYPE_STREAM_HD)    << "2";
    QTest::newRow("no key")         << fixture("previous-without-stream.vdp")  << int(S::TYPE_STREAM_VIDEO) << QString();
    QTest::newRow("key at the top") << fixture("previous-stream-at-top.vdp")   << int(S::TYPE_STREAM_VIDEO) << QString();
}

// The previous file sits beside the session file under the session file's middle name; it is
// read for its stream mode, then removed.
void tst_SessionLoader::inheritStreamMode()
{
    QFETCH(QString, previous);
    QFETCH(int, streamMode);
    QFETCH(QString, found);

    const QString previousPath = session->copyFixture(previous, "data/abc-2.vdp");
    const QString path = session->copyFixture(fixture("session-without-stream.vdp"), "data/VdSession-abc.vdp");
    session->d()->mStreamMode_ = S::TYPE_STREAM_VIDEO;

    QVERIFY(session->settings()->loadFromVdp(path));
    QCOMPARE(int(session->settings()->streamMode()), streamMode);
    QVERIFY(!QFile::exists(previousPath));
    QVERIFY(QFile::exists(path));

    const QStringList lines = infoLines(session->log());
    QVERIFY2(lines.mid(1, 2) == (QStringList{"read old vdp file for inherit", "old vdp path: " + previousPath}), qPrintable(session->log().dump()));
    QCOMPARE(session->log().count(spdlog::level::info, "old vdp file found and, stream control value is " + found), found.isEmpty() ? 0 : 1);
}

// The file's own choice is read after the inherited one and replaces it.
void tst_SessionLoader::documentStreamModeWins()
{
    const QString previousPath = session->copyFixture(fixture("previous-stream-hd.vdp"), "data/abc-2.vdp");
    const QString path = session->copyFixture(fixture("session-with-stream.vdp"), "data/VdSession-abc.vdp");

    QVERIFY(session->settings()->loadFromVdp(path));
    QVERIFY(session->log().contains(spdlog::level::info, "old vdp file found and, stream control value is 2"));
    QCOMPARE(session->settings()->streamMode(), S::TYPE_STREAM_ALWAYS);
    QCOMPARE(session->settings()->getVideoModeActual(), 3);
    QVERIFY(!QFile::exists(previousPath));
}

// Inheriting comes first, so the effective video mode is chosen with the inherited stream mode.
void tst_SessionLoader::inheritedVideoMode()
{
    session->copyFixture(fixture("previous-stream-hd.vdp"), "data/abc-2.vdp");
    const QString path = session->copyFixture(fixture("session-without-stream.vdp"), "data/VdSession-abc.vdp");

    QVERIFY(session->settings()->loadFromVdp(path));
    QCOMPARE(session->settings()->getVideoModeActual(), 2);
    QVERIFY(session->log().contains(spdlog::level::info, "video mode: stream_control_value:2, videoModeActual:2"));
}

void tst_SessionLoader::alreadyInherited()
{
    const QString previousPath = session->copyFixture(fixture("previous-stream-hd.vdp"), "abc-2.vdp");
    const QString path = session->copyFixture(fixture("rewritten-sparse.vdp"), "VdSession-abc.vdp");

    QVERIFY(session->settings()->loadFromVdp(path));
    QVERIFY(session->log().contains(spdlog::level::info, "old vdp file has been inherited"));
    QVERIFY(!session->log().contains(spdlog::level::info, "read old vdp file for inherit"));
    QCOMPARE(session->settings()->streamMode(), S::TYPE_STREAM_NONE);
    QVERIFY(QFile::exists(previousPath));
}

// A previous file that does not parse stays for someone to look at, and is reported each time.
void tst_SessionLoader::malformedPreviousFileStays()
{
    const QString previousPath = session->copyFixture(fixture("plain-text.vdp"), "data/abc-2.vdp");
    const QString path = session->copyFixture(fixture("session-without-stream.vdp"), "data/VdSession-abc.vdp");
    const QString report = "Session expired, please log in again.\n  \r\nis error.";

    QVERIFY(session->settings()->loadFromVdp(path));
    QCOMPARE(session->log().count(spdlog::level::critical, report), 1);
    QVERIFY(QFile::exists(previousPath));
    QVERIFY(session->settings()->loadFromVdp(path));
    QCOMPARE(session->log().count(spdlog::level::critical, report), 2);
    QVERIFY(QFile::exists(previousPath));
    QCOMPARE(session->settings()->streamMode(), S::TYPE_STREAM_NONE);
}

void tst_SessionLoader::unreadablePreviousFile()
{
    // A folder by that name exists but cannot be read as a file, even by root.
    QDir(session->workDir()).mkpath("data/abc-2.vdp");
    const QString path = session->copyFixture(fixture("session-without-stream.vdp"), "data/VdSession-abc.vdp");
    const QString previousPath = session->workDir() + "/data/abc-2.vdp";

    QVERIFY(session->settings()->loadFromVdp(path));
    QVERIFY2(session->log().contains(spdlog::level::critical, "load " + previousPath + " old vdp file error."),
             qPrintable(session->log().dump()));
    QVERIFY(QFileInfo(previousPath).isDir());
}

void tst_SessionLoader::noPreviousFile()
{
    const QString path = session->copyFixture(fixture("session-without-stream.vdp"), "data/VdSession-abc.vdp");
    QVERIFY(session->settings()->loadFromVdp(path));
    const QStringList lines = infoLines(session->log());
    QCOMPARE(lines.mid(2, 2), (QStringList{"old vdp path: " + session->workDir() + "/data/abc-2.vdp", "old vdp path not exits"}));
}

void tst_SessionLoader::noPrefixNoAccess_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("no prefix")            << "data/abc.vdp";
    QTest::newRow("prefix in lower case") << "data/vdsession-abc.vdp";
    QTest::newRow("prefix only")          << "data/VdSession.vdp";
    QTest::newRow("too short")            << "data/v";
}

void tst_SessionLoader::noPrefixNoAccess()
{
    QFETCH(QString, name);

    const QString previousPath = session->copyFixture(fixture("previous-stream-hd.vdp"), "data/abc-2.vdp");
    session->d()->mVdpPath_ = session->workDir() + QLatin1Char('/') + name;
    session->settings()->readOldVdpConfig();
    QVERIFY2(session->log().messages().isEmpty(), qPrintable(session->log().dump()));
    QVERIFY(QFile::exists(previousPath));

    session->d()->mVdpPath_.clear();
    session->settings()->readOldVdpConfig();
    QVERIFY(session->log().messages().isEmpty());
    QCOMPARE(session->settings()->streamMode(), S::TYPE_STREAM_NONE);
}

// The working directory is the case's own; a path without a folder means the one we are in.
void tst_SessionLoader::bareFileNameLooksHere()
{
    const QString previousPath = session->copyFixture(fixture("previous-stream-hd.vdp"), "abc-2.vdp");
    session->copyFixture(fixture("session-without-stream.vdp"), "VdSession-abc.vdp");

    QVERIFY(session->settings()->loadFromVdp("VdSession-abc.vdp"));
    QVERIFY2(session->log().contains(spdlog::level::info, "old vdp path: ./abc-2.vdp"), qPrintable(session->log().dump()));
    QCOMPARE(session->settings()->streamMode(), S::TYPE_STREAM_HD);
    QVERIFY(!QFile::exists(previousPath));
    QCOMPARE(session->settings()->getVdpPath(), QStringLiteral("VdSession-abc.vdp"));
}

void tst_SessionLoader::updateConfig_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("default")  << int(S::RenderSystemDEFAULT) << int(S::RenderSystemSDL);
    QTest::newRow("SDL")      << int(S::RenderSystemSDL)     << int(S::RenderSystemSDL);
    QTest::newRow("XCB")      << int(S::RenderSystemXCB)     << int(S::RenderSystemXCB);
}

void tst_SessionLoader::updateConfig()
{
    QFETCH(int, before);
    QFETCH(int, after);

    session->d()->mRenderSystemMode_ = S::RenderSystemMode(before);
    session->settings()->updateConfig();
    session->settings()->updateConfig();
    QCOMPARE(int(session->settings()->renderSystemMode()), after);

    const int messages = session->log().countQt(QtInfoMsg, "updateConfig ,render system mode:");
    QCOMPARE(messages, before == after ? 0 : 1);
    if (messages)
        QVERIFY(session->log().qtMessages().first().text.contains("RenderSystemSDL"));
}

QTEST_GUILESS_MAIN(tst_SessionLoader)
#include "tst_sessionloader.moc"
