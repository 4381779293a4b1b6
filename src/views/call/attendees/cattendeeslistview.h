#pragma once

#include <memory>

#include <QListView>

namespace kd_app {
namespace views {

class CAttendeesDelegate;
class CAttendeesListmodel;

// One attendee list; it keeps the model and the row painter made for it.
class CAttendeesListview : public QListView
{
    Q_OBJECT

public:
    explicit CAttendeesListview(QWidget *parent = nullptr);
    ~CAttendeesListview() override;

    // Takes ownership of both and shows the model through the delegate.
    void adopt(CAttendeesListmodel *model, CAttendeesDelegate *delegate);

    CAttendeesListmodel *listModel() const { return m_pModel.get(); }
    CAttendeesDelegate *listDelegate() const { return m_pDelegate.get(); }

private:
    std::unique_ptr<CAttendeesListmodel> m_pModel;
    std::unique_ptr<CAttendeesDelegate> m_pDelegate;
};

} // namespace views
} // namespace kd_app
