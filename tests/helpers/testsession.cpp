#include "testsession.h"

#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <spdlog/sinks/base_sink.h>
#include <spdlog/spdlog.h>

#include <mutex>

struct LogCapture::State
{
    QVector<Message> messages;
    QVector<QtMessage> qtMessages;
    std::shared_ptr<spdlog::logger> previousLogger;
    QtMessageHandler previousHandler = nullptr;
};

namespace {

LogCapture::State *s_capture = nullptr;

class CaptureSink : public spdlog::sinks::base_sink<std::mutex>
{
protected:
    void sink_it_(const spdlog::details::log_msg &message) override
    {
        if (s_capture)
            s_capture->messages.append({message.level, QString::fromUtf8(message.payload.data(), int(message.payload.size()))});
    }
    void flush_() override {}
};

void captureQtMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (s_capture)
        s_capture->qtMessages.append({type, text});
}

} // namespace

LogCapture::LogCapture()
    : m_state(std::make_shared<State>())
{
    Q_ASSERT(!s_capture);
    s_capture = m_state.get();
    m_state->previousLogger = spdlog::default_logger();
    auto logger = std::make_shared<spdlog::logger>("capture", std::make_shared<CaptureSink>());
    logger->set_level(spdlog::level::trace);
    spdlog::set_default_logger(logger);
    m_state->previousHandler = qInstallMessageHandler(captureQtMessage);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_state->previousHandler);
    spdlog::set_default_logger(m_state->previousLogger);
    s_capture = nullptr;
}

const QVector<LogCapture::Message> &LogCapture::messages() const { return m_state->messages; }
const QVector<LogCapture::QtMessage> &LogCapture::qtMessages() const { return m_state->qtMessages; }

int LogCapture::count(spdlog::level::level_enum level, const QString &text) const
{
    return int(std::count_if(m_state->messages.cbegin(), m_state->messages.cend(),
                             [&](const Message &m) { return m.level == level && m.text == text; }));
}

int LogCapture::countQt(QtMsgType type, const QString &prefix) const
{
    return int(std::count_if(m_state->qtMessages.cbegin(), m_state->qtMessages.cend(),
                             [&](const QtMessage &m) { return m.type == type && m.text.startsWith(prefix); }));
}

QString LogCapture::dump() const
{
    QStringList lines;
    for (const Message &m : m_state->messages)
        lines << QStringLiteral("[%1] %2").arg(QString::fromUtf8(spdlog::level::to_string_view(m.level).data())).arg(m.text);
    for (const QtMessage &m : m_state->qtMessages)
        lines << QStringLiteral("[qt %1] %2").arg(int(m.type)).arg(m.text);
    return lines.join(QLatin1Char('\n'));
}

void LogCapture::clear()
{
    m_state->messages.clear();
    m_state->qtMessages.clear();
}

TestSession::TestSession()
    : m_previousHome(qgetenv("HOME"))
    , m_previousWorkDir(QDir::currentPath().toUtf8())
{
    if (!m_home.isValid() || !m_workDir.isValid())
        qFatal("cannot make the temporary HOME and working directory");
    qputenv("HOME", m_home.path().toUtf8());
    // The documents folder comes from the user's XDG directories; keep them inside HOME too.
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toUtf8());
    qunsetenv("XDG_DOCUMENTS_DIR");
    QDir(m_home.path()).mkpath(QStringLiteral("Documents"));
    QDir::setCurrent(m_workDir.path());
    restart();
}

TestSession::~TestSession()
{
    QDir::setCurrent(QString::fromUtf8(m_previousWorkDir));
    qputenv("HOME", m_previousHome);
}

VdSessionSettings *TestSession::settings() const { return VdSessionSettings::instance(); }
VdSessionSettingsPrivate *TestSession::d() const { return VdSessionSettingsPrivate::get(settings()); }

void TestSession::restart()
{
    VdSessionSettingsPrivate::startUp(settings());
    m_log.clear();
}

QString TestSession::writeFile(const QString &path, const QByteArray &content) const
{
    const QString absolute = QDir(m_workDir.path()).absoluteFilePath(path);
    QDir().mkpath(QFileInfo(absolute).absolutePath());
    QFile file(absolute);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(absolute));
    return absolute;
}

QString TestSession::copyFixture(const QString &fixture, const QString &path) const
{
    QFile source(fixture);
    if (!source.open(QIODevice::ReadOnly))
        qFatal("no fixture %s", qPrintable(source.fileName()));
    return writeFile(path, source.readAll());
}

QByteArray TestSession::readFile(const QString &path) const
{
    QFile file(QDir(m_workDir.path()).absoluteFilePath(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
