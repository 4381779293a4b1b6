#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include "statewait.h"
#include "models/cucmapimanager.h"
#include "ucmrecords.h"
#include "models/curlpixmap.h"
#include "views/conferences/cconferencesdelegate.h"
#include "views/conferences/cconferencestablemodel.h"
#include "views/conferences/cconferencestableview.h"

using kd_app::models::CUCMApiManager;
using kd_app::models::CUrlPixmap;
using records::user;

namespace {

QStringList cellNames(const CConferencesTablemodel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < model.columnCount(); ++column) {
            const QVariant name = model.index(row, column).data(CConferencesTablemodel::NameRole);
            if (name.isValid()) {
                names << name.toString();
            }
        }
    }
    return names;
}

// A user cell painted with the mouse over it.
QImage hoveredCell(bool readOnly)
{
    CConferencesTablemodel model;
    conferencesItemData cell;
    cell.kind = conferencesItemData::User;
    cell.name = "Ann";
    QPixmap avatar(28, 28);
    avatar.fill(Qt::white);
    cell.avatar = avatar;
    model.addItem(cell);
    model.refreshModel();
    CConferencesDelegate delegate;
    if (readOnly) {
        delegate.setReadOnly();
    }
    QImage image(48, 68, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.state = QStyle::State_MouseOver | QStyle::State_Enabled;
    delegate.paint(&painter, option, model.index(0, 0));
    return image;
}

} // namespace

class TestParticipantsGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void shapeByCellCount_data();
    void shapeByCellCount();
    void editableGridRemovesAndAsks();
    void readOnlyGridOnlyShows();
    void unknownInviteeKeepsACell();
    void everyCellOfAnAddressGetsTheAvatar();
    void setDataWritesEachRole();
    void hoverMarkOnEditableGridOnly();
    void cellSizeByScale();
    void namesTellPeopleApart_data();
    void namesTellPeopleApart();
};

void TestParticipantsGrid::init()
{
    CUCMApiManager::getInstance()->getUserList() = {user(1, "Ann"), user(2, "Bob"), user(3, "Cy")};
}

void TestParticipantsGrid::shapeByCellCount_data()
{
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::newRow("none") << 0 << 0 << 0;
    QTest::newRow("one") << 1 << 1 << 1;
    QTest::newRow("eight") << 8 << 1 << 8;
    QTest::newRow("nine") << 9 << 2 << 8;
    QTest::newRow("seventeen") << 17 << 3 << 8;
}

void TestParticipantsGrid::shapeByCellCount()
{
    QFETCH(int, cells);
    QFETCH(int, rows);
    QFETCH(int, columns);
    CConferencesTablemodel model;
    for (int i = 0; i < cells; ++i) {
        conferencesItemData cell;
        cell.kind = conferencesItemData::User;
        cell.userId = i;
        cell.name = QString::number(i);
        model.addItem(cell);
    }
    model.refreshModel();
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(model.columnCount(), columns);
    if (cells == 9) {
        QCOMPARE(model.index(1, 0).data(CConferencesTablemodel::UserIdRole).toInt(), 8);
        QVERIFY(!model.index(1, 1).data(CConferencesTablemodel::UserIdRole).isValid());
    }
    QVERIFY(!model.index(0, 0).data(CConferencesTablemodel::AvatarRole + 1).isValid());
}

void TestParticipantsGrid::editableGridRemovesAndAsks()
{
    CConferencestableview grid;
    grid.initView();
    grid.setParticipants({1, 2, 3, 2});
    CConferencesTablemodel &model = *grid.tableModel();
    QCOMPARE(cellNames(model), QStringList({"Ann", "Bob", "Cy", "Bob", "Add"}));
    QCOMPARE(grid.getUserIds(), QList<int>({1, 2, 3, 2}));

    grid.slot_item_clicked(model.index(0, 1));
    QCOMPARE(cellNames(model), QStringList({"Ann", "Cy", "Bob", "Add"}));
    QSignalSpy asks(&grid, &CConferencestableview::signal_addusers);
    grid.slot_item_clicked(model.index(0, 3));
    QCOMPARE(asks.count(), 1);
    grid.slot_item_clicked(model.index(0, 7));
    QCOMPARE(cellNames(model).size(), 4);

    grid.setParticipants({});
    QCOMPARE(cellNames(model), QStringList({"Add"}));
}

void TestParticipantsGrid::readOnlyGridOnlyShows()
{
    CConferencestableview grid;
    grid.initView();
    grid.setReadOnly();
    grid.setParticipants({1, 2});
    CConferencesTablemodel &model = *grid.tableModel();
    QCOMPARE(cellNames(model), QStringList({"Ann", "Bob"}));
    grid.slot_item_clicked(model.index(0, 0));
    QCOMPARE(cellNames(model), QStringList({"Ann", "Bob"}));
    grid.setParticipants({});
    QCOMPARE(model.rowCount(), 0);
}

// An invitee the users list does not know (not fetched, or removed) keeps a
// cell under its number, so saving the meeting keeps the invitee.
void TestParticipantsGrid::unknownInviteeKeepsACell()
{
    CConferencestableview grid;
    grid.initView();
    grid.setParticipants({1, 77});
    QCOMPARE(cellNames(*grid.tableModel()), QStringList({"Ann", "77", "Add"}));
    QCOMPARE(grid.getUserIds(), QList<int>({1, 77}));
    CUCMApiManager::getInstance()->getUserList().clear();
    grid.setParticipants({1, 77});
    QCOMPARE(cellNames(*grid.tableModel()), QStringList({"1", "77", "Add"}));
    QCOMPARE(grid.getUserIds(), QList<int>({1, 77}));
    grid.slot_item_clicked(grid.tableModel()->index(0, 1));
    QCOMPARE(grid.getUserIds(), QList<int>({1}));
}

