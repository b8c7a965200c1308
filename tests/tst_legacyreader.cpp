#include <QtTest/QtTest>

class tst_LegacyReader : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(tst_LegacyReader)
#include "tst_legacyreader.moc"
