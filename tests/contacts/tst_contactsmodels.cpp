#include <QListView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "ucmrecords.h"
#include "helpers/cwildcardpattern.h"
#include "models/curlpixmap.h"
#include "views/contacts/ccontactsadddelegate.h"
#include "views/contacts/ccontactsaddlistmodel.h"
#include "views/contacts/ccontactsaddlistview.h"
#include "views/contacts/ccontactsdelegate.h"
#include "views/contacts/ccontactslistmodel.h"
#include "views/contacts/ccontactslistview.h"

using confserver::CConfServer;
using confserver::CConfStore;
using kd_app::helpers::CWildcardPattern;
using kd_app::models::CUrlPixmap;
using records::contact;
using records::user;

namespace {

QByteArray seed()
{
    return R"({"users": [{"id": 1, "name": "a", "password": "x", "displayName": "A"},
                         {"id": 2, "name": "b", "password": "x", "displayName": "B", "avatarColor": "#d5733a"}]})";
}

QStringList shownNames(const QAbstractItemModel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) {
        names << model.index(row, 0).data(Qt::UserRole).toString();
    }
    return names;
}

void press(QAbstractItemDelegate &delegate, QAbstractItemModel &model, const QModelIndex &index, const QRect &rect,
           const QPoint &at, bool *consumed)
{
    QStyleOptionViewItem option;
    option.rect = rect;
    QMouseEvent event(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    *consumed = delegate.editorEvent(&event, &model, option, index);
}

} // namespace

class TestContactsModels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contactRowsAndRoles();
    void setDataWritesEachRole_data();
    void setDataWritesEachRole();
    void flagsByKindAndMode();
    void everyRowWaitingForAnAvatarGetsIt();
    void search_data();
    void search();
    void usersMarkedAddedAndTicked();
    void defaultRow_data();
    void defaultRow();
    void ownEntryAndLanguage();
    void contactsDelegateGeometry_data();
    void contactsDelegateGeometry();
    void contactsDelegatePress_data();
    void contactsDelegatePress();
    void addDelegatePress_data();
    void addDelegatePress();

private:
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
};

void TestContactsModels::initTestCase()
{
    QVERIFY(m_store.loadSeed(seed()));
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
}

void TestContactsModels::contactRowsAndRoles()
{
    CContactsListview view;
    view.initView();
    view.setContacts({contact(7, 2, "Bee"), contact(8, 3, "Cee")});
    const CContactsListmodel &model = *view.listModel();
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(shownNames(model), QStringList({"Add contacts", "", "My contacts", "Bee", "Cee"}));
    const QModelIndex bee = model.index(3, 0);
    QCOMPARE(bee.data(CContactsListmodel::KindRole).toInt(), int(contactsItemData::Contact));
    QCOMPARE(bee.data(CContactsListmodel::ContactRole).value<ucmcontactData>().id, 7);
    QCOMPARE(bee.data(CContactsListmodel::TickedRole).toBool(), false);
    QVERIFY(!bee.data(CContactsListmodel::TickedRole + 1).isValid());
    QVERIFY(!model.data(model.index(5, 0), CContactsListmodel::TextRole).isValid());
    QCOMPARE(view.contactAt(5).kind, int(contactsItemData::NoRow));
    QCOMPARE(view.contactAt(-1).kind, int(contactsItemData::NoRow));
}

void TestContactsModels::setDataWritesEachRole_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("written");
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::red);
    QTest::newRow("text") << int(CContactsListmodel::TextRole) << QVariant("New") << true;
    QTest::newRow("kind") << int(CContactsListmodel::KindRole) << QVariant(2) << true;
    QTest::newRow("avatar") << int(CContactsListmodel::AvatarRole) << QVariant(pixmap) << true;
    QTest::newRow("contact") << int(CContactsListmodel::ContactRole) << QVariant::fromValue(contact(9, 9, "N")) << true;
    QTest::newRow("ticked") << int(CContactsListmodel::TickedRole) << QVariant(true) << true;
    QTest::newRow("other role") << int(Qt::DisplayRole) << QVariant("x") << false;
}

void TestContactsModels::setDataWritesEachRole()
{
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QFETCH(bool, written);
    CContactsListmodel model;
    contactsItemData row;
    row.kind = contactsItemData::Contact;
    model.addRow(row);
    model.refreshModel();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QCOMPARE(model.setData(model.index(0, 0), value, role), written);
    QCOMPARE(changed.count(), written ? 1 : 0);
    QCOMPARE(model.setData(model.index(1, 0), value, role), false);
    if (role == CContactsListmodel::AvatarRole) {
        QCOMPARE(model.index(0, 0).data(role).value<QPixmap>().size(), QSize(4, 4));
    } else if (role == CContactsListmodel::ContactRole) {
        QCOMPARE(model.index(0, 0).data(role).value<ucmcontactData>().id, 9);
    } else if (written) {
        QCOMPARE(model.index(0, 0).data(role), value);
    }
}

