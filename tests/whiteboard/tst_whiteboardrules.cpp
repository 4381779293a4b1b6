// The whiteboard's rules that need no browser: the page address, the page's
// log text, addresses as the log shows them, and the background picker.

#include <QPushButton>
#include <QSignalSpy>
#include <QUrlQuery>
#include <QtTest>

#include "helpers/clogformat.h"
#include "views/whiteboard/cwhiteboardbackgroundupload.h"
#include "views/whiteboard/webwhiteboardjscontext.h"
#include "views/whiteboard/whiteboardselectbgwidget.h"
#include "views/whiteboard/whiteboardwebwidget.h"
#include "webpagetest.h"

using kd_app::helpers::CLogFormat;
using kd_app::views::CWhiteBoardBackgroundUpload;
using kd_app::views::WebWhiteBoardJSContext;
using kd_app::views::WhiteBoardSelectBgWidget;
using kd_app::views::WhiteBoardWebWidget;

class TestWhiteBoardRules : public QObject
{
    Q_OBJECT

private slots:
    void pageAddress_data();
    void pageAddress();
    void uploadAddress();
    void pageLogLine_data();
    void pageLogLine();
    void tokenMaskedInLoggedAddress();
    void pickerChoices_data();
    void pickerChoices();
    void pickerAtScaleTwo();
};

void TestWhiteBoardRules::pageAddress_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("address"); // as sent

    QTest::newRow("token") << "http://127.0.0.1:8080"
                           << "eyJh.eyJz.c2ln-_"
                           << "http://127.0.0.1:8080/acs/index.html?jwt=eyJh.eyJz.c2ln-_";
    QTest::newRow("https") << "https://edge.example.org:443"
                           << "abc"
                           << "https://edge.example.org:443/acs/index.html?jwt=abc";
    // Characters that would end the value or change it on the way.
    QTest::newRow("delimiters") << "http://127.0.0.1:80"
                                << "a+b&c=d#e f%g/h?"
                                << "http://127.0.0.1:80/acs/index.html?jwt=a%2Bb%26c%3Dd%23e%20f%25g%2Fh%3F";
    QTest::newRow("non-ASCII") << "http://127.0.0.1:80" << QString::fromUtf8("\xc3\xa9")
                               << "http://127.0.0.1:80/acs/index.html?jwt=%C3%A9";
    QTest::newRow("empty token") << "http://127.0.0.1:80"
                                 << ""
                                 << "http://127.0.0.1:80/acs/index.html?jwt=";
}

void TestWhiteBoardRules::pageAddress()
{
    QFETCH(QString, server);
    QFETCH(QString, token);
    QFETCH(QString, address);

    const QUrl url = WhiteBoardWebWidget::pageUrl(server, token);
    QVERIFY(url.isValid());
    QCOMPARE(QString::fromLatin1(url.toEncoded()), address);
    QCOMPARE(QUrlQuery(url).queryItemValue("jwt", QUrl::FullyDecoded), token);
    QCOMPARE(QUrlQuery(url).queryItems().size(), 1);
}

void TestWhiteBoardRules::uploadAddress()
{
    QCOMPARE(CWhiteBoardBackgroundUpload::uploadUrl("https://127.0.0.1:8443").toString(),
             QStringLiteral("https://127.0.0.1:8443/acs/upload"));
}

void TestWhiteBoardRules::pageLogLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");

    QTest::newRow("plain") << "connected to board 80001"
                           << "connected to board 80001";
    QTest::newRow("line breaks") << "one\ntwo\r\nthree\x1b[0m"
                                 << "one\\ntwo\\r\\nthree\\x1b[0m";
    QTest::newRow("unicode separators") << QString::fromUtf8("a\xe2\x80\xa8"
                                                             "b\xe2\x80\xa9"
                                                             "c")
                                        << "a\\u2028b\\u2029c";
    QTest::newRow("10,000 characters") << QString(10000, QLatin1Char('x')) << QString(2000, QLatin1Char('x'));
    // Escapes make the text longer: the line is cut all the same.
    QTest::newRow("10,000 line breaks") << QString(10000, QLatin1Char('\n')) << QString("\\n").repeated(1000);
}

void TestWhiteBoardRules::pageLogLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);

    QCOMPARE(WebWhiteBoardJSContext::webLogLine(text), line);
}

void TestWhiteBoardRules::tokenMaskedInLoggedAddress()
{
    const QString token = QStringLiteral("eyJhbGciOiJIUzI1NiJ9.eyJzdWIiOjF9.secretsignature");
    const QString shown = CLogFormat::maskedUrl(WhiteBoardWebWidget::pageUrl("http://127.0.0.1:80", token));
    QVERIFY2(!shown.contains("secretsignature"), qPrintable(shown));
    QVERIFY2(shown.startsWith("http://127.0.0.1:80/acs/index.html?jwt=eyJh"), qPrintable(shown));
}

void TestWhiteBoardRules::pickerChoices_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("signal"); // 0 black, 1 white, 2 select

    QTest::newRow("black") << "m_blackBg" << 0;
    QTest::newRow("white") << "m_whiteBg" << 1;
    QTest::newRow("picture") << "m_selectImg" << 2;
}

void TestWhiteBoardRules::pickerChoices()
{
    QFETCH(QString, button);
    QFETCH(int, signal);

    WhiteBoardSelectBgWidget picker;
    QSignalSpy black(&picker, &WhiteBoardSelectBgWidget::sigClickedBlackBtn);
    QSignalSpy white(&picker, &WhiteBoardSelectBgWidget::sigClickedWhiteBtn);
    QSignalSpy select(&picker, &WhiteBoardSelectBgWidget::sigClickedSelectBtn);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));

    auto *chosen = picker.findChild<QPushButton *>(button);
    QVERIFY(chosen);
    QTest::mouseClick(chosen, Qt::LeftButton);
    QCOMPARE(QList<int>({black.count(), white.count(), select.count()}),
             QList<int>({signal == 0, signal == 1, signal == 2}));
    // Only the chosen button is outlined, and the picker stays open.
    for (QPushButton *each : picker.findChildren<QPushButton *>()) {
        QCOMPARE(each->styleSheet().contains("2px solid #4381ff"), each == chosen);
    }
    QVERIFY(picker.isVisible());
    QVERIFY(picker.testAttribute(Qt::WA_DeleteOnClose));
    saveScreenshot(&picker, "background-picker-" + QString(QTest::currentDataTag()) + "-scale1");
}

void TestWhiteBoardRules::pickerAtScaleTwo()
{
    WhiteBoardSelectBgWidget picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    picker.updateDpi(192);
    QTest::mouseClick(picker.findChild<QPushButton *>("m_selectImg"), Qt::LeftButton);
    QCOMPARE(picker.size(), QSize(324, 140));
    for (QPushButton *each : picker.findChildren<QPushButton *>()) {
        QCOMPARE(each->size(), QSize(72, 72));
    }
    saveScreenshot(&picker, "background-picker-scale2");
}

QTEST_MAIN(TestWhiteBoardRules)
#include "tst_whiteboardrules.moc"
