#pragma once

#include <QWidget>

class QLabel;

// A large tile at the top of the meetings list: "My room", "Schedule
// meeting" or "Join meeting", an icon beside the text.
class CConferencesToolBtn : public QWidget
{
    Q_OBJECT

public:
    enum Kind {
        MyRoom = 0,
        Schedule = 1,
        Join = 2,
    };

    explicit CConferencesToolBtn(QWidget *parent = nullptr);
    ~CConferencesToolBtn() override;

    void setType(int kind);
    int type() const { return m_nKind; }
    void retranslate();
    void updateDpi(double scale);

signals:
    void signal_clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString textOf(int kind) const;

    int m_nKind = -1;
    QLabel *m_pIcon = nullptr;
    QLabel *m_pText = nullptr;
};
