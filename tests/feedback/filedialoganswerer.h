#pragma once

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

// Answers the next file dialogs that are shown (the program's own picker and
// save dialogs), as a user choosing a file would: each answer in turn is a
// path to choose, or empty to cancel. The question whether to replace an
// existing file is answered with replaceAnswer.
class CFileDialogAnswerer : public QObject
{
public:
    explicit CFileDialogAnswerer(QStringList answers, QMessageBox::StandardButton replaceAnswer = QMessageBox::Yes)
        : m_answers(std::move(answers)), m_replaceAnswer(replaceAnswer)
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
        if (answer.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(answer);
        // Through QDialog: QFileDialog keeps its override of accept protected.
        static_cast<QDialog *>(dialog)->accept();
    }

    QStringList m_answers;
    QMessageBox::StandardButton m_replaceAnswer;
    int m_asked = 0;
    QStringList m_proposals;
    int m_replaceQuestions = 0;
};
