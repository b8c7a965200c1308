#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QSignalSpy>
#include <QtTest/QtTest>

class tst_Geometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    // One row per placement: the screen, what the settings remember for it, the window rectangle
    // handed back, and what ends up stored.
    void placement_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("remembered");
        QTest::addColumn<QRect>("result");
        QTest::addColumn<QRect>("stored");

        const QRect hd(0, 0, 1920, 1080);

        QTest::newRow("nothing, odd offset")       << QRect(100, 200, 1001, 803)  << QRect()                      << QRect(103, 201, 994, 801)    << QRect(103, 201, 994, 801);
        QTest::newRow("nothing, 800x600")          << QRect(0, 0, 800, 600)       << QRect()                      << QRect(-97, -100, 994, 801)   << QRect(-97, -100, 994, 801);
        QTest::newRow("nothing, exactly default")  << QRect(0, 0, 994, 801)       << QRect()                      << QRect(0, 0, 994, 801)        << QRect(0, 0, 994, 801);
        QTest::newRow("zero width remembered")     << hd                          << QRect(300, 200, 0, 500)      << QRect(463, 139, 994, 801)    << QRect(463, 139, 994, 801);
        QTest::newRow("kept, record grows")        << hd                          << QRect(100, 50, 1000, 700)    << QRect(100, 50, 1000, 700)    << QRect(100, 50, 1000, 801);
        QTest::newRow("kept, full width")          << hd                          << QRect(0, 100, 1920, 900)     << QRect(0, 100, 1920, 900)     << QRect(0, 100, 1920, 900);
        QTest::newRow("right edge at left+4")      << QRect(-1920, 0, 1920, 1080) << QRect(-3115, 300, 1200, 900) << QRect(-1553, 300, 1186, 900) << QRect(-1553, 300, 1186, 900);
        QTest::newRow("right edge at left+5")      << QRect(-1920, 0, 1920, 1080) << QRect(-3114, 300, 1200, 900) << QRect(-3114, 300, 1200, 900) << QRect(-3114, 300, 1200, 900);
        QTest::newRow("left edge at right-4")      << hd                          << QRect(1915, 300, 1200, 900)  << QRect(367, 300, 1186, 900)   << QRect(367, 300, 1186, 900);
        QTest::newRow("left edge at right-5")      << hd                          << QRect(1914, 300, 1200, 900)  << QRect(1914, 300, 1200, 900)  << QRect(1914, 300, 1200, 900);
        QTest::newRow("top one above screen")      << QRect(0, -1080, 1920, 1080) << QRect(200, -1081, 1200, 900) << QRect(200, -1080, 1200, 897) << QRect(200, -1080, 1200, 897);
        QTest::newRow("top at screen top")         << QRect(0, -1080, 1920, 1080) << QRect(200, -1080, 1200, 900) << QRect(200, -1080, 1200, 900) << QRect(200, -1080, 1200, 900);
        QTest::newRow("top at bottom-40")          << hd                          << QRect(200, 1039, 1200, 900)  << QRect(200, 91, 1200, 897)    << QRect(200, 91, 1200, 897);
        QTest::newRow("top at bottom-41")          << hd                          << QRect(200, 1038, 1200, 900)  << QRect(200, 1038, 1200, 900)  << QRect(200, 1038, 1200, 900);
        QTest::newRow("other monitor, on grid")    << hd                          << QRect(2000, 1100, 1202, 897) << QRect(359, 91, 1202, 897)    << QRect(359, 91, 1202, 897);
        QTest::newRow("other monitor, off grid")   << hd                          << QRect(2000, 1100, 1201, 896) << QRect(367, 99, 1186, 881)    << QRect(367, 99, 1186, 881);
        QTest::newRow("other monitor, 1 narrower") << hd                          << QRect(1915, 1100, 1919, 900) << QRect(7, 91, 1906, 897)      << QRect(7, 91, 1906, 897);
        QTest::newRow("other monitor, as wide")    << hd                          << QRect(1915, 1100, 1920, 900) << QRect(463, 91, 994, 897)     << QRect(463, 91, 994, 897);
        QTest::newRow("bigger than screen")        << QRect(0, 0, 1366, 768)      << QRect(0, 0, 1920, 1080)      << QRect(186, 0, 994, 801)      << QRect(186, 0, 994, 801);
    }

    void placement()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, remembered);
        QFETCH(QRect, result);
        QFETCH(QRect, stored);

        session->d()->mGeometrys_.insert(1, remembered);
        session->settings()->setMenuBarHeight(28);
        session->settings()->setMenuBarHideStatus(true);
        QSignalSpy changed(session->settings(), &VdSessionSettings::geometryChanged);

        QCOMPARE(session->settings()->geometry(screen, 1), result);
        QCOMPARE(session->d()->mGeometrys_.value(1), stored);
        QCOMPARE(changed.count(), stored == remembered ? 0 : 1);
    }

    void setGeometryRecords_data()
    {
        QTest::addColumn<QRect>("before");
        QTest::addColumn<QRect>("given");
        QTest::addColumn<QRect>("stored");

        QTest::newRow("same rectangle")        << QRect(120, 80, 1280, 960) << QRect(120, 80, 1280, 960) << QRect(120, 80, 1280, 960);
        QTest::newRow("left moved")            << QRect(120, 80, 1280, 960) << QRect(121, 80, 1280, 960) << QRect(121, 80, 1280, 960);
        QTest::newRow("grown to minimum")      << QRect()                   << QRect(-8, -8, 640, 480)   << QRect(-8, -8, 994, 801);
        QTest::newRow("minimum equals stored") << QRect(10, 20, 994, 801)   << QRect(10, 20, 993, 800)   << QRect(10, 20, 994, 801);
        QTest::newRow("minimum width only")    << QRect()                   << QRect(10, 20, 993, 802)   << QRect(10, 20, 994, 802);
        QTest::newRow("minimum height only")   << QRect()                   << QRect(10, 20, 995, 800)   << QRect(10, 20, 995, 801);
    }

    void setGeometryRecords()
    {
        QFETCH(QRect, before);
        QFETCH(QRect, given);
        QFETCH(QRect, stored);

        session->d()->mGeometrys_.insert(3, before);
        QSignalSpy changed(session->settings(), &VdSessionSettings::geometryChanged);

        session->settings()->setGeometry(given, 3);

        QCOMPARE(session->d()->mGeometrys_.value(3), stored);
        QCOMPARE(QList<QVariantList>(changed), stored == before ? QList<QVariantList>() : QList<QVariantList>{{3}});
    }

private:
    std::unique_ptr<TestSession> session;
};

QTEST_GUILESS_MAIN(tst_Geometry)
#include "tst_geometry.moc"
