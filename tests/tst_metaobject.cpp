#include <vdsessionsettings/vdsessionsettings.h>

#include "testsession.h"

#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QtTest/QtTest>

// The meta-object is part of the interface: QML and other meta-object clients reach signals,
// methods and properties by index, so every index, name and type is checked here.
class tst_MetaObject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void classInfo();
    void enumerations_data();
    void enumerations();
    void methods_data();
    void methods();
    void properties_data();
    void properties();
    void readOnlyWritesDoNothing();
    void commonEnumerationsAreIntegers();
};

static const QMetaObject &meta() { return VdSessionSettings::staticMetaObject; }

void tst_MetaObject::classInfo()
{
    QCOMPARE(meta().className(), "VdSessionSettings");
    QCOMPARE(meta().superClass(), &QObject::staticMetaObject);
    QCOMPARE(meta().classInfoCount() - meta().classInfoOffset(), 0);
    QCOMPARE(meta().constructorCount(), 0);
    QCOMPARE(meta().enumeratorCount() - meta().enumeratorOffset(), 14);
    QCOMPARE(meta().methodCount() - meta().methodOffset(), 57);
    QCOMPARE(meta().propertyCount() - meta().propertyOffset(), 40);

    TestSession session;
    QVERIFY(session.settings()->qt_metacast("VdSessionSettings"));
    QVERIFY(session.settings()->qt_metacast("QObject"));
    QVERIFY(!session.settings()->qt_metacast("Settings"));
}

void tst_MetaObject::enumerations_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("keys");

    const QList<QPair<const char *, const char *>> enums = {
        {"StreamControlType", "TYPE_STREAM_NONE=-1 TYPE_STREAM_OFFICE=0 TYPE_STREAM_VIDEO=1 TYPE_STREAM_HD=2 TYPE_STREAM_ALWAYS=3"},
        {"ImageControlType", "TYPE_COMPRESS_LOSSLESS=0 TYPE_COMPRESS_JPEG=1"},
        {"ResolutionModeType", "TYPE_ACTUAL_SIZE=0 TYPE_FIT_MAP=1"},
        {"VgpuDecodeType", "Hardware_VgpuDecode_TYPE=0 Software_VgpuDecode_TYPE=1 Auto_VgpuDecode_TYPE=2"},
        {"VgpuQPType", "VgpuQPType_BEGIN=0 VgpuQPType_H=1 VgpuQPType_M=2 VgpuQPType_L=3"},
        {"ConfigMode", "ConfigModePreDefine=0 ConfigModeUserDefine=1"},
        {"WindowStyle", "FullScreen=0 Window=1"},
        {"MouseMode", "LOCAL_MODE=0 SERVER_MODE=1"},
        {"VdSessionProgramType", "VdpVM=0 RdpVM=1 RdpPC=2 RdpVApp=3"},
        {"AutoBreakTime", "AUTO_BREAK_TIME_5M=0 AUTO_BREAK_TIME_15M=1 AUTO_BREAK_TIME_30M=2 AUTO_BREAK_TIME_1H=3 AUTO_BREAK_TIME_NO=4"},
        {"WindowMode", "SingleWindowMode=0 MultiSDLWindowMode=1 MultiVdpWindowMode=2"},
        {"RenderMode", "RenderModeTotal=0 RenderModePart=1"},
        {"RenderSystemMode", "RenderSystemDEFAULT=0 RenderSystemSDL=1 RenderSystemXCB=2"},
        {"Display4KType", "Display_4K_Default=0 Display_4K_ApplyForVm=1 Display_4K_OperateForVm=2 Display_4K_OldPlatform=3"},
    };
    for (int i = 0; i < enums.size(); ++i)
        QTest::newRow(enums[i].first) << i << QByteArray(enums[i].first) << QByteArray(enums[i].second);
}

void tst_MetaObject::enumerations()
{
    QFETCH(int, index);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, keys);

    const QMetaEnum e = meta().enumerator(meta().enumeratorOffset() + index);
    QCOMPARE(QByteArray(e.name()), name);
    QVERIFY(!e.isFlag());
    QVERIFY(!e.isScoped());
    QByteArrayList actual;
    for (int k = 0; k < e.keyCount(); ++k)
        actual << QByteArray(e.key(k)) + '=' + QByteArray::number(e.value(k));
    QCOMPARE(actual.join(' '), keys);
}

