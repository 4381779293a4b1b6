#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>

#include "views/base/cscreendpiwatcher.h"

class QScreen;

namespace kd_app {
namespace views {

// Base of every dialog and top-level window: frameless, dragged by its title
// area, deaf to Escape, centred on its screen at the first show, and told
// through onDpiChanged whenever the display-scale factor of its screen changes.
class CBaseDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CBaseDlg(QWidget *parent);
    ~CBaseDlg() override;

    void updateDpi(unsigned int dpi);
    void centerWindowOnScreen(QWidget *reference = nullptr);
    QScreen *getDisplayScreen(QWidget *reference = nullptr) const;
    void setStyleSheetByScale(const QString &base);

    double stretchFactor() const { return m_fStretchFactor; }
    int titleHeight() const { return m_nTitleHeight; }

signals:
    void sigDragPosChanged(QWidget *sender, int relativeX, int relativeY);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

    virtual void onDpiChanged();
    virtual void clearDefaultButtons();

    bool m_bFirstShow = true;
    double m_fStretchFactor = 0.0;
    unsigned int m_nDpi = 0;
    int m_nTitleHeight = 0;
    bool m_bDrag = false;
    bool m_bMoving = false;
    QPoint m_pressPos;
    QPoint m_pressGlobalPos;
    int m_nBorderWidth = 8;
    int m_nResizeZone = 0;
    QRect m_pressRect;
    bool m_bResizable = false;
    bool m_bCenterOnFirstShow = true;

private:
    void moveByDrag(const QPoint &globalPos);
    void resizeStep();
    int resizeZoneAt(const QPoint &pos) const;

    CScreenDpiWatcher m_dpiWatcher;
};

} // namespace views
} // namespace kd_app
