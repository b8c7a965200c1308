#include <vdsessionsettings/vdsessionsettings.h>

#include "testsession.h"

#include <QtTest/QtTest>

// The client's INI files hold UTF-8 text, whichever Qt the library is built with.
class tst_IniText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { session.reset(new TestSession); }
    void cleanup() { session.reset(); }

    void readsAndWritesUtf8();

private:
    std::unique_ptr<TestSession> session;
};

void tst_IniText::readsAndWritesUtf8()
{
    const QString path = session->copyFixture(QFINDTESTDATA("data/localconfig/vdisettings-utf8.ini"),
                                              session->documents() + "/VdSession/vdisettings.ini");
    session->restart();
    VdSessionSettings *s = session->settings();
    const QString server = QStringLiteral("vdi.m\u00fcnchen.example");
    QVERIFY(s->isServerUseNewCertificate(server));

    s->updateServerUseNewCertificate(server, false);
    const QByteArray written = session->readFile(path);
    QVERIFY2(written.contains("certificate\\1\\server=vdi.m\xc3\xbcnchen.example\n"), written.constData());
    QVERIFY2(written.contains("certificate\\1\\useNewCertificate=false\n"), written.constData());
}

QTEST_GUILESS_MAIN(tst_IniText)
#include "tst_initext.moc"
