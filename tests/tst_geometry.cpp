#include <QtTest/QtTest>

class tst_Geometry : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(tst_Geometry)
#include "tst_geometry.moc"
