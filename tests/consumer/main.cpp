#include <vdsessionsettings/sessioncheck.h>
#include <vdsessionsettings/vdsessionsettings.h>

#include <QMetaProperty>

#include <cstdio>

int main()
{
    VdSessionSettings *settings = VdSessionSettings::instance();
    const QMetaObject *meta = settings->metaObject();
    const QVariant protocol = meta->property(meta->indexOfProperty("protocol")).read(settings);
    std::printf("protocol=%s\n", qPrintable(protocol.toString()));
    const bool checks = VdSessionCheck::checkDocument("{\"window mode\": 1}").layout() == VdSessionCheck::Layout::Current;
    return protocol.toString() == QLatin1String("vdp") && checks ? 0 : 1;
}
