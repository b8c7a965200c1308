#include <QtTest/QtTest>

class tst_CurrentReader : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(tst_CurrentReader)
#include "tst_currentreader.moc"
