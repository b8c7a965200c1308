#include "testsession.h"

#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "settingsdump.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

#include <spdlog/sinks/base_sink.h>
#include <spdlog/spdlog.h>

#include <mutex>

namespace {
QVector<QPair<QtMsgType, QString>> s_qtMessages;
QStringList s_spdlogErrors;

// Keeps the text of error and critical lines; drops the rest once formatted.
class ErrorSink : public spdlog::sinks::base_sink<std::mutex>
{
protected:
    void sink_it_(const spdlog::details::log_msg &message) override
    {
        if (message.level >= spdlog::level::err)
            s_spdlogErrors.append(QString::fromUtf8(message.payload.data(), int(message.payload.size())));
    }
    void flush_() override {}
};
#ifdef Q_OS_WIN
const QString userShellFolders = QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
const QString documentsFolderKey = QStringLiteral("Personal");
#endif
}

SignalLog::SignalLog(QObject *object)
{
    const QMetaObject *meta = object->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        if (meta->method(i).methodType() == QMetaMethod::Signal)
            m_spies.emplace_back(new QSignalSpy(object, meta->method(i)));
}

QStringList SignalLog::take()
{
    QStringList heard;
    for (const auto &spy : m_spies) {
        for (const QVariantList &arguments : qAsConst(*spy))
            heard << QString::fromLatin1(spy->signal().left(spy->signal().indexOf('(')))
                    + (arguments.isEmpty() ? QString() : ' ' + arguments.first().toString());
        spy->clear();
    }
    return heard;
}

TestSession::TestSession()
    : m_previousHome(qgetenv("HOME"))
    , m_previousWorkDir(QDir::currentPath().toUtf8())
    , m_previousLogger(spdlog::default_logger())
{
    if (!m_home.isValid() || !m_workDir.isValid())
        qFatal("cannot make the temporary HOME and working directory");
    qputenv("HOME", m_home.path().toUtf8());
    // The documents folder comes from the user's XDG directories; keep them inside HOME too.
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toUtf8());
    qunsetenv("XDG_DOCUMENTS_DIR");
    QDir(m_home.path()).mkpath(QStringLiteral("Documents"));
#ifdef Q_OS_WIN
    if (qEnvironmentVariableIntValue("VDSESSION_TEST_SCRATCH_PROFILE") != 1)
        qFatal("The tests move the documents folder of the user's profile; run them in a scratch profile "
               "(scripts/windows.sh makes one) with VDSESSION_TEST_SCRATCH_PROFILE=1.");
    QSettings shellFolders(userShellFolders, QSettings::NativeFormat);
    m_previousDocuments = shellFolders.value(documentsFolderKey);
    shellFolders.setValue(documentsFolderKey, QDir::toNativeSeparators(documents()));
#endif
    if (QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) != documents())
        qFatal("the documents folder is %s, not the test's own", qPrintable(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    // The language is the test's, not the machine's; the golden files hold what a Chinese user
    // interface gives.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QDir::setCurrent(m_workDir.path());
    // Formatted all the same, so that a bad format string or argument shows in every test.
    auto logger = std::make_shared<spdlog::logger>("silent", std::make_shared<ErrorSink>());
    logger->set_level(spdlog::level::trace);
    spdlog::set_default_logger(logger);
    m_previousHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtFatalMsg) // the test's own, about to abort
            fprintf(stderr, "%s\n", qPrintable(text));
        s_qtMessages.append({type, text});
    });
    restart();
}

TestSession::~TestSession()
{
    qInstallMessageHandler(m_previousHandler);
    spdlog::set_default_logger(m_previousLogger);
    QDir::setCurrent(QString::fromUtf8(m_previousWorkDir));
    qputenv("HOME", m_previousHome);
#ifdef Q_OS_WIN
    QSettings shellFolders(userShellFolders, QSettings::NativeFormat);
    shellFolders.setValue(documentsFolderKey, m_previousDocuments);
#endif
}

int TestSession::countQt(QtMsgType type, const QString &prefix) const
{
    return int(std::count_if(s_qtMessages.cbegin(), s_qtMessages.cend(),
                             [&](const auto &m) { return m.first == type && m.second.startsWith(prefix); }));
}

QString TestSession::loggedSpdlog() const { return s_spdlogErrors.join(QLatin1Char('\n')); }

VdSessionSettings *TestSession::settings() const { return VdSessionSettings::instance(); }
VdSessionSettingsPrivate *TestSession::d() const { return VdSessionSettingsPrivate::get(settings()); }

void TestSession::restart()
{
    VdSessionSettingsPrivate::startUp(settings());
    s_qtMessages.clear();
    s_spdlogErrors.clear();
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

QByteArray TestSession::readFile(const QString &path) const
{
    QFile file(QDir(m_workDir.path()).absoluteFilePath(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray TestSession::dump() const
{
    QJsonObject settings = settingsToJson(*this->settings(), true);
    settings.insert(QStringLiteral("geometrys"), rememberedGeometries(*this->settings(), {0, 1, 2, 3, 4, 5}));
    return QJsonDocument(settings).toJson()
        .replace(QCoreApplication::applicationDirPath().toUtf8(), "$APPDIR")
        .replace(m_home.path().toUtf8(), "$HOME")
        .replace(m_workDir.path().toUtf8(), "$PWD");
}

QString goldenDifference(const QByteArray &actual, const QString &name)
{
    QFile file(QString::fromUtf8(GOLDEN_DIR) + QLatin1Char('/') + name);
    if (qEnvironmentVariableIntValue("VDSESSION_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        return file.open(QIODevice::WriteOnly) && file.write(actual) == actual.size() ? QString() : "cannot write " + file.fileName();
    }
    const QList<QByteArray> want = file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    const QList<QByteArray> got = actual.split('\n');
    for (int line = 0; line < qMax(want.size(), got.size()); ++line) {
        if (got.value(line) != want.value(line))
            return QStringLiteral("%1:%2: %3 instead of %4").arg(file.fileName()).arg(line + 1)
                .arg(QString::fromUtf8(got.value(line)), QString::fromUtf8(want.value(line)));
    }
    return QString();
}
