#include <QtTest/QtTest>

class tst_SessionLoader : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(tst_SessionLoader)
#include "tst_sessionloader.moc"
