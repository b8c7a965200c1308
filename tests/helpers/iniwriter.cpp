// Another process writing "vdisettings.ini" while a test's own does: a second session program
// recording certificate choices through the library, or a launcher setting keys with QSettings.
//
//   iniwriter certificates ROUNDS PREFIX        records servers PREFIX0 .. PREFIX<ROUNDS-1>
//   iniwriter qsettings ROUNDS PREFIX FILE      sets launcher/PREFIX0 ... in FILE, one sync each

#include <vdsessionsettings/vdsessionsettings.h>

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

#include <spdlog/sinks/null_sink.h>
#include <spdlog/spdlog.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString kind = arguments.value(1);
    const int rounds = arguments.value(2).toInt();
    const QString prefix = arguments.value(3);
    spdlog::set_default_logger(std::make_shared<spdlog::logger>("quiet", std::make_shared<spdlog::sinks::null_sink_mt>()));

    if (kind == QLatin1String("certificates")) {
        for (int i = 0; i < rounds; ++i)
            VdSessionSettings::instance()->updateServerUseNewCertificate(prefix + QString::number(i), true);
    } else if (kind == QLatin1String("qsettings")) {
        QSettings settings(arguments.value(4), QSettings::IniFormat);
        for (int i = 0; i < rounds; ++i) {
            settings.setValue(QStringLiteral("launcher/") + prefix + QString::number(i), i);
            settings.sync();
        }
    } else {
        return 2;
    }
    return 0;
}
