#include <vdsessionsettings/vdsessionsettings.h>

#include "private/vdsessionsettings_p.h"
#include "testsession.h"

#include <QSignalSpy>
#include <QtTest/QtTest>

using S = VdSessionSettings;

namespace {

const QString warning = QStringLiteral("showArea is bigger than screen, so correct showArea to width: %1, height: %2");

// Marks a row whose screen id has no remembered rectangle at all.
const QRect nothing(0, 0, -7, -7);

} // namespace

class tst_Geometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void placement_data();
    void placement();
    void placementLog();
    void placementInsertsMissingScreen();
    void menuBarLine();
    void setGeometryRecords_data();
    void setGeometryRecords();
    void resolution();
    void displayRes();

private:
    std::unique_ptr<TestSession> session;
};

// One row per placement: the screen, what the settings remember for it, the window rectangle
// handed back, what ends up stored, and whether the too-big warning came.
void tst_Geometry::placement_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("remembered");
    QTest::addColumn<QRect>("result");
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<bool>("warned");

    const QRect hd(0, 0, 1920, 1080);
    const QRect leftOfPrimary(-1920, 0, 1920, 1080);
    const QRect abovePrimary(0, -1080, 1920, 1080);

    // Nothing remembered (the null rectangle of a fresh record, or no entry at all).
    QTest::newRow("default, 1920x1080")       << hd                        << QRect()              << QRect(463, 139, 994, 801)    << QRect(463, 139, 994, 801)    << false;
    QTest::newRow("default, no entry")        << hd                        << nothing              << QRect(463, 139, 994, 801)    << QRect(463, 139, 994, 801)    << false;
    QTest::newRow("default, 800x600")         << QRect(0, 0, 800, 600)     << QRect()              << QRect(-97, -100, 994, 801)   << QRect(-97, -100, 994, 801)   << true;
    QTest::newRow("default, 1024x768")        << QRect(0, 0, 1024, 768)    << QRect()              << QRect(15, -16, 994, 801)     << QRect(15, -16, 994, 801)     << true;
    QTest::newRow("default, exactly default") << QRect(0, 0, 994, 801)     << QRect()              << QRect(0, 0, 994, 801)        << QRect(0, 0, 994, 801)        << false;
    QTest::newRow("default, odd offset")      << QRect(100, 200, 1001, 803) << QRect()             << QRect(103, 201, 994, 801)    << QRect(103, 201, 994, 801)    << false;
    QTest::newRow("default, left monitor")    << leftOfPrimary             << QRect()              << QRect(-1457, 139, 994, 801)  << QRect(-1457, 139, 994, 801)  << false;
    QTest::newRow("default, upper monitor")   << abovePrimary              << QRect()              << QRect(463, -941, 994, 801)   << QRect(463, -941, 994, 801)   << false;
    QTest::newRow("default, upper-left 1280x1024") << QRect(-1280, -1024, 1280, 1024) << QRect()   << QRect(-1137, -913, 994, 801) << QRect(-1137, -913, 994, 801) << false;
    QTest::newRow("zero width remembered")    << hd                        << QRect(300, 200, 0, 500) << QRect(463, 139, 994, 801) << QRect(463, 139, 994, 801)    << false;

    // Remembered and usable: kept as it is; only the record grows to the minimum size.
    QTest::newRow("kept, smaller than minimum") << hd                      << QRect(100, 50, 1000, 700) << QRect(100, 50, 1000, 700) << QRect(100, 50, 1000, 801) << false;
    QTest::newRow("kept, full width")         << hd                        << QRect(0, 100, 1920, 900) << QRect(0, 100, 1920, 900) << QRect(0, 100, 1920, 900)  << false;

    // Left and right margins: the snapped width is 1186 for a 1200 wide window.
    QTest::newRow("right edge at left+4")     << hd                        << QRect(-1195, 300, 1200, 900) << QRect(367, 300, 1186, 900) << QRect(367, 300, 1186, 900) << false;
    QTest::newRow("right edge at left+5")     << hd                        << QRect(-1194, 300, 1200, 900) << QRect(-1194, 300, 1200, 900) << QRect(-1194, 300, 1200, 900) << false;
    QTest::newRow("left edge at right-4")     << hd                        << QRect(1915, 300, 1200, 900) << QRect(367, 300, 1186, 900) << QRect(367, 300, 1186, 900) << false;
    QTest::newRow("left edge at right-5")     << hd                        << QRect(1914, 300, 1200, 900) << QRect(1914, 300, 1200, 900) << QRect(1914, 300, 1200, 900) << false;
    QTest::newRow("left monitor, right at left+4") << leftOfPrimary        << QRect(-3115, 300, 1200, 900) << QRect(-1553, 300, 1186, 900) << QRect(-1553, 300, 1186, 900) << false;
    QTest::newRow("left monitor, right at left+5") << leftOfPrimary        << QRect(-3114, 300, 1200, 900) << QRect(-3114, 300, 1200, 900) << QRect(-3114, 300, 1200, 900) << false;

    // Top above the screen, and the band above the bottom edge.
    QTest::newRow("top above screen")         << hd                        << QRect(200, -50, 1200, 900) << QRect(200, 0, 1200, 897)   << QRect(200, 0, 1200, 897)    << false;
    QTest::newRow("upper monitor, top at its top") << abovePrimary         << QRect(200, -1080, 1200, 900) << QRect(200, -1080, 1200, 900) << QRect(200, -1080, 1200, 900) << false;
    QTest::newRow("upper monitor, top one above") << abovePrimary          << QRect(200, -1081, 1200, 900) << QRect(200, -1080, 1200, 897) << QRect(200, -1080, 1200, 897) << false;
    QTest::newRow("top at bottom-40")         << hd                        << QRect(200, 1039, 1200, 900) << QRect(200, 91, 1200, 897)  << QRect(200, 91, 1200, 897)   << false;
    QTest::newRow("top at bottom-41")         << hd                        << QRect(200, 1038, 1200, 900) << QRect(200, 1038, 1200, 900) << QRect(200, 1038, 1200, 900) << false;

    // On another monitor: centred with the snapped size, which is exact on the grid.
    QTest::newRow("other monitor")            << hd                        << QRect(2200, 1200, 1200, 900) << QRect(367, 91, 1186, 897) << QRect(367, 91, 1186, 897)  << false;
    QTest::newRow("other monitor, on grid")   << hd                        << QRect(2000, 1100, 1202, 897) << QRect(359, 91, 1202, 897) << QRect(359, 91, 1202, 897)  << false;
    QTest::newRow("other monitor, off grid")  << hd                        << QRect(2000, 1100, 1201, 896) << QRect(367, 99, 1186, 881) << QRect(367, 99, 1186, 881)  << false;
    QTest::newRow("other monitor, small")     << hd                        << QRect(2000, 1100, 500, 400)  << QRect(711, 347, 498, 385) << QRect(711, 347, 994, 801)  << false;
    QTest::newRow("other monitor, 1 narrower") << hd                       << QRect(1915, 1100, 1919, 900) << QRect(7, 91, 1906, 897)   << QRect(7, 91, 1906, 897)    << false;
    QTest::newRow("other monitor, as wide")   << hd                        << QRect(1915, 1100, 1920, 900) << QRect(463, 91, 994, 897)  << QRect(463, 91, 994, 897)   << false;
    QTest::newRow("primary from left monitor") << leftOfPrimary            << QRect(300, 200, 1200, 900)   << QRect(-1553, 200, 1186, 900) << QRect(-1553, 200, 1186, 900) << false;

    // Larger than the screen: centred with the default width, then cut to the default size.
    QTest::newRow("bigger than screen")       << QRect(0, 0, 1366, 768)    << QRect(0, 0, 1920, 1080)   << QRect(186, 0, 994, 801)   << QRect(186, 0, 994, 801)    << true;
}

