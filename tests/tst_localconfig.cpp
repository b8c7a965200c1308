#include <QtTest/QtTest>

class tst_LocalConfig : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(tst_LocalConfig)
#include "tst_localconfig.moc"
