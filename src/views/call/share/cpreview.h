#pragma once

#include <QImage>
#include <QWidget>

namespace kd_app {
namespace views {

// The picture of one share tile: the source's thumbnail stretched over the
// whole widget and, for a window, its application icon in the corner.
class CPreview : public QWidget
{
    Q_OBJECT

public:
    explicit CPreview(QWidget *parent = nullptr);
    ~CPreview() override;

    void setThumbnail(const QImage &thumbnail);
    void setIcon(const QImage &icon);
    bool hasThumbnail() const { return m_bHasThumbnail; }
    bool hasIcon() const { return m_bHasIcon; }
    const QImage &thumbnail() const { return m_thumbnail; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_thumbnail;
    bool m_bHasThumbnail = false;
    QImage m_icon;
    bool m_bHasIcon = false;
};

} // namespace views
} // namespace kd_app
