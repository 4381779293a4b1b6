#include <QtTest>

#include "models/curljoinconfargsparser.h"

using kd_app::models::CUrlJoinConfArgsParser;

class TestJoinLink : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseReplacesEarlierRequest();
};

void TestJoinLink::parse_data()
{
    QTest::addColumn<QByteArray>("arg");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("audioOnly");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("sipServer");

    QTest::newRow("server form") << QByteArray("--url=parvela://meet.example.org/joinmeeting/1001/0/secret") << true
                                 << 1 << "meet.example.org"
                                 << "1001" << false << "secret"
                                 << "";
    QTest::newRow("server form with port and audio only")
        << QByteArray("--url=parvela://10.0.0.5:8443/joinmeeting/1001/1/NO") << true << 1 << "10.0.0.5:8443"
        << "1001" << true << ""
        << "";
    QTest::newRow("server form, lower-case no is a password")
        << QByteArray("--url=parvela://s/joinmeeting/1/0/no") << true << 1 << "s"
        << "1" << false << "no"
        << "";
    QTest::newRow("server form, audio flag true is not 1")
        << QByteArray("--url=parvela://s/joinmeeting/1/true/p") << true << 1 << "s"
        << "1" << false << "p"
        << "";
    QTest::newRow("server form, non-ASCII password")
        << QByteArray("--url=parvela://s/joinmeeting/1/0/p\xc3\xa4ss") << true << 1 << "s"
        << "1" << false << QStringLiteral("päss") << "";
    QTest::newRow("server form, password part missing")
        << QByteArray("--url=parvela://s/joinmeeting/1/0") << false << 0 << ""
        << "" << false << ""
        << "";
    QTest::newRow("sip form with server")
        << QByteArray("--url=brivana://joinmeeting/2002/1/pw/sip.example.org") << true << 2 << ""
        << "2002" << true << "pw"
        << "sip.example.org";
    QTest::newRow("sip form without server") << QByteArray("--url=brivana://joinmeeting/2002/0/NO") << true << 2 << ""
                                             << "2002" << false << ""
                                             << "";
    QTest::newRow("sip form, trailing slash") << QByteArray("--url=brivana://joinmeeting/2002/0/NO/") << true << 2 << ""
                                              << "2002" << false << ""
                                              << "";
    QTest::newRow("sip form, audio flag 2") << QByteArray("--url=brivana://joinmeeting/2002/2/x") << true << 2 << ""
                                            << "2002" << false << "x"
                                            << "";
    QTest::newRow("sip form, empty number") << QByteArray("--url=brivana://joinmeeting//0/x") << false << 0 << ""
                                            << "" << false << ""
                                            << "";
    QTest::newRow("sip form, extra part")
        << QByteArray("--url=brivana://joinmeeting/1/0/x/sip/more") << false << 0 << ""
        << "" << false << ""
        << "";
    QTest::newRow("text before the link") << QByteArray("x--url=parvela://s/joinmeeting/1/0/p") << false << 0 << ""
                                          << "" << false << ""
                                          << "";
    QTest::newRow("leading blank") << QByteArray(" --url=brivana://joinmeeting/1/0/p") << false << 0 << ""
                                   << "" << false << ""
                                   << "";
    QTest::newRow("upper-case scheme") << QByteArray("--url=PARVELA://s/joinmeeting/1/0/p") << false << 0 << ""
                                       << "" << false << ""
                                       << "";
    QTest::newRow("not a link") << QByteArray("-platform") << false << 0 << ""
                                << "" << false << ""
                                << "";
    QTest::newRow("empty") << QByteArray("") << false << 0 << ""
                           << "" << false << ""
                           << "";
}

void TestJoinLink::parse()
{
    QFETCH(QByteArray, arg);
    QFETCH(bool, ok);
    QFETCH(int, protocol);
    QFETCH(QString, server);
    QFETCH(QString, number);
    QFETCH(bool, audioOnly);
    QFETCH(QString, password);
    QFETCH(QString, sipServer);

    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    QCOMPARE(parser->parse(arg.constData()), ok);
    QCOMPARE(parser->m_bIsValid, ok);
    QCOMPARE(parser->m_joinConfProtocol, protocol);
    QCOMPARE(parser->m_qstrServerAddress, server);
    QCOMPARE(parser->m_qstrConfNumber, number);
    QCOMPARE(parser->m_bIsAudioOnly, audioOnly);
    QCOMPARE(parser->m_qstrPassword, password);
    QCOMPARE(parser->m_qstrSipServerAddress, sipServer);
}

void TestJoinLink::parseReplacesEarlierRequest()
{
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    QVERIFY(parser->parse("--url=parvela://s/joinmeeting/1/1/p"));
    QVERIFY(!parser->parse(nullptr));
    QCOMPARE(parser->m_joinConfProtocol, 0);
    QCOMPARE(parser->m_qstrServerAddress, QString());
    QCOMPARE(parser->m_bIsAudioOnly, false);
}

QTEST_GUILESS_MAIN(TestJoinLink)
#include "tst_joinlink.moc"
