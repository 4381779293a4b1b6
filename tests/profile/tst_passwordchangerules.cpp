#include <QtTest>

#include "models/cpasswordchangerules.h"

using kd_app::models::CPasswordChangeRules;

Q_DECLARE_METATYPE(CPasswordChangeRules::Verdict)

// The password change's checks that need no server.
class TestPasswordChangeRules : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void localFormat_data();
    void localFormat();
};

void TestPasswordChangeRules::fields_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("current");
    QTest::addColumn<CPasswordChangeRules::Verdict>("verdict");

    QTest::newRow("all empty, a password signed in") << ""
                                                     << ""
                                                     << ""
                                                     << "pw1234" << CPasswordChangeRules::OldPasswordWrong;
    QTest::newRow("all empty, signed in without one") << ""
                                                      << ""
                                                      << ""
                                                      << "" << CPasswordChangeRules::SameAsOld;
    QTest::newRow("old wrong comes first") << "nope"
                                           << "same"
                                           << "other"
                                           << "pw1234" << CPasswordChangeRules::OldPasswordWrong;
    QTest::newRow("old trimmed before the comparison") << "  pw1234\t"
                                                       << "new12345"
                                                       << "new12345"
                                                       << "pw1234" << CPasswordChangeRules::Accepted;
    QTest::newRow("new equal to old before any format") << "pw1234"
                                                        << " pw1234 "
                                                        << "x"
                                                        << "pw1234" << CPasswordChangeRules::SameAsOld;
    QTest::newRow("confirm differs") << "pw1234"
                                     << "new12345"
                                     << "new12346"
                                     << "pw1234" << CPasswordChangeRules::ConfirmDiffers;
    QTest::newRow("confirm differs only in blanks") << "pw1234"
                                                    << "new12345 "
                                                    << "  new12345"
                                                    << "pw1234" << CPasswordChangeRules::Accepted;
    QTest::newRow("case matters") << "pw1234"
                                  << "New12345"
                                  << "new12345"
                                  << "pw1234" << CPasswordChangeRules::ConfirmDiffers;
}

void TestPasswordChangeRules::fields()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirm);
    QFETCH(QString, current);
    QFETCH(CPasswordChangeRules::Verdict, verdict);
    QCOMPARE(CPasswordChangeRules::checkFields(oldPassword, newPassword, confirm, current), verdict);
}

void TestPasswordChangeRules::localFormat_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<CPasswordChangeRules::Verdict>("verdict");

    const QString four = "abcd";
    const QString sixteen = "abcdefghijklmnop";
    QTest::newRow("4 characters") << "old" << four << four << CPasswordChangeRules::Accepted;
    QTest::newRow("16 characters") << "old" << sixteen << sixteen << CPasswordChangeRules::Accepted;
    QTest::newRow("3 characters") << "old"
                                  << "abc"
                                  << "abc" << CPasswordChangeRules::NewFormatWrong;
    QTest::newRow("17 characters") << "old" << sixteen + "q" << sixteen + "q" << CPasswordChangeRules::NewFormatWrong;
    // Counted in UTF-16 units: a character outside the basic plane is two.
    QTest::newRow("16 units with a surrogate pair")
        << "old" << QString("abcdefghijklmn") + QString::fromUtf8("😀")
        << QString("abcdefghijklmn") + QString::fromUtf8("😀") << CPasswordChangeRules::Accepted;
    QTest::newRow("17 units with a surrogate pair")
        << "old" << QString("abcdefghijklmno") + QString::fromUtf8("😀")
        << QString("abcdefghijklmno") + QString::fromUtf8("😀") << CPasswordChangeRules::NewFormatWrong;
    QTest::newRow("space inside new") << "old"
                                      << "ab cd"
                                      << "ab cd" << CPasswordChangeRules::NewFormatWrong;
    QTest::newRow("blanks around are trimmed") << " old "
                                               << "  abcd  "
                                               << "\tabcd" << CPasswordChangeRules::Accepted;
    QTest::newRow("a tab inside is no space") << "old"
                                              << "ab\tcd"
                                              << "ab\tcd" << CPasswordChangeRules::Accepted;
    QTest::newRow("old empty") << "   " << four << four << CPasswordChangeRules::OldFormatWrong;
    QTest::newRow("old with a space, before the new one") << "o ld"
                                                          << "x"
                                                          << "x" << CPasswordChangeRules::OldFormatWrong;
    QTest::newRow("old has no length rule") << "o" << four << four << CPasswordChangeRules::Accepted;
    QTest::newRow("confirm too long") << "old" << four << sixteen + "q" << CPasswordChangeRules::ConfirmFormatWrong;
    QTest::newRow("confirm with a space") << "old" << four << "a bcd" << CPasswordChangeRules::ConfirmFormatWrong;
}

void TestPasswordChangeRules::localFormat()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirm);
    QFETCH(CPasswordChangeRules::Verdict, verdict);
    QCOMPARE(CPasswordChangeRules::checkLocalFormat(oldPassword, newPassword, confirm), verdict);
}

QTEST_APPLESS_MAIN(TestPasswordChangeRules)
#include "tst_passwordchangerules.moc"
