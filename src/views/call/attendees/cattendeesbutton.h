#pragma once

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;
class QSpacerItem;

// The toolbar's "Attendees" button: while a call is connected it asks the
// conference-management server for the participants every 10 s and shows
// their number over its icon.
class CAttendeesButton : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPollIntervalMs = 10000;

    explicit CAttendeesButton(QWidget *parent);
    ~CAttendeesButton() override;

    // From call status 5 to call status 6; a "CCM" server or a guest cannot
    // list participants, so nothing polls then. Each call starts without the
    // list of the one before.
    void startParticipantPolling();
    void stopParticipantPolling();
    // Only a signed-in account of a server that is not "CCM" holds the token
    // the server's participant list asks for.
    static bool canListParticipants();
    void updateScale(double scale);

    // The toolbar decides whether the button may show at all (it hides it
    // for a "CCM" server, a guest, a host who has the management window and
    // a call to one person); a reply shows it only while that holds. A
    // button on its own may show.
    void setShowAllowed(bool allowed);
    bool isShowAllowed() const { return m_bShowAllowed; }

    QString countText() const { return m_strCount; }
    bool isPolling() const { return m_timer.isActive(); }
    QLabel *caption() const { return m_pCaption; }

signals:
    void clicked();

public slots:
    void slot_timeout();
    void slot_tokenChanged();
    void slot_getParticipants_succeed();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void forgetParticipants();
    void retranslate();

    QPixmap m_icon;
    QString m_strCount = QStringLiteral("0");
    QTimer m_timer;
    QLabel *m_pCaption = nullptr;
    QSpacerItem *m_pBottomSpacer = nullptr;
    double m_fScale = 0.0;
    bool m_bShowAllowed = true;
};
