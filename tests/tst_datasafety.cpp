#include <vdsessionsettings/sessioncheck.h>
#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest/QtTest>

#include <functional>

#ifdef Q_OS_WIN
#include <windows.h>
#include <psapi.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using S = VdSessionSettings;

namespace {

#ifdef Q_OS_WIN
// The resident set's peak in MiB so far.
qint64 residentPeakMiB()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    return ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters) ? qint64(counters.PeakWorkingSetSize >> 20) : 0;
}
#else

// Starts @p job in a child process, in which a file may grow to @p fileSizeLimit bytes only. A
// write beyond fails with EFBIG, as on a full disk, rather than killing the child. The job's
// result is the child's exit code.
pid_t startChild(const std::function<int()> &job, rlim_t fileSizeLimit = RLIM_INFINITY)
{
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(job());
    }
    return child;
}

// The exit code of @p child, or -1 when a signal ended it.
int exitCode(pid_t child)
{
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The resident set's peak in MiB so far (Linux counts in KiB).
qint64 residentPeakMiB()
{
    rusage usage;
    return ::getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss / 1024 : 0;
}

#endif

QStringList filesIn(const QString &folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System); }

QString text(const QRect &r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

} // namespace

class tst_DataSafety : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSession> session;

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // Each file the library writes, with the file size limit below its new content: the old file
    // stays byte for byte (or absent), and nothing is left beside it. Without the limit the same
    // write goes through, and keeps the old file's mode (and, saved by root, its owner and group).
    void shortWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("session file")       << "session.vdp";
        QTest::newRow("certificate choice") << "vdisettings.ini";
        QTest::newRow("first decoder list") << "decoders.ini";
    }
    void shortWriteKeepsTheOldFile()
    {
        QFETCH(QString, file);
#ifdef Q_OS_WIN
        QSKIP("needs a file size limit for one process (RLIMIT_FSIZE), which Windows does not have; windowsReplace covers failed saves there");
#else
        S *s = session->settings();
        QString path = session->documents() + "/VdSession/" + file;
        rlim_t limit = 512;
        std::function<int()> write = [s] { s->readVideoDecoders(); return 0; };
        if (file == "session.vdp") {
            path = session->copyFixture(QFINDTESTDATA("data/writer/complete.vdp"), file);
            QVERIFY(s->loadFromVdp(path));
            limit = QFileInfo(path).size() / 2;
            write = [this, s, path] { // the failure is reported once
                s->saveToVdp();
                return session->countQt(QtCriticalMsg, QStringLiteral("[VdSessionSettings::saveToVdp]save vdsession settings file %1 error.").arg(path));
            };
        } else if (file == "vdisettings.ini") {
            // 3,000 servers; one more makes the file larger.
            QByteArray ini = "[certificate]\ncertificate\\size=3000\n";
            for (int i = 1; i <= 3000; ++i)
                ini += QStringLiteral("certificate\\%1\\server=10.0.%2.%3\ncertificate\\%1\\useNewCertificate=%4\n").arg(i).arg(i / 256).arg(i % 256).arg(i % 2 ? "true" : "false").toUtf8();
            session->writeFile(path, ini);
            session->restart();
            limit = QFileInfo(path).size();
            write = [s] { // the choice holds for the session even when the file keeps the old one
                s->updateServerUseNewCertificate(QStringLiteral("10.99.0.1"), true);
                return s->isServerUseNewCertificate(QStringLiteral("10.99.0.1")) ? 0 : 99;
            };
        } else {
            // A list longer than the limit, which QSettings' lock file is not: writing the list is what fails.
            path = session->documents() + '/' + QCoreApplication::applicationName() + '/' + file;
            for (int i = 0; i < 100; ++i)
                session->d()->mVideoDecoders_ << QStringLiteral("DECODER%1").arg(i);
        }
        const QByteArray before = session->readFile(path), name = QFile::encodeName(path);
        const QStringList filesBefore = filesIn(QFileInfo(path).absolutePath());
        // Saving keeps the old file's mode, and root saving a user's file leaves it the user's.
        const bool existed = !before.isEmpty(), root = ::geteuid() == 0;
        QVERIFY(!existed || (::chmod(name.constData(), 0640) == 0 && (!root || ::chown(name.constData(), 65534, 65534) == 0)));

        QCOMPARE(exitCode(startChild(write, limit)), file == "session.vdp" ? 1 : 0);
        QCOMPARE(session->readFile(path), before);
        QCOMPARE(filesIn(QFileInfo(path).absolutePath()), filesBefore);
        QCOMPARE(exitCode(startChild(write)), 0);
        QVERIFY(session->readFile(path) != before);
        struct stat saved;
        QVERIFY(!existed || (::stat(name.constData(), &saved) == 0 && (saved.st_mode & 07777) == 0640 && (!root || (saved.st_uid == 65534 && saved.st_gid == 65534))));
#endif
    }

    // A child loads the session file and saves it over and over, moving screen 0 between left
    // edges 0 and 1; it is killed at 200 moments spread over its first four rounds. After each kill
    // the file is the launcher's document (left edge 2) or one of the saved ones, whole, and the
    // next save works.
    void killedDuringSave()
    {
#ifdef Q_OS_WIN
        QSKIP("needs fork() and SIGKILL at chosen moments");
#else
        QJsonObject root = QJsonDocument::fromJson(session->readFile(QFINDTESTDATA("data/writer/complete.vdp"))).object();
        QJsonArray screens;
        for (int id = 0; id < 200; ++id)
            screens.append(QJsonObject{{"id", id}, {"geometry", id == 0 ? "2,0,1000,900" : "0,0,1000,900"}});
        root.insert("geometrys", screens);
        const QByteArray launcher = QJsonDocument(root).toJson();
        const QString path = session->writeFile("session.vdp", launcher);
        S *s = session->settings();
        const auto save = [s, path](int left) {
            s->loadFromVdp(path);
            s->setGeometry(QRect(left, 0, 1000, 900), 0);
            s->saveToVdp();
        };
        // How long a round takes here; then the launcher's document again.
        QElapsedTimer timer;
        timer.start();
        for (int left : {0, 1, 0})
            save(left);
        const qint64 roundMicroseconds = qMax<qint64>(timer.nsecsElapsed() / 3000, 200);
        session->writeFile(path, launcher);

        QSet<QString> seen; // screen 0's rectangle after each kill
        for (int kill = 0; kill < 200; ++kill) {
            const pid_t child = startChild([save]() -> int { for (int left = 0;; left = 1 - left) save(left); });
            ::usleep(useconds_t(roundMicroseconds * (kill % 100) / 25));
            ::kill(child, SIGKILL);
            exitCode(child);

            const QByteArray content = session->readFile(path);
            const QJsonDocument document = QJsonDocument::fromJson(content);
            QVERIFY2(!document.isNull() && document.toJson() == content, qPrintable(QStringLiteral("kill %1 left %2 bytes").arg(kill).arg(content.size())));
            seen.insert(document.object().value("geometrys").toArray().at(0).toObject().value("geometry").toString());
            // A kill between linking the new file under a temporary name and renaming it leaves that
            // name behind; such names are random and never taken twice, so no later save trips on one.
            for (const QString &name : filesIn(session->workDir()))
                QVERIFY2(name == "session.vdp" || (name.startsWith("session.vdp.") && name.size() == 18), qPrintable(name));
        }
        // Kills both before the first save was in place and after.
        QVERIFY2(seen.contains("2,0,1000,900") && seen.size() > 1, qPrintable(QStringList(seen.values()).join(' ')));
        save(7);
        QVERIFY(session->readFile(path).contains("\"7,0,1000,900\""));
#endif
    }

    // A session file in a shared sticky folder (such as /tmp), loaded by a privileged process and
    // swapped for a link before the save: the save does not write through a link that the system
    // itself would not follow for this process, and says why; the link's target stays as it was.
    // The user's own link is followed, and keeps pointing where it did.
    void plantedLink_data()
    {
        QTest::addColumn<uint>("linkOwner"); // 0: the process's user
        QTest::addColumn<bool>("saved");
        QTest::newRow("another user's link")    << 65534u << false;
        QTest::newRow("the process user's link") << 0u     << true;
    }
    void plantedLink()
    {
        QFETCH(uint, linkOwner);
        QFETCH(bool, saved);
#ifdef Q_OS_WIN
        Q_UNUSED(linkOwner);
        Q_UNUSED(saved);
        QSKIP("Windows has no sticky shared folders, and only an administrator makes symbolic links");
#else
        if (::geteuid() != 0)
            QSKIP("needs root, to give a link another owner");
        QVERIFY(QDir().mkpath("shared") && QDir().mkpath("private"));
        QCOMPARE(::chmod("shared", 01777), 0);
        const QByteArray target = session->readFile(QFINDTESTDATA("data/writer/complete.vdp"));
        const QString targetPath = session->writeFile("private/target.vdp", target);
        const QString path = session->writeFile("shared/session.vdp", target);
        S *s = session->settings();
        QVERIFY(s->loadFromVdp(path));
        s->setGeometry(QRect(7, 0, 1000, 900), 0);
        QVERIFY(QFile::remove(path) && QFile::link(targetPath, path));
        QCOMPARE(::lchown(QFile::encodeName(path).constData(), linkOwner, linkOwner), 0);

        s->saveToVdp();
        QCOMPARE(session->readFile(targetPath) != target, saved);
        QVERIFY(QFileInfo(path).isSymLink());
        const QString refusal = QStringLiteral("is a symbolic link in the shared folder");
        QCOMPARE(session->countQt(QtCriticalMsg, QStringLiteral("[VdSessionSettings::saveToVdp]save vdsession settings file")), saved ? 0 : 1);
        QCOMPARE(session->loggedSpdlog().contains(refusal), !saved);
#endif
    }

    // A file whose name is so long that the temporary name beside it cannot exist (its name plus
    // seven characters): the save is refused with the reason, and the file stays as it was.
    void longName()
    {
        const QByteArray content = session->readFile(QFINDTESTDATA("data/writer/complete.vdp"));
        const QString path = session->writeFile("VdSession-" + QString(240, QLatin1Char('a')) + ".vdp", content);
        S *s = session->settings();
        QVERIFY(s->loadFromVdp(path));
        s->setGeometry(QRect(7, 0, 1000, 900), 0);
        s->saveToVdp();
        QCOMPARE(session->readFile(path), content);
        QVERIFY(session->loggedSpdlog().contains(QStringLiteral("needs 7 more than the 255")));
        QCOMPARE(filesIn(session->workDir()).size(), 1);
    }

    // Windows replaces a file with MoveFileEx: a reader that shares deletion, as most do, keeps
    // reading the old file while the save goes through; one that does not, like a read-only file,
    // makes the save fail, with the file as it was.
    void windowsReplace_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<bool>("saved");
        QTest::newRow("reader sharing deletion")     << "shared reader"   << true;
        QTest::newRow("reader not sharing deletion") << "private reader"  << false;
        QTest::newRow("read-only file")              << "read-only"       << false;
        QTest::newRow("hidden file")                 << "hidden"          << true;
    }
    void windowsReplace()
    {
        QFETCH(QString, obstacle);
        QFETCH(bool, saved);
#ifndef Q_OS_WIN
        Q_UNUSED(obstacle);
        Q_UNUSED(saved);
        QSKIP("Windows' own sharing and attribute rules");
#else
        const QByteArray content = session->readFile(QFINDTESTDATA("data/writer/complete.vdp"));
        const QString path = session->writeFile("session.vdp", content);
        const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
        S *s = session->settings();
        QVERIFY(s->loadFromVdp(path));
        s->setGeometry(QRect(7, 0, 1000, 900), 0);

        HANDLE reader = INVALID_HANDLE_VALUE;
        if (obstacle.endsWith("reader")) {
            const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (obstacle == "shared reader" ? FILE_SHARE_DELETE : 0);
            reader = ::CreateFileW(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            QVERIFY(reader != INVALID_HANDLE_VALUE);
        } else {
            QVERIFY(::SetFileAttributesW(name.c_str(), obstacle == "hidden" ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_READONLY));
        }
        s->saveToVdp();
        if (reader != INVALID_HANDLE_VALUE) {
            // The reader still reads the file it opened.
            char first[16] = {};
            DWORD read = 0;
            QVERIFY(::ReadFile(reader, first, sizeof first, &read, nullptr) && QByteArray(first, int(read)) == content.left(int(read)));
            ::CloseHandle(reader);
        }
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
        if (wine && obstacle == "shared reader")
            QEXPECT_FAIL("", "Wine does not replace a file that is open, whatever the opener shares", Continue);
        QCOMPARE(session->readFile(path) != content, saved);
        if (obstacle == "hidden")
            QVERIFY(attributes & FILE_ATTRIBUTE_HIDDEN);
        QCOMPARE(filesIn(session->workDir()), QStringList{"session.vdp"});
#endif
    }

    // Input that once hung, overflowed or took hundreds of megabytes; each finishes at once with
    // the result the file describes. The rectangles are held to +-2^24 and then placed on a
    // 1920 x 1080 screen as any window off the screen is. (The INI arrays that claim 2^31-1
    // elements are rows of tst_settingsobject and tst_localconfig.)
    void hostileInput_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("expected");

        QTest::newRow("geometry at int max")          << "geometry" << QByteArray(R"({"geometry": "2147483647,2147483647,2147483647,2147483647"})")
                                                      << "16777216,16777216 16777216x16777216, placed 463,139 994x801";
        QTest::newRow("geometrys at int min")         << "geometry" << QByteArray(R"({"geometrys": [{"id": 0, "geometry": "-2147483648,-2147483648,2147483647,2147483647"}]})")
                                                      << "-16777216,-16777216 16777216x16777216, placed 463,0 994x801";
#ifdef Q_OS_WIN
        QTest::newRow("NUL")                          << "session file" << QByteArray("NUL")        << "refused: not a regular file";
#else
        QTest::newRow("/dev/zero")                    << "session file" << QByteArray("/dev/zero")  << "refused: not a regular file";
#endif
        QTest::newRow("directory")                    << "session file" << QByteArray("folder")     << "refused: not a regular file";
        QTest::newRow("FIFO")                         << "session file" << QByteArray("fifo")       << "refused: not a regular file";
        QTest::newRow("16 MiB and one byte")          << "session file" << QByteArray("oversized")  << "refused: larger than 16 MiB";
        QTest::newRow("previous session file a FIFO") << "session file" << QByteArray("x-2.vdp")    << "loaded: not a regular file";
        QTest::newRow("20 million = in a value")      << "link"
            << QByteArray("evoked-download/?token=dG9rZW4=&serverIp=10.0.0.1=%1&serverPort=8860&vmUuid=vm1&h5ClientUuid=h5&multiscreen=true") << "10.0.0.1";
    }
    void hostileInput()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, input);
        QFETCH(QString, expected);
        S *s = session->settings();
        QString actual;
        if (kind == "geometry") {
            QVERIFY(s->loadFromVdp(session->writeFile("session.vdp", input)));
            actual = text(session->d()->mGeometrys_.value(0)) + ", placed ";
            actual += text(s->geometry(QRect(0, 0, 1920, 1080), 0)); // after: placing stores
        } else if (kind == "session file") {
            QDir().mkpath("folder");
#ifdef Q_OS_WIN
            if (input == "fifo" || input == "x-2.vdp")
                QSKIP("Windows has no FIFOs in the file system");
#else
            QCOMPARE(::mkfifo("fifo", 0600) | ::mkfifo("x-2.vdp", 0600), 0);
#endif
            QVERIFY(QFile(session->writeFile("oversized", "")).resize(16 * 1024 * 1024 + 1));
            // "x-2.vdp" is the previous file of "VdSession-x.vdp".
            const QString refused = QString::fromLatin1(input), path = input == "x-2.vdp" ? session->writeFile("VdSession-x.vdp", R"({"vm settings": {}})") : refused;
            actual = s->loadFromVdp(path) ? "loaded" : "refused";
            s->saveToVdp(); // reads the same path once more
            // The checker reads through the same function, so it names the reason the load had.
            actual += QStringLiteral(": ") + VdSessionCheck::checkFile(refused).errorString();
        } else {
            // The link alone is 40 MB; reading it takes under 40 MB more, splitting its piece at every
            // "=" 190 MB (Qt 5) or more.
            const QString link = QString::fromLatin1(input).arg(QString(20'000'000, QLatin1Char('=')));
            const qint64 before = residentPeakMiB();
            QVERIFY(s->loadFromWeb(link));
            QVERIFY2(residentPeakMiB() - before < 120, qPrintable(QString::number(residentPeakMiB() - before)));
            actual = s->serverIp();
        }
        QCOMPARE(actual, expected);
    }
};

QTEST_GUILESS_MAIN(tst_DataSafety)
#include "tst_datasafety.moc"