void tst_Geometry::placement()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, remembered);
    QFETCH(QRect, result);
    QFETCH(QRect, stored);
    QFETCH(bool, warned);

    const int screenId = 1;
    QMap<int, QRect> &geometrys = session->d()->mGeometrys_;
    if (remembered != nothing)
        geometrys.insert(screenId, remembered);
    QSignalSpy changed(session->settings(), &S::geometryChanged);
    session->log().clear();

    QCOMPARE(session->settings()->geometry(screen, screenId), result);

    QCOMPARE(geometrys.value(screenId), stored);
    QCOMPARE(geometrys.value(0), QRect());
    if (stored == remembered) {
        QCOMPARE(changed.count(), 0);
    } else {
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), screenId);
    }
    const int warnings = int(std::count_if(session->log().messages().cbegin(), session->log().messages().cend(),
                                           [](const LogCapture::Message &m) { return m.level == spdlog::level::warn; }));
    QCOMPARE(warnings, warned ? 1 : 0);
    if (warned)
        QVERIFY(session->log().contains(spdlog::level::warn, warning.arg(result.width()).arg(result.height())));
}

// The worked example of a small screen, message by message.
void tst_Geometry::placementLog()
{
    session->log().clear();
    QCOMPARE(session->settings()->geometry(QRect(0, 0, 800, 600), 0), QRect(-97, -100, 994, 801));

    const QVector<LogCapture::Message> expected{
        {spdlog::level::info, QStringLiteral("desktop window screen id:0, x:0, y:0 w:800, h:600")},
        {spdlog::level::info, QStringLiteral("last geometry x:0, y:0 w:0, h:0")},
        {spdlog::level::warn, warning.arg(994).arg(801)},
        {spdlog::level::info, QStringLiteral("adjust window geometry")},
        {spdlog::level::info, QStringLiteral("VdSessionSettings::setGeometry:-97,-100,994,801 of id:0")},
    };
    const QVector<LogCapture::Message> &messages = session->log().messages();
    QCOMPARE(messages.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(messages.at(i).level, expected.at(i).level);
        QCOMPARE(messages.at(i).text, expected.at(i).text);
    }
}

