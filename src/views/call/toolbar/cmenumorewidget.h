#pragma once

#include <QWidget>

class QPushButton;
class QVBoxLayout;

namespace kd_app {
namespace views {

// The More button's popup. Its one entry, "Speech Request", is offered
// while the host holds the local side muted and asks the host to unmute it.
class CMenuMoreWidget : public QWidget
{
    Q_OBJECT

public:
    CMenuMoreWidget(QWidget *parent, Qt::WindowFlags flags);
    ~CMenuMoreWidget() override;

    // Rebuilds the entry: present when enabled, gone otherwise.
    void setRequestSpeakEnabled(bool enabled);

    QPushButton *requestSpeakButton() const { return m_requestSpeak; }

signals:
    void signal_clicked_requestSpeak();

public slots:
    void slot_clicked_requestSpeak();

private:
    QVBoxLayout *m_vLayout = nullptr;
    QPushButton *m_requestSpeak = nullptr;
    bool m_bRequestSpeakEnabled = false;
};

} // namespace views
} // namespace kd_app
