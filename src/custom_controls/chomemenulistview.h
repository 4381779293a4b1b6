#pragma once

#include <QListView>

#include "custom_controls/chomemenuitem.h"

namespace kd_app {
namespace custom_controls {

class CHomeMenuItemDelegate;
class CHomeMenuListModel;

// The home window's menu: large icon-over-text entries on the dark bar.
class CHomeMenuListView : public QListView
{
    Q_OBJECT

public:
    explicit CHomeMenuListView(QWidget *parent = nullptr);
    ~CHomeMenuListView() override;

    void addItem(CHomeMenuItem *item);
    void clearItems();
    bool setItemIcons(int row, const QString &normal, const QString &current, const QString &hover);
    bool setItemText(int row, const QString &text);
    void selectRow(int row);

    CHomeMenuListModel *menuModel() const { return m_pModel.get(); }

private:
    std::unique_ptr<CHomeMenuListModel> m_pModel;
    std::unique_ptr<CHomeMenuItemDelegate> m_pDelegate;
};

} // namespace custom_controls
} // namespace kd_app
