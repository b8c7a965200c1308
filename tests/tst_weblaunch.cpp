#include <QtTest/QtTest>

class tst_WebLaunch : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(tst_WebLaunch)
#include "tst_weblaunch.moc"
