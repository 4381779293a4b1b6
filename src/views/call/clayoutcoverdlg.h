#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class CLayoutCoverDlg;
}

namespace kd_app {
namespace views {

// A nearly invisible window over a whole layout that only collects mouse
// moves and presses for the layout engine. Without a compositor it would
// show solid, so it is cut down to nothing and the windows below hand it
// their mouse instead.
class CLayoutCoverDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLayoutCoverDlg(QWidget *parent);
    ~CLayoutCoverDlg() override;

    void setCompositing(bool composited);
    bool isCompositing() const { return m_bCompositing; }

signals:
    void sigMouseMove(QMouseEvent *event);
    void sigMousePress(QMouseEvent *event);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void applyShape();

    std::unique_ptr<Ui::CLayoutCoverDlg> ui;
    bool m_bCompositing = true;
};

} // namespace views
} // namespace kd_app
