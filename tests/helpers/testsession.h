#ifndef TESTSESSION_H
#define TESTSESSION_H

#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <spdlog/logger.h>

#include <memory>
#include <vector>

class VdSessionSettings;
class VdSessionSettingsPrivate;

// Every signal @p object emits while this lives, each as its name, followed by a blank and the
// first argument when it has one.
class SignalLog
{
public:
    explicit SignalLog(QObject *object);
    // What came since the last call.
    QStringList take();

private:
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
};

// One test case's world: a documents folder and a working directory of its own, a fresh settings
// record with the user interface in Chinese whatever the machine's language, and both log channels
// caught: the default spdlog logger formats every message and keeps its errors, and Qt's messages
// are kept. Only one may live at a time.
//
// On Linux the documents folder follows HOME, which the case sets to a temporary folder. Windows
// takes it from the user's profile in the registry, so there the case points the profile's
// "Personal" folder at its own and back: the tests then run only in a scratch profile, such as the
// Wine prefix scripts/windows.sh makes, which says so with VDSESSION_TEST_SCRATCH_PROFILE=1.
class TestSession
{
public:
    TestSession();
    ~TestSession();

    VdSessionSettings *settings() const;
    VdSessionSettingsPrivate *d() const;
    QString documents() const { return m_home.path() + QStringLiteral("/Documents"); }
    QString home() const { return m_home.path(); }
    QString workDir() const { return m_workDir.path(); }
    // How often Qt's handler got a message of @p type that starts with @p prefix.
    int countQt(QtMsgType type, const QString &prefix) const;
    // The error and critical lines of the default spdlog logger, one per line.
    QString loggedSpdlog() const;

    // Writes @p content to @p path (relative to the working directory unless absolute), creating
    // the folders on the way, and returns the absolute path.
    QString writeFile(const QString &path, const QByteArray &content) const;
    QByteArray readFile(const QString &path) const;
    // Copies the fixture @p fixture (found with QFINDTESTDATA) to @p path and returns the absolute path.
    QString copyFixture(const QString &fixture, const QString &path) const { return writeFile(path, readFile(fixture)); }

    // Every setting of the record as `vdsession show --json` gives it, secrets shown, with the
    // rectangles remembered for screens 0 to 5; the case's HOME and working directory and the
    // program's directory read as $HOME, $PWD and $APPDIR. Reading the rectangles records them:
    // call it last.
    QByteArray dump() const;

    // Builds a fresh record again, as at start-up; call after writing the files it reads.
    void restart();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_workDir;
    QByteArray m_previousHome;
    QVariant m_previousDocuments;
    QByteArray m_previousWorkDir;
    std::shared_ptr<spdlog::logger> m_previousLogger;
    QtMessageHandler m_previousHandler;
};

// The first line where @p actual and the file tests/data/golden/@p name differ, or nothing; with
// VDSESSION_UPDATE_GOLDEN=1 in the environment the file is rewritten with @p actual instead.
QString goldenDifference(const QByteArray &actual, const QString &name);
#define COMPARE_GOLDEN(actual, name) QCOMPARE(goldenDifference(actual, name), QString())

#endif
