#pragma once

#include <QTableView>

class CConferencesDelegate;
class CConferencesTablemodel;

// A meeting's participants grid. On an editable grid a click on a user cell
// removes the user and the last cell asks for more users; a read-only grid
// only shows.
class CConferencestableview : public QTableView
{
    Q_OBJECT

public:
    explicit CConferencestableview(QWidget *parent = nullptr);
    ~CConferencestableview() override;

    void initView();
    void setReadOnly();
    bool isReadOnly() const { return m_bReadOnly; }
    QList<int> getUserIds() const;
    void setParticipants(const QList<int> &userIds);
    void updateDpi(double scale);

    CConferencesTablemodel *tableModel() const { return m_pModel; }
    CConferencesDelegate *cellDelegate() const { return m_pDelegate; }

signals:
    void signal_addusers();

public slots:
    void slot_item_clicked(QModelIndex index);

private:
    CConferencesTablemodel *m_pModel = nullptr;
    CConferencesDelegate *m_pDelegate = nullptr;
    bool m_bReadOnly = false;
};