void TestContactsModels::flagsByKindAndMode()
{
    CContactsListview view;
    view.initView();
    view.setContacts({contact(7, 2, "Bee")});
    const CContactsListmodel &model = *view.listModel();
    const Qt::ItemFlags selectable = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    QCOMPARE(model.flags(model.index(0, 0)) & selectable, selectable);
    QCOMPARE(model.flags(model.index(1, 0)), Qt::NoItemFlags);
    QCOMPARE(model.flags(model.index(2, 0)), Qt::NoItemFlags);
    QCOMPARE(model.flags(model.index(3, 0)) & selectable, selectable);
    view.setPickerMode();
    QCOMPARE(model.flags(model.index(3, 0)), Qt::NoItemFlags);
    QCOMPARE(model.flags(model.index(0, 0)), Qt::NoItemFlags);

    CContactsAddListmodel users;
    users.addUser(contactsAddItemData());
    users.refreshModel();
    QCOMPARE(users.flags(users.index(0, 0)), Qt::NoItemFlags);
}

// Two rows waiting for one address: the finished download reaches both, and
// the views hear of exactly those rows.
void TestContactsModels::everyRowWaitingForAnAvatarGetsIt()
{
    const QString url = m_server->baseUrl() + "/userFiles/avatar/2.jpg";
    CContactsListview contacts;
    contacts.initView();
    contacts.setContacts({contact(7, 2, "Bee", 1, url), contact(8, 2, "Bee again", 1, url), contact(9, 1, "A")});
    CContactsAddListview users;
    users.initView();
    users.setUsers({user(2, "Bee", url), user(1, "A"), user(2, "Bee twice", url)}, {});
    QSignalSpy contactsChanged(contacts.listModel(), &QAbstractItemModel::dataChanged);
    QSignalSpy usersChanged(users.sourceModel(), &QAbstractItemModel::dataChanged);
    QSignalSpy usersReset(users.sourceModel(), &QAbstractItemModel::modelReset);

    // Each queued copy of the address ends in its own download report; every
    // report reaches exactly the rows waiting for the address.
    const auto changedRows = [](const QSignalSpy &spy) {
        QSet<int> rows;
        for (const QList<QVariant> &signal : spy) {
            rows << signal.at(0).toModelIndex().row();
        }
        return rows;
    };
    QTRY_COMPARE(changedRows(contactsChanged), QSet<int>({3, 4}));
    QTRY_COMPARE(changedRows(usersChanged), QSet<int>({0, 2}));
    QCOMPARE(usersReset.count(), 0);
    const QImage expected = CUrlPixmap::cachedPixmap(url).toImage();
    QCOMPARE(contacts.listModel()->index(4, 0).data(CContactsListmodel::AvatarRole).value<QPixmap>().toImage(),
             expected);
    QCOMPARE(users.sourceModel()->index(2, 0).data(CContactsAddListmodel::AvatarRole).value<QPixmap>().toImage(),
             expected);
    QVERIFY(contacts.listModel()->index(5, 0).data(CContactsListmodel::AvatarRole).value<QPixmap>().isNull());
}

void TestContactsModels::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shown");
    const QStringList all{"Anna Berg", "anna-lena", "Björn Åberg", "[Ext] Partner", "Ext Team", "Bo"};
    QTest::newRow("empty shows all") << "" << all;
    QTest::newRow("any letter case") << "ANNA" << QStringList{"Anna Berg", "anna-lena"};
    QTest::newRow("inside a name") << "berg" << QStringList{"Anna Berg", "Björn Åberg"};
    QTest::newRow("non-ASCII in any case") << "åBERG" << QStringList{"Björn Åberg"};
    QTest::newRow("question mark is one character") << "n?a" << QStringList{"Anna Berg", "anna-lena"};
    QTest::newRow("asterisk is any run") << "a*g" << QStringList{"Anna Berg"};
    QTest::newRow("a set") << "[ae]xt" << QStringList{"[Ext] Partner", "Ext Team"};
    QTest::newRow("unclosed bracket is text") << "[Ext" << QStringList{"[Ext] Partner"};
    QTest::newRow("closing bracket is text") << "]" << QStringList{"[Ext] Partner"};
    QTest::newRow("a whole set keeps its meaning")
        << "[Ext]" << QStringList{"Anna Berg", "anna-lena", "Björn Åberg", "[Ext] Partner", "Ext Team"};
    QTest::newRow("no match") << "zz" << QStringList{};
}

