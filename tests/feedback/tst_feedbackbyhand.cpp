#include <memory>

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "filedialoganswerer.h"
#include "ownxvfb.h"
#include "settingsfixture.h"
#include "views/feedback/feedbackdlg.h"
#include "views/feedback/feedbackimgbutton.h"
#include "xdoinput.h"

using kd_app::helpers::CUserConfigUtils;
using kd_app::views::CSettingsForm;
using kd_app::views::FeedBackDlg;
using settingstest::child;

namespace {

QList<FeedBackDlg *> feedbackDialogs()
{
    QList<FeedBackDlg *> dialogs;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<FeedBackDlg *>(window)) {
            dialogs << dialog;
        }
    }
    return dialogs;
}

} // namespace

// The feedback dialog on a real X server, opened from the settings' General
// page and used with keyboard and mouse: the description's limit while
// typing, pictures chosen in the file dialog and removed from the strip.
class TestFeedbackByHand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void theGeneralPagesEntryOpensTheDialog();
    void typing_data();
    void typing();
    void picturesChosenAndRemoved();

private:
    QString picture(const QString &name, const QColor &color);
    QString userFolder() const { return CUserConfigUtils::getUserConfigPath(); }

    QTemporaryDir m_dir;
    std::unique_ptr<CSettingsForm> m_form;
    QPointer<FeedBackDlg> m_dialog;
};

void TestFeedbackByHand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(settingstest::startClient(m_dir));
}

void TestFeedbackByHand::init()
{
    m_form = std::make_unique<CSettingsForm>(nullptr);
    m_form->updateDpi(1.0);
    m_form->resize(900, 700);
    m_form->selectPage(CSettingsForm::GeneralPage);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    // A dialog the way a user opens one: the page's "Feedback".
    auto *entry = child<QPushButton>(m_form.get(), "btnUploadDiagnosis");
    QCOMPARE(entry->text(), QString("Feedback"));
    QVERIFY(xdoinput::click(entry));
    QTRY_COMPARE(feedbackDialogs().size(), 1);
    m_dialog = feedbackDialogs().first();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void TestFeedbackByHand::cleanup()
{
    delete m_dialog.data();
    m_form.reset();
}

QString TestFeedbackByHand::picture(const QString &name, const QColor &color)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(color);
    const QString path = m_dir.filePath(name);
    image.save(path);
    return path;
}

void TestFeedbackByHand::theGeneralPagesEntryOpensTheDialog()
{
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!m_dialog->isSending());
    QCOMPARE(child<QLabel>(m_dialog, "m_showContactsNum")->text(), QString("0/200"));
    QCOMPARE(child<QLabel>(m_dialog, "m_showImgNum")->text(), QString("0/6"));
    QCOMPARE(child<QPushButton>(m_dialog, "m_uploadButton")->text(), QString("Sure"));
    // Closed by its own button, it goes.
    QVERIFY(xdoinput::click(child<QPushButton>(m_dialog, "m_pCloseBtn")));
    QTRY_VERIFY(!m_dialog);
}

void TestFeedbackByHand::typing_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("whereTo"); // the keys that place the cursor
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");

    const QString nearlyFull(195, 'a');
    QTest::newRow("past 200 at the end") << nearlyFull << "ctrl+End"
                                         << "bcdefghi" << nearlyFull + "bcdef";
    const QString full(200, 'a');
    QTest::newRow("into the start of a full text") << full << "ctrl+Home"
                                                   << "xyz" << full;
    QTest::newRow("within the limit") << ""
                                      << "ctrl+End"
                                      << "The camera freezes"
                                      << "The camera freezes";
}

void TestFeedbackByHand::typing()
{
    QFETCH(QString, before);
    QFETCH(QString, whereTo);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    auto *edit = child<QPlainTextEdit>(m_dialog, "m_textEdit");
    edit->setPlainText(before);
    QVERIFY(xdoinput::click(edit));
    QTRY_VERIFY(edit->hasFocus());
    QVERIFY(xdoinput::keys({whereTo}));
    const xdoinput::CArrivals keys(edit, QEvent::KeyPress, xdoinput::CArrivals::typedCharacter);
    QVERIFY(xdoinput::type(typed));
    // Every key has arrived, the last one included.
    QTRY_COMPARE(keys.count(), typed.size());
    QCOMPARE(edit->toPlainText(), after);
    QCOMPARE(child<QLabel>(m_dialog, "m_showContactsNum")->text(), QStringLiteral("%1/200").arg(after.size()));
}

void TestFeedbackByHand::picturesChosenAndRemoved()
{
    auto *choose = child<QPushButton>(m_dialog, "m_imgButton");
    auto *count = child<QLabel>(m_dialog, "m_showImgNum");
    const QStringList files = {picture("red.png", Qt::red), picture("green.png", Qt::green),
                               picture("blue.png", Qt::blue)};
    // The button is clicked by mouse; the path goes into Qt's own file dialog
    // directly: typing a long path there by keyboard lost characters to the
    // dialog's completion on a busy machine.
    for (int i = 0; i < files.size(); ++i) {
        CFileDialogAnswerer chooser({files.at(i)});
        QVERIFY(xdoinput::click(choose));
        QTRY_COMPARE(count->text(), QStringLiteral("%1/6").arg(i + 1));
        QCOMPARE(chooser.asked(), 1);
    }
    // Escape in the file dialog adds nothing.
    {
        CFileDialogAnswerer chooser({QString()}, QMessageBox::Yes, CFileDialogAnswerer::ByEscapeKey);
        QVERIFY(xdoinput::click(choose));
        QTRY_COMPARE(chooser.asked(), 1);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(count->text(), QString("3/6"));
    }

    // The delete button shows while the pointer is over the thumbnail.
    auto *second = child<FeedBackImgButton>(m_dialog, "imageButton_2");
    auto *remove = second->findChild<QPushButton *>("m_deleteBtn");
    QVERIFY(xdoinput::moveTo(child<FeedBackImgButton>(m_dialog, "imageButton_1")));
    QTRY_VERIFY(!remove->isVisible());
    QVERIFY(xdoinput::moveTo(second));
    QTRY_VERIFY(remove->isVisible());
    QVERIFY(xdoinput::click(remove));
    QTRY_COMPARE(count->text(), QString("2/6"));
    QVERIFY(!child<FeedBackImgButton>(m_dialog, "imageButton_3")->isVisible());
    // The blue picture moved up into the second place, on disk too.
    const QImage moved(userFolder() + "/IMG_1.jpg");
    QVERIFY(qBlue(moved.pixel(10, 10)) > 200 && qRed(moved.pixel(10, 10)) < 60);
    QVERIFY(!QFileInfo::exists(userFolder() + "/IMG_2.jpg"));
}

KD_OWN_XVFB_TEST_MAIN(TestFeedbackByHand)
#include "tst_feedbackbyhand.moc"
