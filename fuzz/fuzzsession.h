// What every harness shares: an application object, a private HOME and working directory, both
// log channels on at info with their output dropped (so the formatting of every line still runs),
// and a fresh settings record per input.
#ifndef FUZZSESSION_H
#define FUZZSESSION_H

#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <spdlog/sinks/null_sink.h>
#include <spdlog/spdlog.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace FuzzSession {

inline void dropQtMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

// The harness never touches the real user's files.
inline void start(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    static QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DOCUMENTS_DIR");
    QDir::setCurrent(home.path());

    spdlog::set_default_logger(std::make_shared<spdlog::logger>("fuzz", std::make_shared<spdlog::sinks::null_sink_mt>()));
    spdlog::set_level(spdlog::level::info);
    qInstallMessageHandler(dropQtMessage);
}

// The settings object, with the record built afresh as at start-up.
inline VdSessionSettings *freshSettings()
{
    VdSessionSettings *settings = VdSessionSettings::instance();
    VdSessionSettingsPrivate::startUp(settings);
    return settings;
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

// Writes @p content to @p path, creating its folder; a null @p content removes the file.
inline void putFile(const QString &path, const QByteArray &content)
{
    if (content.isNull()) {
        QFile::remove(path);
        return;
    }
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

// A promise of the library that the input broke: says which on stderr and aborts, so that
// libFuzzer keeps the input as a finding.
[[noreturn]] inline void broken(const QString &promise)
{
    std::fprintf(stderr, "broken promise: %s\n", promise.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace FuzzSession

// Each harness is one source file that includes this header once, so the set-up is defined here
// for all of them.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSession::start(argc, argv);
    return 0;
}

#endif
