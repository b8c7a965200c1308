#ifndef TESTSESSION_H
#define TESTSESSION_H

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVector>

#include <spdlog/common.h>

#include <memory>

class VdSessionSettings;
class VdSessionSettingsPrivate;

// Everything the library writes to its two channels, the default spdlog logger and Qt's
// message handler, while it lives. Only one may live at a time.
class LogCapture
{
public:
    struct Message
    {
        spdlog::level::level_enum level;
        QString text;
    };
    struct QtMessage
    {
        QtMsgType type;
        QString text;
    };

    LogCapture();
    ~LogCapture();

    const QVector<Message> &messages() const;
    const QVector<QtMessage> &qtMessages() const;

    // How often the logger got exactly @p text at @p level.
    int count(spdlog::level::level_enum level, const QString &text) const;
    bool contains(spdlog::level::level_enum level, const QString &text) const { return count(level, text) > 0; }
    // How often Qt's handler got a message of @p type that starts with @p prefix.
    int countQt(QtMsgType type, const QString &prefix) const;
    bool containsQt(QtMsgType type, const QString &prefix) const { return countQt(type, prefix) > 0; }
    // Every text the logger got, one per line, for failure messages.
    QString dump() const;

    void clear();

    struct State;

private:
    std::shared_ptr<State> m_state;
};

// One test case's world: a temporary HOME (so the documents folder is the case's own) and
// working directory, a fresh settings record, and a log capture. Create one in init() and drop
// it in cleanup().
class TestSession
{
public:
    TestSession();
    ~TestSession();

    VdSessionSettings *settings() const;
    VdSessionSettingsPrivate *d() const;
    LogCapture &log() { return m_log; }

    QString home() const { return m_home.path(); }
    QString documents() const { return m_home.path() + QStringLiteral("/Documents"); }
    QString workDir() const { return m_workDir.path(); }

    // Writes @p content to @p path (relative to the working directory unless absolute), creating
    // the folders on the way, and returns the absolute path.
    QString writeFile(const QString &path, const QByteArray &content) const;
    // Copies the fixture @p fixture (found with QFINDTESTDATA) to @p path and returns the absolute path.
    QString copyFixture(const QString &fixture, const QString &path) const;
    QByteArray readFile(const QString &path) const;

    // Builds a fresh record again, as at start-up; call after writing the files it reads.
    void restart();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_workDir;
    QByteArray m_previousHome;
    QByteArray m_previousWorkDir;
    LogCapture m_log;
};

#endif
