#pragma once

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "views/base/alertdlg.h"

// Answers the next message boxes that are shown, so that a test of a window
// that asks something never waits for a user. Keep one alive for as long as
// boxes may appear:
//
//     CAlertAnswerer answerer(QMessageBox::Yes);
//     window.deleteEverything(); // asks, gets Yes
//
// A button the box does not have, or QMessageBox::NoButton, closes the box
// instead, which a box reports as Cancel. Every box answered is counted, with
// its text, for the test to check what was asked.
class CAlertAnswerer : public QObject
{
public:
    explicit CAlertAnswerer(QMessageBox::StandardButton answer, int times = 1) : m_answer(answer), m_nRemaining(times)
    {
        qApp->installEventFilter(this);
    }

    ~CAlertAnswerer() override { qApp->removeEventFilter(this); }

    int answered() const { return m_texts.size(); }
    QStringList texts() const { return m_texts; }
    QStringList titles() const { return m_titles; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<kd_app::views::AlertDlg *>(watched);
        if (box && event->type() == QEvent::Show && m_nRemaining > 0) {
            --m_nRemaining;
            const QPointer<kd_app::views::AlertDlg> target(box);
            // Answer from the box's own event loop, once it runs.
            QTimer::singleShot(0, this, [this, target] { answer(target); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void answer(kd_app::views::AlertDlg *box)
    {
        if (!box) {
            return;
        }
        QLabel *content = box->findChild<QLabel *>("m_alertContent");
        m_texts << (content ? content->text() : QString());
        QLabel *title = box->findChild<QLabel *>("m_title");
        m_titles << (title ? title->text() : QString());
        QDialogButtonBox *buttons = box->buttonBox();
        QPushButton *button = buttons ? buttons->button(QDialogButtonBox::StandardButton(int(m_answer))) : nullptr;
        if (button && m_answer != QMessageBox::NoButton) {
            button->click();
        } else {
            box->close();
        }
    }

    QMessageBox::StandardButton m_answer;
    int m_nRemaining;
    QStringList m_texts;
    QStringList m_titles;
};
