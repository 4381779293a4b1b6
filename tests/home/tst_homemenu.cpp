#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include "custom_controls/chomeexitbutton.h"
#include "custom_controls/chomemenuitemdelegate.h"
#include "custom_controls/chomemenulistmodel.h"
#include "custom_controls/chomemenulistview.h"
#include "views/home/cemptyform.h"

using kd_app::custom_controls::CHomeMenuItemDelegate;
using kd_app::custom_controls::CHomeMenuListModel;
using kd_app::custom_controls::CHomeMenuListView;

namespace {

const QString kConf = QStringLiteral(":/resources/images/home-window/icon_conf_%1-1x.png");

CHomeMenuItem *entry(const QString &text)
{
    return new CHomeMenuItem{kConf.arg('n'), kConf.arg('c'), kConf.arg('h'), text};
}

// One menu row painted in the given state, 70 px high as at scale 1.
QImage paintedRow(QStyle::State state)
{
    CHomeMenuListModel model;
    model.addItem(entry("Meetings"));
    CHomeMenuItemDelegate delegate;
    QImage image(70, 70, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.state = state | QStyle::State_Enabled;
    QFont font;
    font.setPixelSize(13);
    option.font = font;
    delegate.paint(&painter, option, model.index(0, 0));
    return image;
}

bool hasColour(const QImage &image, const QRect &area, const QColor &colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class TestHomeMenu : public QObject
{
    Q_OBJECT

private slots:
    void modelRowsAndRoles();
    void rowsOutsideTheListChangeNothing_data();
    void rowsOutsideTheListChangeNothing();
    void rowLooksByState_data();
    void rowLooksByState();
    void exitButtonByScale_data();
    void exitButtonByScale();
    void placeholderPage();
};

void TestHomeMenu::modelRowsAndRoles()
{
    CHomeMenuListView view;
    view.addItem(entry("Meetings"));
    view.addItem(nullptr);
    view.addItem(entry("Contacts"));
    const QAbstractItemModel *model = view.model();
    QCOMPARE(model->rowCount(), 2);
    const QModelIndex first = model->index(0, 0);
    QCOMPARE(first.data(CHomeMenuListModel::TextRole).toString(), QString("Meetings"));
    QCOMPARE(first.data(CHomeMenuListModel::NormalIconRole).toString(), kConf.arg('n'));
    QCOMPARE(first.data(CHomeMenuListModel::CurrentIconRole).toString(), kConf.arg('c'));
    QCOMPARE(first.data(CHomeMenuListModel::HoverIconRole).toString(), kConf.arg('h'));
    QCOMPARE(CHomeMenuListModel::TextRole, 257);
    QVERIFY(!first.data(Qt::DisplayRole).isValid());
    QVERIFY(!model->index(2, 0).data(CHomeMenuListModel::TextRole).isValid());
    view.selectRow(1);
    QCOMPARE(view.currentIndex().row(), 1);
    view.clearItems();
    QCOMPARE(model->rowCount(), 0);
}

void TestHomeMenu::rowsOutsideTheListChangeNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("changed");
    QTest::newRow("negative") << -1 << false;
    QTest::newRow("first") << 0 << true;
    QTest::newRow("last") << 1 << true;
    QTest::newRow("row count") << 2 << false;
}

void TestHomeMenu::rowsOutsideTheListChangeNothing()
{
    QFETCH(int, row);
    QFETCH(bool, changed);
    CHomeMenuListView view;
    view.addItem(entry("Meetings"));
    view.addItem(entry("Settings"));
    QCOMPARE(view.setItemText(row, "New"), changed);
    QCOMPARE(view.setItemIcons(row, "n", "c", "h"), changed);
    QStringList texts;
    for (int i = 0; i < view.model()->rowCount(); ++i) {
        texts << view.model()->index(i, 0).data(CHomeMenuListModel::TextRole).toString();
    }
    QCOMPARE(texts.count("New"), changed ? 1 : 0);
}

void TestHomeMenu::rowLooksByState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("filledIcon");
    QTest::addColumn<bool>("redCaption");
    QTest::newRow("plain") << int(QStyle::State_None) << false << false;
    QTest::newRow("under the mouse") << int(QStyle::State_MouseOver) << false << true;
    QTest::newRow("current") << int(QStyle::State_Selected) << true << true;
    QTest::newRow("current and under the mouse")
        << int(QStyle::State_Selected | QStyle::State_MouseOver) << true << true;
}

void TestHomeMenu::rowLooksByState()
{
    QFETCH(int, state);
    QFETCH(bool, filledIcon);
    QFETCH(bool, redCaption);
    const QImage row = paintedRow(QStyle::State(state));
    QCOMPARE(row.pixelColor(2, 66), QColor("#3c3c3c"));
    // The current icon is the filled one: red inside its calendar.
    const QColor iconMiddle = row.pixelColor(29, 22);
    QCOMPARE(iconMiddle == QColor("#f5452e"), filledIcon);
    QCOMPARE(hasColour(row, QRect(0, 29, 70, 13), QColor("#f5452e")), redCaption);
}

void TestHomeMenu::exitButtonByScale_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("caption");
    QTest::addColumn<QString>("font");
    QTest::newRow("1") << 1.0 << QSize(70, 20) << "13px";
    QTest::newRow("1.5") << 1.5 << QSize(105, 30) << "19px";
    QTest::newRow("2") << 2.0 << QSize(140, 40) << "26px";
}

void TestHomeMenu::exitButtonByScale()
{
    QFETCH(double, scale);
    QFETCH(QSize, caption);
    QFETCH(QString, font);
    CHomeExitButton button;
    button.updateDpi(scale);
    QLabel *label = button.findChild<QLabel *>();
    QCOMPARE(label->size(), caption);
    QVERIFY(label->styleSheet().contains(font));
    QCOMPARE(label->text(), QString("Exit"));
    QSignalSpy clicked(&button, &CHomeExitButton::clicked);
    QTest::mousePress(&button, Qt::RightButton);
    QCOMPARE(clicked.count(), 0);
    // A press is enough: the click does not wait for the release.
    QTest::mousePress(&button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    button.resize(70, 56);
    QImage image(button.size() * 1, QImage::Format_ARGB32);
    image.fill(Qt::black);
    button.render(&image);
    QCOMPARE(image.pixelColor(35, int(6 * scale) + 1).alpha(), 255);
}

void TestHomeMenu::placeholderPage()
{
    kd_app::views::CEmptyForm page;
    QCOMPARE(page.objectName(), QString("CEmptyForm"));
    QCOMPARE(page.size(), QSize(400, 300));
    QVERIFY(page.children().size() <= 1);
}

QTEST_MAIN(TestHomeMenu)
#include "tst_homemenu.moc"
