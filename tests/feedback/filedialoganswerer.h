#pragma once

#include <memory>
#include <vector>

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "xdoinput.h"

// Answers the next file dialogs that are shown (the program's own picker and
// save dialogs), as a user choosing a file would: each answer in turn is a
// path to choose, or empty to cancel. The question whether to replace an
// existing file is answered with replaceAnswer.
//
// An empty answer cancels the dialog: by the program, or with ByEscapeKey by
// pressing Escape through the X server, as a user would; that needs the
// test's own X server (ownxvfb.h).
class CFileDialogAnswerer : public QObject
{
public:
    enum Cancel { ByProgram, ByEscapeKey };

    explicit CFileDialogAnswerer(QStringList answers, QMessageBox::StandardButton replaceAnswer = QMessageBox::Yes,
                                 Cancel cancel = ByProgram)
        : m_answers(std::move(answers)), m_replaceAnswer(replaceAnswer), m_cancel(cancel)
    {
        qApp->installEventFilter(this);
    }

    ~CFileDialogAnswerer() override { qApp->removeEventFilter(this); }

    int asked() const { return m_asked; }
    QStringList proposals() const { return m_proposals; }
    int replaceQuestions() const { return m_replaceQuestions; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show) {
            return QObject::eventFilter(watched, event);
        }
        if (auto *dialog = qobject_cast<QFileDialog *>(watched)) {
            if (!m_answers.isEmpty()) {
                const QString answer = m_answers.takeFirst();
                const QPointer<QFileDialog> target(dialog);
                QTimer::singleShot(0, this, [this, target, answer] { choose(target, answer); });
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(watched)) {
            const QPointer<QMessageBox> target(box);
            QTimer::singleShot(0, this, [this, target] {
                if (target) {
                    ++m_replaceQuestions;
                    target->button(m_replaceAnswer)->click();
                }
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void choose(QFileDialog *dialog, const QString &answer)
    {
        if (!dialog) {
            return;
        }
        ++m_asked;
        m_proposals << dialog->selectedFiles().value(0);
        if (answer.isEmpty() && m_cancel == ByEscapeKey) {
            pressEscape(dialog);
            return;
        }
        if (answer.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(answer);
        // Through QDialog: QFileDialog keeps its override of accept protected.
        static_cast<QDialog *>(dialog)->accept();
    }

    // Once the dialog has the keyboard: the key must reach it, not the window
    // below.
    void pressEscape(QFileDialog *dialog)
    {
        dialog->activateWindow();
        const QPointer<QFileDialog> target(dialog);
        const bool active = QTest::qWaitFor([target] { return !target || target->isActiveWindow(); }, 5000);
        if (!target || !active) {
            qWarning("the file dialog never had the keyboard");
            if (target) {
                target->reject();
            }
            return;
        }
        m_keyPresses.push_back(xdoinput::startXdotool(xdoinput::keysArguments({"Escape"})));
    }

    QStringList m_answers;
    QMessageBox::StandardButton m_replaceAnswer;
    Cancel m_cancel;
    std::vector<std::unique_ptr<QProcess>> m_keyPresses;
    int m_asked = 0;
    QStringList m_proposals;
    int m_replaceQuestions = 0;
};
