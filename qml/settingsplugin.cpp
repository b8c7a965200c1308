#include <vdsessionsettings/vdsessionsettings.h>

#include <QQmlEngine>
#include <QQmlExtensionPlugin>

namespace {

// Called on the engine's thread when a page first reads "Settings", so the object is never
// created on the loader's thread that runs registerTypes().
QObject *provideSettings(QQmlEngine *, QJSEngine *)
{
    // Every engine, and the C++ side, shares this one object; no engine may delete it.
    VdSessionSettings *settings = VdSessionSettings::instance();
    QQmlEngine::setObjectOwnership(settings, QQmlEngine::CppOwnership);
    return settings;
}

} // namespace

// Lets a page import com.virtual.vdi 1.0 in any QML program, qmlscene and qml included, whether or
// not a host has registered the singleton already.
class VdSessionSettingsPlugin : public QQmlExtensionPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QQmlExtensionInterface_iid)

public:
    void registerTypes(const char *uri) override
    {
        qmlRegisterSingletonType<VdSessionSettings>(uri, 1, 0, "Settings", provideSettings);
    }
};

#include "settingsplugin.moc"