void tst_MetaObject::methods_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<QByteArray>("returnType");
    QTest::addColumn<int>("type");

    const int signal = QMetaMethod::Signal;
    const int method = QMetaMethod::Method;
    const QList<QByteArray> signalNames = {
        "uuidChanged()", "currentNicknameChanged()", "clientTypeChanged()", "isThinClientChanged(bool)",
        "currentUsernameChanged()", "resolutionChanged()", "vgpuQPTypeChanged()", "enableVgpuQPTypeChanged()",
        "platformDecodeEnableChanged()", "compressModeEnableChanged()", "forceDistributionDecodeChanged()",
        "vgpuDecodeTypeChanged()", "serverIpChanged()", "serverPortChanged()", "isShowMinimizeChanged()",
        "serverTypeChanged()", "protocolChanged()", "toolbarStyleChanged()", "windowStyleChanged()",
        "skinChanged()", "curServerArchChanged()", "streamModeChanged()", "imgCompressChanged()",
        "jpegQualityChanged()", "autoBreakSecondTimesChanged()", "isAutoHideToolbarChanged()",
        "windowModeChanged()", "renderModeChanged()", "isMultiScreenChanged()", "isEnableUpmPolicyChanged()",
        "geometryChanged(int)", "configModeChanged()", "logLevelChanged(int)", "streamDataDumpEnabledChanged(bool)",
        "renderDriverValueChanged(int)", "display4KTypeChanged()", "mouseModeChanged()", "d3dDebugEnabledChanged()",
    };
    for (int i = 0; i < signalNames.size(); ++i)
        QTest::addRow("%d %s", i, signalNames[i].constData()) << i << signalNames[i] << QByteArray("void") << signal;

    const QList<QPair<QByteArray, QByteArray>> methods = {
        {"isWindows()", "bool"},
        {"loadFromVdp(QString)", "bool"},
        {"getVdpPath()", "QString"},
        {"isLangEnglish()", "bool"},
        {"isShowMinimize()", "bool"},
        {"geometry(QRect,int)", "QRect"},
        {"geometry(QRect)", "QRect"},
        {"setGeometry(QRect,int)", "void"},
        {"setGeometry(QRect)", "void"},
        {"noMoreshowDialog()", "bool"},
        {"setNoMoreshowDialog(bool)", "void"},
        {"windowMode()", "WindowMode"},
        {"setWindowMode(WindowMode)", "void"},
        {"setMouseMode(MouseMode)", "void"},
        {"getVmName()", "QString"},
        {"getPoolName()", "QString"},
        {"getVideoModeActual()", "int"},
        {"getVmUuid()", "QString"},
        {"isStartByWeb()", "bool"},
    };
    for (int i = 0; i < methods.size(); ++i) {
        const int index = 38 + i;
        QTest::addRow("%d %s", index, methods[i].first.constData()) << index << methods[i].first << methods[i].second << method;
    }
}

void tst_MetaObject::methods()
{
    QFETCH(int, index);
    QFETCH(QByteArray, signature);
    QFETCH(QByteArray, returnType);
    QFETCH(int, type);

    const QMetaMethod m = meta().method(meta().methodOffset() + index);
    QCOMPARE(m.methodSignature(), signature);
    QCOMPARE(QByteArray(m.typeName()), returnType);
    QCOMPARE(int(m.methodType()), type);
    QCOMPARE(m.access(), QMetaMethod::Public);
}

