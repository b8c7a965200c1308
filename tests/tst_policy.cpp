#include <QtTest/QtTest>

class tst_Policy : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(tst_Policy)
#include "tst_policy.moc"
