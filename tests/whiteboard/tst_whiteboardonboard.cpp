#include <QJsonObject>
#include <QMouseEvent>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "custom_controls/qmenubutton.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/paintlistwidget.h"
#include "views/web/cwebpageenginecustomization.h"
#include "webpagetest.h"
#include "views/whiteboard/whiteboarddlg.h"
#include "views/whiteboard/whiteboardselectbgwidget.h"
#include "views/whiteboard/whiteboardtopwidget.h"
#include "views/whiteboard/whiteboardwebwidget.h"
#include "whiteboardfixture.h"

using kd_app::views::WhiteBoardDlg;

namespace {

QJsonObject boardState(WhiteBoardDlg *dlg)
{
    return QJsonObject::fromVariantMap(
        runScript(dlg->webWidget()->currentPage(), "window.boardState ? boardState() : {}").toMap());
}

QString colourOf(const QJsonObject &state)
{
    const QJsonObject colour = state.value("color").toObject();
    return QString("%1,%2,%3,%4")
        .arg(colour.value("r").toInt())
        .arg(colour.value("g").toInt())
        .arg(colour.value("b").toInt())
        .arg(colour.value("a").toDouble());
}

} // namespace

// The sender's whiteboard window on the local server's real board, in a
// running meeting: what the tool menu and the toolbar do arrives on the
// board.
class TestWhiteBoardOnBoard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_call.start());
        QVERIFY(m_call.join());
    }
    void cleanupTestCase() { m_call.leave(); }

    void toolsReachTheBoardAndStopDisconnects()
    {
        WhiteBoardDlg dlg(nullptr);
        dlg.updateWebPage();
        dlg.isSendWhiteBoard(true);
        dlg.show();
        QTRY_VERIFY_WITH_TIMEOUT(dlg.webWidget()->isBoardConnected(), kdtest::kStateWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(boardState(&dlg).value("started").toBool(), kPageRoundTripMs);

        emit dlg.toolMenu()->nitePenClicked();
        QTRY_COMPARE(boardState(&dlg).value("tool").toString(), QStringLiteral("nitePen"));
        QCOMPARE(colourOf(boardState(&dlg)), QStringLiteral("255,252,0,1"));
        QCOMPARE(boardState(&dlg).value("width").toInt(), 1);
        QMetaObject::invokeMethod(dlg.colorPicker(), "onButtonSize3Clicked");
        QTRY_COMPARE(boardState(&dlg).value("width").toInt(), 3);

        emit dlg.backgroundPicker()->sigClickedBlackBtn();
        QTRY_COMPARE(boardState(&dlg).value("background").toString(), QStringLiteral("black"));

        // Stop: the pen again, then the board lets go of the page.
        QSignalSpy hidden(&dlg, &WhiteBoardDlg::sigHiddenWhiteBoard);
        CAlertAnswerer answerer(QMessageBox::Yes);
        QTest::mouseClick(dlg.getTopWidget()->findChild<QMenuButton *>("m_closeBtn"), Qt::LeftButton);
        QCOMPARE(hidden.count(), 1);
        QTRY_VERIFY(!boardState(&dlg).value("connected").toBool());
        const QJsonObject state = boardState(&dlg);
        QCOMPARE(state.value("tool").toString(), QStringLiteral("pencil"));
        QCOMPARE(colourOf(state), QStringLiteral("0,0,0,1"));
        QCOMPARE(state.value("width").toInt(), 1);
    }

private:
    CWhiteBoardCall m_call;
};

QTEST_MAIN(TestWhiteBoardOnBoard)
#include "tst_whiteboardonboard.moc"
