#include <vdsessionsettings/vdsessionsettings.h>

#include <QMetaProperty>

#include <cstdio>

int main()
{
    VdSessionSettings *settings = VdSessionSettings::instance();
    const QMetaObject *meta = settings->metaObject();
    const QVariant protocol = meta->property(meta->indexOfProperty("protocol")).read(settings);
    std::printf("protocol=%s\n", qPrintable(protocol.toString()));
    return protocol.toString() == QLatin1String("vdp") ? 0 : 1;
}