void tst_MetaObject::properties_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QByteArray>("notify");
    QTest::addColumn<bool>("constant");

    struct Row { const char *name, *type; bool writable; const char *notify; bool constant; };
    const QList<Row> rows = {
        {"uuid",                    "QString",            true,  "uuidChanged",                    false},
        {"currentUsername",         "QString",            true,  "currentUsernameChanged",         false},
        {"currentNickname",         "QString",            true,  "currentNicknameChanged",         false},
        {"protocol",                "QString",            true,  "protocolChanged",                false},
        {"isShowMinimize",          "bool",               true,  "isShowMinimizeChanged",          false},
        {"clientType",              "ClientType",         true,  "clientTypeChanged",              false},
        {"isThinClient",            "bool",               true,  "isThinClientChanged",            false},
        {"serverIp",                "QString",            true,  "serverIpChanged",                false},
        {"serverPort",              "ushort",             true,  "serverPortChanged",              false},
        {"serverType",              "ServerType",         true,  "serverTypeChanged",              false},
        {"vgpuDecodeType",          "VgpuDecodeType",     true,  "vgpuDecodeTypeChanged",          false},
        {"vgpuDecodeTypePlatform",  "VgpuDecodeType",     false, "",                               false},
        {"toolbarStyle",            "int",                true,  "toolbarStyleChanged",            false},
        {"isAutoHideToolbar",       "bool",               true,  "isAutoHideToolbarChanged",       false},
        {"windowStyle",             "WindowStyle",        true,  "windowStyleChanged",             false},
        {"skin",                    "QString",            true,  "skinChanged",                    false},
        {"curServerArch",           "QString",            true,  "curServerArchChanged",           false},
        {"streamMode",              "StreamControlType",  true,  "streamModeChanged",              false},
        {"imgCompress",             "ImageControlType",   true,  "imgCompressChanged",             false},
        {"imgCompressPlatform",     "ImageControlType",   false, "",                               false},
        {"jpegQuality",             "int",                true,  "jpegQualityChanged",             false},
        {"jpegQualityPlatform",     "int",                false, "",                               false},
        {"resolution",              "QString",            true,  "resolutionChanged",              false},
        {"vgpuQPType",              "VgpuQPType",         true,  "vgpuQPTypeChanged",              false},
        {"vgpuQPTypePlatform",      "VgpuQPType",         false, "",                               false},
        {"forceDistributionDecode", "bool",               true,  "forceDistributionDecodeChanged", false},
        {"isRdp",                   "bool",               false, "",                               true},
        {"autoBreakSecondTimes",    "AutoBreakTime",      true,  "autoBreakSecondTimesChanged",    false},
        {"configMode",              "ConfigMode",         true,  "configModeChanged",              false},
        {"platformUnifiedConfig",   "bool",               false, "",                               false},
        {"windowMode",              "WindowMode",         true,  "windowModeChanged",              false},
        {"renderMode",              "RenderMode",         true,  "renderModeChanged",              false},
        {"isMultiScreen",           "bool",               true,  "isMultiScreenChanged",           false},
        {"isEnableUpmPolicy",       "bool",               true,  "isEnableUpmPolicyChanged",       false},
        {"logLevel",                "int",                true,  "logLevelChanged",                false},
        {"streamDataDumpEnabled",   "bool",               true,  "streamDataDumpEnabledChanged",   false},
        {"renderDriverValue",       "QString",            true,  "renderDriverValueChanged",       false},
        {"display4KType",           "Display4KType",      true,  "display4KTypeChanged",           false},
        {"mouseMode",               "MouseMode",          true,  "mouseModeChanged",               false},
        {"d3dDebugEnabled",         "bool",               true,  "d3dDebugEnabledChanged",         false},
    };
    for (int i = 0; i < rows.size(); ++i) {
        QTest::addRow("%d %s", i, rows[i].name) << i << QByteArray(rows[i].name) << QByteArray(rows[i].type)
                                                << rows[i].writable << QByteArray(rows[i].notify) << rows[i].constant;
    }
}

void tst_MetaObject::properties()
{
    QFETCH(int, index);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, type);
    QFETCH(bool, writable);
    QFETCH(QByteArray, notify);
    QFETCH(bool, constant);

    const QMetaProperty p = meta().property(meta().propertyOffset() + index);
    QCOMPARE(QByteArray(p.name()), name);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCOMPARE(QByteArray(p.typeName()), type);
#else
    // Qt 6 names a property's type by its qualified C++ name.
    QCOMPARE(QByteArray(p.typeName()).split(':').last(), type);
#endif
    QVERIFY(p.isReadable());
    QCOMPARE(p.isWritable(), writable);
    QCOMPARE(p.isConstant(), constant);
    QVERIFY(!p.isResettable());
    QVERIFY(p.isDesignable() && p.isScriptable() && p.isStored());
    QCOMPARE(p.hasNotifySignal(), !notify.isEmpty());
    if (!notify.isEmpty())
        QCOMPARE(QByteArray(p.notifySignal().name()), notify);
    // Enumerations of the class resolve to themselves; the common library's travel as int.
    const bool ownEnum = QByteArray(p.typeName()).front() >= 'A' && QByteArray(p.typeName()).front() <= 'Z'
        && !QByteArray(p.typeName()).startsWith("Q");
    if (ownEnum && type != "ClientType" && type != "ServerType")
        QVERIFY(p.isEnumType());
}

void tst_MetaObject::readOnlyWritesDoNothing()
{
    TestSession session;
    VdSessionSettings *s = session.settings();
    QVERIFY(!s->setProperty("isRdp", true));
    QVERIFY(!s->setProperty("jpegQualityPlatform", 10));
    QCOMPARE(s->property("isRdp").toBool(), false);
    QCOMPARE(s->property("jpegQualityPlatform").toInt(), 95);
}

void tst_MetaObject::commonEnumerationsAreIntegers()
{
    TestSession session;
    VdSessionSettings *s = session.settings();
    QVERIFY(s->setProperty("serverType", 1));
    QCOMPARE(s->serverType(), Vdp::ServerType(1));
    QCOMPARE(s->property("serverType").toInt(), 1);
    QVERIFY(s->setProperty("clientType", 3));
    QCOMPARE(s->property("clientType").toInt(), 3);
    QCOMPARE(s->property("serverPort").toInt(), 8860);
}

QTEST_GUILESS_MAIN(tst_MetaObject)
#include "tst_metaobject.moc"
