// Loads a session file, lets a QML page change a setting through "Settings", then saves the
// user's choices back into the file: the life of a session program, without its window.
#include <vdsessionsettings/vdsessionsettings.h>

#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: %s SESSION.vdp\n", argv[0]);
        return 2;
    }

    VdSessionSettings *settings = VdSessionSettings::instance();
    if (!settings->loadFromVdp(arguments.at(1))) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    // Before the engine resolves the import; the page then gets this very object.
    settings->qmlRegisterSingletonType();

    QQmlEngine engine;
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/sessioneditor.qml")));
    std::unique_ptr<QObject> page(component.create());
    if (!page) {
        for (const QQmlError &error : component.errors())
            std::fprintf(stderr, "%s\n", qPrintable(error.toString()));
        return 1;
    }

    std::printf("saving jpeg quality %d\n", settings->jpegQuality());
    settings->saveToVdp();
    return 0;
}
