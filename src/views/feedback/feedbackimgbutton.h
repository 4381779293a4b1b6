#pragma once

#include <memory>

#include <QImage>
#include <QWidget>

namespace Ui {
class FeedBackImgButton;
}

// One picture thumbnail of the feedback dialog, with a delete button that
// shows while the mouse is over it.
class FeedBackImgButton : public QWidget
{
    Q_OBJECT

public:
    explicit FeedBackImgButton(QWidget *parent = nullptr);
    ~FeedBackImgButton() override;

    void setIndex(int index);
    int index() const { return m_nIndex; }
    void setImage(const QImage &image);

signals:
    void sigeleteTag(int index);

public slots:
    void slotRemoveImageAction();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    // The window scales the thumbnail's fixed size; the picture and the
    // delete button keep their places in it.
    void resizeEvent(QResizeEvent *event) override;

private:
    std::unique_ptr<Ui::FeedBackImgButton> ui;
    int m_nIndex = 0;
};