void TestContactsModels::search()
{
    QFETCH(QString, text);
    QFETCH(QStringList, shown);
    CContactsAddListview view;
    view.initView();
    QList<ucmuserData> users;
    for (const QString &name : {"Anna Berg", "anna-lena", "Björn Åberg", "[Ext] Partner", "Ext Team", "Bo"}) {
        users << user(users.size() + 1, name);
    }
    view.setUsers(users, {});
    view.slot_textChanged(text);
    QCOMPARE(shownNames(*view.proxyModel()), shown);
    QVERIFY(CWildcardPattern::containing(text).isValid());
}

void TestContactsModels::usersMarkedAddedAndTicked()
{
    CContactsAddListview view;
    view.initView();
    view.setUsers({user(1, "A"), user(2, "B"), user(3, "C")}, {contact(10, 2, "B"), contact(11, 3, "C")});
    CContactsAddListmodel &model = *view.sourceModel();
    const auto added = [&model](int row) {
        return model.index(row, 0).data(CContactsAddListmodel::AddedRole).toBool();
    };
    QCOMPARE(QList<bool>({added(0), added(1), added(2)}), QList<bool>({false, true, true}));
    view.setUserNotAdded(2);
    view.setUserAdded(1);
    QCOMPARE(QList<bool>({added(0), added(1), added(2)}), QList<bool>({true, false, true}));

    // Ticks count only in picker mode.
    view.setCheckedUsers({1, 3});
    QVERIFY(view.getCheckedUserIds().isEmpty());
    view.setPickerMode();
    view.setCheckedUsers({3, 1});
    QCOMPARE(view.getCheckedUserIds(), QList<int>({1, 3}));
    view.setUserChecked(2, true);
    view.setUserChecked(1, false);
    QCOMPARE(view.getCheckedUserIds(), QList<int>({2, 3}));
    QSignalSpy synced(&view, &CContactsAddListview::signal_selectSyncItem);
    view.slot_selectUserItem(view.proxyModel()->index(0, 0));
    QCOMPARE(synced.count(), 1);
    QCOMPARE(synced.first(), QVariantList({1, true}));
    QCOMPARE(view.getCheckedUserIds(), QList<int>({1, 2, 3}));
}

void TestContactsModels::defaultRow_data()
{
    QTest::addColumn<int>("contacts");
    QTest::addColumn<bool>("picker");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("announced");
    QTest::newRow("no contacts") << 0 << false << 0 << 0;
    QTest::newRow("one contact") << 1 << false << 0 << 0;
    QTest::newRow("two contacts") << 2 << false << 3 << 3;
    QTest::newRow("picker leaves the current row") << 2 << true << -1 << 0;
}

void TestContactsModels::defaultRow()
{
    QFETCH(int, contacts);
    QFETCH(bool, picker);
    QFETCH(int, currentRow);
    QFETCH(int, announced);
    CContactsListview view;
    view.initView();
    if (picker) {
        view.setPickerMode();
    }
    QList<ucmcontactData> list;
    for (int i = 0; i < contacts; ++i) {
        list << contact(i + 1, i + 2, QString("C%1").arg(i));
    }
    view.setContacts(list);
    QSignalSpy changed(&view, &CContactsListview::signal_current_changed);
    view.selectDefaultRow();
    QCOMPARE(view.currentRow(), currentRow);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toInt(), announced);
}

void TestContactsModels::ownEntryAndLanguage()
{
    CContactsListview view;
    view.initView();
    view.setContacts({contact(1, 1, "Me myself"), contact(2, 2, "Own too", 2), contact(3, 5, "Other")});
    QCOMPARE(shownNames(*view.listModel()).mid(3), QStringList({"Me myself(Me)", "Own too(Me)", "Other"}));
    view.listModel()->setData(view.listModel()->index(0, 0), "x", CContactsListmodel::TextRole);
    view.listModel()->setData(view.listModel()->index(3, 0), "x", CContactsListmodel::TextRole);
    view.listModel()->setData(view.listModel()->index(4, 0), "y", CContactsListmodel::TextRole);
    view.retranslateGroups();
    // The header rows and the first contact are labelled again; the others keep their text.
    QCOMPARE(shownNames(*view.listModel()),
             QStringList({"Add contacts", "", "My contacts", "Me myself(Me)", "y", "Other"}));
    ucmuserData self = user(1, "Renamed");
    view.updateSelf(self);
    QCOMPARE(view.contactAt(3).text, QString("Renamed(Me)"));
}

