#include <QtTest>

#include "cmultipartform.h"

using confserver::CFormPart;
using confserver::CMultipartForm;

// Upload forms read as sent: parts' headers in order, bodies byte for byte.
class TestMultipartForm : public QObject
{
    Q_OBJECT

private slots:
    void boundary_data();
    void boundary();
    void parts_data();
    void parts();
    void dispositionParameters_data();
    void dispositionParameters();
};

void TestMultipartForm::boundary_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("boundary");
    QTest::newRow("quoted") << QByteArray("multipart/form-data; boundary=\"boundary_.oOo._MTA=\"")
                            << QByteArray("boundary_.oOo._MTA=");
    QTest::newRow("plain") << QByteArray("multipart/form-data;boundary=abc") << QByteArray("abc");
    QTest::newRow("letter case") << QByteArray("Multipart/Form-Data; charset=utf-8; Boundary=xyz") << QByteArray("xyz");
    QTest::newRow("another type") << QByteArray("multipart/mixed; boundary=abc") << QByteArray();
    QTest::newRow("no boundary") << QByteArray("multipart/form-data") << QByteArray();
}

void TestMultipartForm::boundary()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, boundary);
    QCOMPARE(CMultipartForm::boundaryOf(contentType), boundary);
}

void TestMultipartForm::parts_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QList<QByteArray>>("bodies");
    QTest::addColumn<QByteArray>("firstHeaders"); // "name=value|..." of the first part
    QTest::newRow("one part") << QByteArray("--b\r\nContent-Type: image/jpg;\r\n"
                                            "Content-Disposition: form-data; name=\"file\"\r\n\r\n"
                                            "\x89PNG\r\n--\r\n\r\n--b--\r\n")
                              << true << QList<QByteArray>{QByteArray("\x89PNG\r\n--\r\n")}
                              << QByteArray("Content-Type=image/jpg;|Content-Disposition=form-data; name=\"file\"");
    QTest::newRow("preamble, two parts") << QByteArray(
                                                "ignored\r\n--b\r\nX-One: 1\r\n\r\nfirst\r\n--b\r\n\r\nsecond\r\n--b--")
                                         << true << QList<QByteArray>{"first", "second"} << QByteArray("X-One=1");
    QTest::newRow("an empty body") << QByteArray("--b\r\nA: b\r\n\r\n\r\n--b--") << true << QList<QByteArray>{""}
                                   << QByteArray("A=b");
    QTest::newRow("no closing delimiter")
        << QByteArray("--b\r\nA: b\r\n\r\nbody") << false << QList<QByteArray>() << QByteArray();
    QTest::newRow("header without colon")
        << QByteArray("--b\r\nbroken\r\n\r\nbody\r\n--b--") << false << QList<QByteArray>() << QByteArray();
    QTest::newRow("another boundary") << QByteArray("--c\r\nA: b\r\n\r\nbody\r\n--c--") << false << QList<QByteArray>()
                                      << QByteArray();
    QTest::newRow("boundary inside a longer word")
        << QByteArray("--b\r\nA: b\r\n\r\nx\r\n--bb is not it\r\n--b--") << true
        << QList<QByteArray>{"x\r\n--bb is not it"} << QByteArray("A=b");
}

void TestMultipartForm::parts()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, valid);
    QFETCH(QList<QByteArray>, bodies);
    QFETCH(QByteArray, firstHeaders);
    std::vector<CFormPart> parts;
    QCOMPARE(CMultipartForm::parse("b", body, &parts), valid);
    if (!valid) {
        return;
    }
    QCOMPARE(int(parts.size()), bodies.size());
    for (int i = 0; i < bodies.size(); ++i) {
        QCOMPARE(parts[size_t(i)].body, bodies[i]);
    }
    QList<QByteArray> headers;
    for (const auto &header : parts[0].headers) {
        headers << header.first + '=' + header.second;
    }
    QCOMPARE(headers.join('|'), firstHeaders);
}

void TestMultipartForm::dispositionParameters_data()
{
    QTest::addColumn<QByteArray>("disposition");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("filename");
    QTest::newRow("quoted") << QByteArray("form-data; name=\"file\"; filename=\"background.jpg\"") << QByteArray("file")
                            << QByteArray("background.jpg");
    QTest::newRow("semicolon in a name") << QByteArray("form-data; filename=\"a;b.png\"; name=file")
                                         << QByteArray("file") << QByteArray("a;b.png");
    QTest::newRow("escaped quote") << QByteArray("form-data; name=\"file\"; filename=\"say \\\"hi\\\".png\"")
                                   << QByteArray("file") << QByteArray("say \"hi\".png");
    QTest::newRow("no file name") << QByteArray("form-data; name=\"file\"") << QByteArray("file") << QByteArray();
}

void TestMultipartForm::dispositionParameters()
{
    QFETCH(QByteArray, disposition);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, filename);
    CFormPart part;
    part.headers.emplace_back("content-disposition", disposition);
    QCOMPARE(part.dispositionParameter("name"), name);
    QCOMPARE(part.dispositionParameter("filename"), filename);
}

QTEST_GUILESS_MAIN(TestMultipartForm)
#include "tst_multipartform.moc"