void tst_Geometry::placementInsertsMissingScreen()
{
    QSignalSpy changed(session->settings(), &S::geometryChanged);
    session->settings()->geometry(QRect(1920, 0, 2560, 1440), 2);

    const QMap<int, QRect> &geometrys = session->d()->mGeometrys_;
    QCOMPARE(geometrys.keys(), (QList<int>{0, 2}));
    QCOMPARE(geometrys.value(2), QRect(1920 + 783, 319, 994, 801));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), 2);

    // Asking again for the same screen finds the rectangle just recorded and changes nothing.
    QCOMPARE(session->settings()->geometry(QRect(1920, 0, 2560, 1440), 2), QRect(1920 + 783, 319, 994, 801));
    QCOMPARE(changed.count(), 1);
}

// Only a window pulled down from above the screen reports the menu bar.
void tst_Geometry::menuBarLine()
{
    S *s = session->settings();
    s->setMenuBarHeight(28);
    s->setMenuBarHideStatus(true);
    const QString line = QStringLiteral("geometry mMenuBarHideStatus_=true, mMenuBarHeight_=28");

    session->d()->mGeometrys_.insert(1, QRect(200, 0, 1200, 900));
    s->geometry(QRect(0, 0, 1920, 1080), 1);
    QCOMPARE(session->log().count(spdlog::level::info, line), 0);

    session->d()->mGeometrys_.insert(1, QRect(200, -30, 1200, 900));
    s->geometry(QRect(0, 0, 1920, 1080), 1);
    QCOMPARE(session->log().count(spdlog::level::info, line), 1);
    QVERIFY(session->log().contains(spdlog::level::info, QStringLiteral("last geometry x:200, y:-30 w:1200, h:900")));
}

void tst_Geometry::setGeometryRecords_data()
{
    QTest::addColumn<QRect>("before");
    QTest::addColumn<QRect>("given");
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<bool>("changed");

    const QRect window(120, 80, 1280, 960);
    QTest::newRow("same rectangle")       << window << window                       << window                     << false;
    QTest::newRow("left moved")           << window << window.translated(1, 0)      << window.translated(1, 0)    << true;
    QTest::newRow("one pixel higher")     << window << window.adjusted(0, 0, 0, 1)  << window.adjusted(0, 0, 0, 1) << true;
    QTest::newRow("grown to minimum")     << QRect() << QRect(-8, -8, 640, 480)     << QRect(-8, -8, 994, 801)    << true;
    QTest::newRow("minimum equals stored") << QRect(10, 20, 994, 801) << QRect(10, 20, 993, 800) << QRect(10, 20, 994, 801) << false;
    QTest::newRow("minimum width only")   << QRect() << QRect(10, 20, 993, 802)     << QRect(10, 20, 994, 802)    << true;
    QTest::newRow("minimum height only")  << QRect() << QRect(10, 20, 995, 800)     << QRect(10, 20, 995, 801)    << true;
}

void tst_Geometry::setGeometryRecords()
{
    QFETCH(QRect, before);
    QFETCH(QRect, given);
    QFETCH(QRect, stored);
    QFETCH(bool, changed);

    session->d()->mGeometrys_.insert(3, before);
    QSignalSpy spy(session->settings(), &S::geometryChanged);
    session->log().clear();

    session->settings()->setGeometry(given, 3);

    QCOMPARE(session->d()->mGeometrys_.value(3), stored);
    QCOMPARE(spy.count(), changed ? 1 : 0);
    if (changed)
        QCOMPARE(spy.at(0).at(0).toInt(), 3);
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY2(session->log().contains(spdlog::level::info, QStringLiteral("VdSessionSettings::setGeometry:%1,%2,%3,%4 of id:3")
                                                             .arg(stored.left()).arg(stored.top()).arg(stored.width()).arg(stored.height())),
             qPrintable(session->log().dump()));
}

void tst_Geometry::resolution()
{
    S *s = session->settings();
    QSignalSpy changed(s, &S::resolutionChanged);
    s->setResolution(QStringLiteral("1280 x 720"));
    QCOMPARE(changed.count(), 0);
    s->setResolution(QStringLiteral("1920 x 1080"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(s->resolution(), QStringLiteral("1920 x 1080"));
}

void tst_Geometry::displayRes()
{
    S *s = session->settings();
    session->log().clear();
    s->setDisplayRes(QSize(2560, 1440));
    QCOMPARE(s->displayRes(), QSize(2560, 1440));
    QCOMPARE(session->log().messages().size(), 1);
    QVERIFY(session->log().contains(spdlog::level::info, QStringLiteral("setDisplayRes: w: 2560, h: 1440")));
}

QTEST_GUILESS_MAIN(tst_Geometry)
#include "tst_geometry.moc"