void TestParticipantsGrid::everyCellOfAnAddressGetsTheAvatar()
{
    // Nothing answers there: the download fails at once and both cells get
    // the default picture.
    const QString url = "http://127.0.0.1:1/userFiles/avatar/9.jpg";
    CUCMApiManager::getInstance()->getUserList() = {user(1, "Ann", url), user(2, "Bob"), user(3, "Ann again", url)};
    CConferencestableview grid;
    grid.initView();
    QSignalSpy changed(grid.tableModel(), &QAbstractItemModel::dataChanged);
    grid.setParticipants({1, 2, 3});
    QTRY_VERIFY(changed.count() >= 2);
    QSet<int> columns;
    for (const QList<QVariant> &signal : changed) {
        columns << signal.at(0).toModelIndex().column();
    }
    QCOMPARE(columns, QSet<int>({0, 2}));
    const QImage expected = CUrlPixmap::cachedPixmap(url).toImage();
    QVERIFY(!expected.isNull());
    for (int column : {0, 2}) {
        QCOMPARE(
            grid.tableModel()->index(0, column).data(CConferencesTablemodel::AvatarRole).value<QPixmap>().toImage(),
            expected);
    }
}

void TestParticipantsGrid::setDataWritesEachRole()
{
    CConferencesTablemodel model;
    model.addItem(conferencesItemData());
    model.refreshModel();
    const QModelIndex cell = model.index(0, 0);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(cell, "Eve", CConferencesTablemodel::NameRole));
    QVERIFY(model.setData(cell, 1, CConferencesTablemodel::KindRole));
    QVERIFY(model.setData(cell, 9, CConferencesTablemodel::UserIdRole));
    QVERIFY(model.setData(cell, QPixmap(3, 3), CConferencesTablemodel::AvatarRole));
    QVERIFY(!model.setData(cell, "x", Qt::DisplayRole));
    QVERIFY(!model.setData(model.index(0, 1), "x", CConferencesTablemodel::NameRole));
    QCOMPARE(changed.count(), 4);
    QCOMPARE(model.getUserIds(), QList<int>({9}));
    QCOMPARE(cell.data(CConferencesTablemodel::AvatarRole).value<QPixmap>().size(), QSize(3, 3));
}

void TestParticipantsGrid::hoverMarkOnEditableGridOnly()
{
    const QImage editable = hoveredCell(false);
    const QImage readOnly = hoveredCell(true);
    // The avatar (white) spans x and y 10..37: darkened on the editable grid.
    const QColor plain = readOnly.pixelColor(30, 30);
    const QColor darkened = editable.pixelColor(30, 30);
    QCOMPARE(plain, QColor(Qt::white));
    QVERIFY2(darkened.lightness() < 220, qPrintable(darkened.name()));
}

void TestParticipantsGrid::cellSizeByScale()
{
    CConferencesDelegate delegate;
    QCOMPARE(delegate.sizeHint(QStyleOptionViewItem(), QModelIndex()), QSize(48, 68));
    delegate.updateDpi(2.0);
    QCOMPARE(delegate.sizeHint(QStyleOptionViewItem(), QModelIndex()), QSize(96, 136));
    delegate.updateDpi(0);
    QCOMPARE(delegate.sizeHint(QStyleOptionViewItem(), QModelIndex()), QSize(48, 68));
}

void TestParticipantsGrid::namesTellPeopleApart_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("same first name") << "Martin Kowalski"
                                     << "Martin Novak";
    QTest::newRow("same beginning") << "Marta Kowalski"
                                    << "Martin Novak";
    QTest::newRow("one long word each") << "Sofiaandersson"
                                        << "Sofiabergstrom";
}

void TestParticipantsGrid::namesTellPeopleApart()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    // The name's room in a cell at scale 1: 48 pixels less a margin each side.
    QFont font;
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const int width = 40;
    const QStringList shownFirst = CConferencesDelegate::nameLines(first, metrics, width);
    const QStringList shownSecond = CConferencesDelegate::nameLines(second, metrics, width);
    QVERIFY2(shownFirst != shownSecond, qPrintable(shownFirst.join('|') + " / " + shownSecond.join('|')));
    for (const QString &line : shownFirst + shownSecond) {
        QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(line));
    }
    QVERIFY(shownFirst.size() <= 2);
    QCOMPARE(CConferencesDelegate::nameLines("Bo", metrics, width), QStringList{"Bo"});

    // The whole name is the cell's tool tip; the add cell has none.
    CConferencesTablemodel model;
    conferencesItemData cell;
    cell.kind = conferencesItemData::User;
    cell.name = first;
    model.addItem(cell);
    conferencesItemData add;
    add.kind = conferencesItemData::AddCell;
    add.name = "Add";
    model.addItem(add);
    model.refreshModel();
    QCOMPARE(model.index(0, 0).data(Qt::ToolTipRole).toString(), first);
    QVERIFY(!model.index(0, 1).data(Qt::ToolTipRole).isValid());
}

QTEST_MAIN(TestParticipantsGrid)
#include "tst_participantsgrid.moc"