void TestContactsModels::contactsDelegateGeometry_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("height");
    QTest::newRow("contact") << 1.0 << int(contactsItemData::Contact) << 40;
    QTest::newRow("header") << 1.0 << int(contactsItemData::Header) << 48;
    QTest::newRow("separator") << 1.0 << int(contactsItemData::Separator) << 1;
    QTest::newRow("caption") << 1.0 << int(contactsItemData::Caption) << 20;
    QTest::newRow("contact at 1.5") << 1.5 << int(contactsItemData::Contact) << 60;
    QTest::newRow("separator at 2") << 2.0 << int(contactsItemData::Separator) << 1;
    QTest::newRow("caption at 2") << 2.0 << int(contactsItemData::Caption) << 40;
    QTest::newRow("scale 0 is 1") << 0.0 << int(contactsItemData::Header) << 48;
}

void TestContactsModels::contactsDelegateGeometry()
{
    QFETCH(double, scale);
    QFETCH(int, kind);
    QFETCH(int, height);
    CContactsListmodel model;
    contactsItemData row;
    row.kind = kind;
    model.addRow(row);
    model.refreshModel();
    CContactsDelegate delegate;
    delegate.updateDpi(scale);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 250, 10);
    QCOMPARE(delegate.sizeHint(option, model.index(0, 0)), QSize(250, height));
    CContactsAddDelegate users;
    users.updateDpi(scale);
    QCOMPARE(users.sizeHint(option, QModelIndex()).height(), int(40 * (scale > 0 ? scale : 1)));
}

void TestContactsModels::contactsDelegatePress_data()
{
    QTest::addColumn<bool>("picker");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("reported");
    // A 250 px row at scale 1: the tick box spans x 226..239 and y 13..26.
    QTest::newRow("picker, on the box") << true << 1.0 << QPoint(230, 20) << true;
    QTest::newRow("picker, beside the box") << true << 1.0 << QPoint(200, 20) << false;
    QTest::newRow("not picker, on the box") << false << 1.0 << QPoint(230, 20) << false;
    QTest::newRow("picker at 2, on the box") << true << 2.0 << QPoint(210, 40) << true;
}

void TestContactsModels::contactsDelegatePress()
{
    QFETCH(bool, picker);
    QFETCH(double, scale);
    QFETCH(QPoint, at);
    QFETCH(bool, reported);
    CContactsListmodel model;
    contactsItemData row;
    row.kind = contactsItemData::Contact;
    model.addRow(row);
    model.refreshModel();
    CContactsDelegate delegate;
    delegate.updateDpi(scale);
    if (picker) {
        delegate.setPickerMode();
    }
    QSignalSpy selected(&delegate, &CContactsDelegate::signal_selectContactItem);
    bool consumed = false;
    press(delegate, model, model.index(0, 0), QRect(0, 0, 250, int(40 * scale)), at, &consumed);
    QCOMPARE(selected.count(), reported ? 1 : 0);
    QCOMPARE(consumed, reported);
}

void TestContactsModels::addDelegatePress_data()
{
    QTest::addColumn<bool>("picker");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("addReports");
    QTest::addColumn<int>("tickReports");
    QTest::newRow("Add button") << false << false << QPoint(470, 20) << 1 << 0;
    QTest::newRow("Added does not react") << false << true << QPoint(470, 20) << 0 << 0;
    QTest::newRow("beside the button") << false << false << QPoint(300, 20) << 0 << 0;
    QTest::newRow("picker box") << true << false << QPoint(500, 20) << 0 << 1;
    QTest::newRow("picker, where the button was") << true << false << QPoint(460, 20) << 0 << 0;
}

void TestContactsModels::addDelegatePress()
{
    QFETCH(bool, picker);
    QFETCH(bool, added);
    QFETCH(QPoint, at);
    QFETCH(int, addReports);
    QFETCH(int, tickReports);
    CContactsAddListmodel model;
    contactsAddItemData row;
    row.added = added;
    model.addUser(row);
    model.refreshModel();
    CContactsAddDelegate delegate;
    if (picker) {
        delegate.setPickerMode();
    }
    QSignalSpy adds(&delegate, &CContactsAddDelegate::signal_addContactItem);
    QSignalSpy ticks(&delegate, &CContactsAddDelegate::signal_selectUserItem);
    bool consumed = false;
    press(delegate, model, model.index(0, 0), QRect(0, 0, 540, 40), at, &consumed);
    QCOMPARE(adds.count(), addReports);
    QCOMPARE(ticks.count(), tickReports);
    QCOMPARE(consumed, addReports + tickReports > 0);
}

QTEST_MAIN(TestContactsModels)
#include "tst_contactsmodels.moc"
