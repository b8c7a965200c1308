#include <vdsessionsettings/vdsessionsettings.h>

#include "testsession.h"

#include <QMetaEnum>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QtTest/QtTest>

// QML and other meta-object clients reach enumerations, signals, methods and properties by name
// and index, so the whole meta-object is compared with a golden text: a renamed key, a changed
// value, a lost NOTIFY or a reordered declaration shows as a changed line.
class tst_MetaObject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeMetaObject()
    {
        const QMetaObject &meta = VdSessionSettings::staticMetaObject;
        QByteArrayList lines{QByteArray(meta.className()) + " : " + meta.superClass()->className()};
        lines << "classinfo " + QByteArray::number(meta.classInfoCount() - meta.classInfoOffset())
                     + ", constructors " + QByteArray::number(meta.constructorCount());
        for (int i = meta.enumeratorOffset(); i < meta.enumeratorCount(); ++i) {
            const QMetaEnum e = meta.enumerator(i);
            QByteArray line = QByteArray::number(i - meta.enumeratorOffset()) + " enum " + e.name()
                + (e.isFlag() ? " flag" : "") + (e.isScoped() ? " scoped" : "") + ":";
            for (int k = 0; k < e.keyCount(); ++k)
                line += ' ' + QByteArray(e.key(k)) + '=' + QByteArray::number(e.value(k));
            lines << line;
        }
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod m = meta.method(i);
            static const char *const kinds[] = {"method", "signal", "slot", "constructor"};
            lines << QByteArray::number(i - meta.methodOffset()) + ' ' + kinds[m.methodType()] + ' ' + m.typeName() + ' '
                    + m.methodSignature() + (m.access() == QMetaMethod::Public ? "" : " not-public");
        }
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const QMetaProperty p = meta.property(i);
            QByteArray typeName = p.typeName();
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
            // Qt 6 names a property declared with a type alias by the type the alias stands for.
            typeName.replace("Vdp::", "").replace("VdSessionSettings::", "");
#endif
            lines << QByteArray::number(i - meta.propertyOffset()) + " property " + typeName + ' ' + p.name()
                    + (p.isReadable() ? " READ" : "") + (p.isWritable() ? " WRITE" : "")
                    + (p.hasNotifySignal() ? " NOTIFY " + p.notifySignal().methodSignature() : QByteArray())
                    + (p.isConstant() ? " CONSTANT" : "") + (p.isResettable() ? " RESET" : "") + (p.isEnumType() ? " enum" : "")
                    + (p.isDesignable() && p.isScriptable() && p.isStored() ? "" : " not-default-marks");
        }
        COMPARE_GOLDEN(lines.join('\n') + '\n', "metaobject.txt");
    }
};

QTEST_GUILESS_MAIN(tst_MetaObject)
#include "tst_metaobject.moc"
