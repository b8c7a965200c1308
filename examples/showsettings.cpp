// Loads the settings library and prints the settings of a fresh session, property by property,
// as QML sees them.

#include <vdsessionsettings/vdsessionsettings.h>

#include <QCoreApplication>
#include <QMetaProperty>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    VdSessionSettings *settings = VdSessionSettings::instance();

    QTextStream out(stdout);
    const QMetaObject *meta = settings->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        out << property.name() << " = " << property.read(settings).toString() << '\n';
    }
    return 0;
}
