#pragma once

#include <QFrame>

#include "engine/kdtypes.h"

class QLabel;

namespace kd_app {
namespace views {

class CPreview;

// One tile of the share picker: a screen, a window or the whiteboard, with
// its thumbnail and its name; selected by a click, shared by a double-click.
class CWidgetContentSub : public QFrame
{
    Q_OBJECT

public:
    CWidgetContentSub(bool isWhiteBoard, QWidget *parent);
    ~CWidgetContentSub() override;

    void setSourceInfo(const kd::engine::KDContentSourceInfo &info);
    const kd::engine::KDContentSourceInfo &sourceInfo() const { return m_sourceInfo; }
    bool isWhiteBoard() const { return m_bWhiteBoard; }
    void setName(const QString &name);
    QString name() const;
    void setSelected(bool selected);
    bool isSelected() const { return m_bSelected; }
    void setRow(int row) { m_nRow = row; }
    void setColumn(int column) { m_nColumn = column; }
    int row() const { return m_nRow; }
    int column() const { return m_nColumn; }
    // Fetches the thumbnail (and a window's icon) from the engine once.
    void loadThumbnail();
    void setScale(double scale);
    double scale() const { return m_fScale; }
    CPreview *preview() const { return m_pPreview; }
    QLabel *nameLabel() const { return m_pName; }

signals:
    void signal_selected();
    void signal_doubliClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showNameTip(const QPoint &globalPos);

    bool m_bHover = false;
    bool m_bSelected = false;
    int m_nRow = 0;
    int m_nColumn = 0;
    kd::engine::KDContentSourceInfo m_sourceInfo;
    bool m_bWhiteBoard = false;
    double m_fScale = 1.0;
    CPreview *m_pPreview = nullptr;
    QLabel *m_pName = nullptr;
};

} // namespace views
} // namespace kd_app
