#include <QtTest/QtTest>

class tst_Writer : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(tst_Writer)
#include "tst_writer.moc"
