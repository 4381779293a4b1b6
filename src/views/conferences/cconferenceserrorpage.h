#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class CConferencesErrorPage;
}

// A bare page with "Error" and "Back", kept in the meetings container.
class CConferencesErrorPage : public QWidget
{
    Q_OBJECT

public:
    explicit CConferencesErrorPage(QWidget *parent = nullptr);
    ~CConferencesErrorPage() override;

signals:
    void signal_back_clicked();

private:
    std::unique_ptr<Ui::CConferencesErrorPage> m_pUi;
};
