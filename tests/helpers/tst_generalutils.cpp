#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"

using kd_app::helpers::CGeneralUtils;
using kd_app::helpers::CLogFormat;

class TestGeneralUtils : public QObject
{
    Q_OBJECT

private slots:
    void methodName_data();
    void methodName();
    void isEqual_data();
    void isEqual();
    void emptyText();
    void styleSheetsJoinAndSkipMissing();
    void styleSheetStopsAtZeroByte();
    void roundImage();
    void roundImageRefusesEmptyFile();
    void secretsAreMasked();

private:
    QString writeFile(const QString &name, const QByteArray &data);
    QTemporaryDir m_dir;
};

QString TestGeneralUtils::writeFile(const QString &name, const QByteArray &data)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QString();
    }
    file.write(data);
    return path;
}

void TestGeneralUtils::methodName_data()
{
    QTest::addColumn<QString>("pretty");
    QTest::addColumn<QString>("expected");
    QTest::newRow("method") << "void kd_app::models::CKDSdkManager::dialOut(const QString&, int)"
                            << "kd_app::models::CKDSdkManager::dialOut";
    QTest::newRow("constructor") << "kd_app::views::CHomeDlg::CHomeDlg(QWidget*)"
                                 << "kd_app::views::CHomeDlg::CHomeDlg";
    QTest::newRow("pointer result") << "QWidget* kd_app::A::get() const"
                                    << "kd_app::A::get";
    QTest::newRow("template result") << "QList<QPair<int, int> > ns::C::pairs()"
                                     << "ns::C::pairs";
    QTest::newRow("lambda") << "kd_app::A::run()::<lambda()>"
                            << "kd_app::A::run";
    QTest::newRow("free function") << "int main(int, char**)"
                                   << "main";
}

void TestGeneralUtils::methodName()
{
    QFETCH(QString, pretty);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromLatin1(CLogFormat::methodName(pretty.toLatin1().constData())), expected);
}

void TestGeneralUtils::isEqual_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same") << 1.5 << 1.5 << true;
    QTest::newRow("within") << 1.5 << 1.5000005 << true;
    QTest::newRow("beyond") << 1.5 << 1.500002 << false;
    QTest::newRow("below") << 2.0 << 1.999 << false;
}

void TestGeneralUtils::isEqual()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(bool, equal);
    QCOMPARE(CGeneralUtils::isEqual(a, b), equal);
}

void TestGeneralUtils::emptyText()
{
    QVERIFY(CGeneralUtils::isNullOrEmpty(QString()));
    QVERIFY(CGeneralUtils::isNullOrEmpty(QStringLiteral("")));
    QVERIFY(!CGeneralUtils::isNullOrEmpty(QStringLiteral(" ")));
}

void TestGeneralUtils::styleSheetsJoinAndSkipMissing()
{
    const QString base = writeFile("base.qss", "QLabel{color:red;}");
    const QString variant = writeFile("variant.qss", "QLabel{font-size:12px;}");
    QWidget widget;
    CGeneralUtils::setStyle(&widget, QStringList{base, variant});
    QCOMPARE(widget.styleSheet(), QStringLiteral("QLabel{color:red;}QLabel{font-size:12px;}"));

    CGeneralUtils::setStyle(&widget, QStringList{base, m_dir.filePath("missing.qss")});
    QCOMPARE(widget.styleSheet(), QStringLiteral("QLabel{color:red;}"));

    // The single-file form leaves the sheet alone when the file is missing.
    CGeneralUtils::setStyle(&widget, m_dir.filePath("missing.qss"));
    QCOMPARE(widget.styleSheet(), QStringLiteral("QLabel{color:red;}"));
}

void TestGeneralUtils::styleSheetStopsAtZeroByte()
{
    const QString path = writeFile("zero.qss", QByteArray("QWidget{}\0garbage", 17));
    QWidget widget;
    CGeneralUtils::setStyle(&widget, path);
    QCOMPARE(widget.styleSheet(), QStringLiteral("QWidget{}"));
}

void TestGeneralUtils::roundImage()
{
    QImage image(96, 96, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    const QString path = m_dir.filePath("face.png");
    QVERIFY(image.save(path));

    QLabel label;
    QVERIFY(CGeneralUtils::drawRectroundImageOnLabel(&label, path, 48, 48));
    QCOMPARE(label.size(), QSize(48, 48));
    const QImage shown = label.pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(shown.size(), QSize(48, 48));
    QCOMPARE(qAlpha(shown.pixel(0, 0)), 0); // corner cut away
    QCOMPARE(QColor(shown.pixel(24, 24)), QColor(Qt::blue));
}

void TestGeneralUtils::roundImageRefusesEmptyFile()
{
    const QString path = writeFile("empty.png", QByteArray());
    QLabel label;
    label.setText("untouched");
    QVERIFY(!CGeneralUtils::drawRectroundImageOnLabel(&label, path, 48, 48));
    QCOMPARE(label.text(), QStringLiteral("untouched"));
    QVERIFY(!CGeneralUtils::drawRectroundImageOnLabel(&label, m_dir.filePath("nope.png"), 48, 48));
}

void TestGeneralUtils::secretsAreMasked()
{
    const QString token = QStringLiteral("abcdef0123456789");
    const QString shown = CLogFormat::masked(token);
    QVERIFY(shown.startsWith("abcd"));
    QVERIFY(!shown.contains("0123456789"));
    QVERIFY(CLogFormat::masked(QString()).isEmpty());

    const QList<QPair<QString, QString>> dialStrings = {
        {"1001", "1001"},
        {"1001*4711", "1001*****"},
        {"1001*4711@meet.example", "1001*****@meet.example"},
        {"1001@meet.example", "1001@meet.example"},
    };
    for (const auto &row : dialStrings) {
        QCOMPARE(CLogFormat::maskedDialString(row.first), row.second);
    }

    const QList<QPair<QString, QString>> addresses = {
        {"https://h:8443/api/rest/v2.0/acsToken?token=abcdef0123456789&confNumericId=80001&deviceId=7",
         "https://h:8443/api/rest/v2.0/acsToken?token=abcd...(16)&confNumericId=80001&deviceId=7"},
        {"http://h/x?confNumericId=80001&token=ab%2Bdef0123456789", "http://h/x?confNumericId=80001&token=ab+d...(16)"},
        {"http://h/x?a=1", "http://h/x?a=1"},
        {"http://h/x", "http://h/x"},
    };
    for (const auto &row : addresses) {
        QCOMPARE(CLogFormat::maskedUrl(QUrl(row.first)), row.second);
    }
}

QTEST_MAIN(TestGeneralUtils)
#include "tst_generalutils.moc"
