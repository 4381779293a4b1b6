#pragma once

#include <functional>
#include <memory>

#include <QMessageBox>

#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"

class QAbstractButton;
class QDialogButtonBox;

namespace kd_app {
namespace views {

struct AlertDlgForm;

// The program's message box. The standard-button form answers with the
// standard button pressed (Cancel when the box was closed or replaced); the
// free form reports its custom buttons as signals and stays open until its
// owner closes it. A new standard box ends the boxes still open, so the user
// always sees the latest message only.
class AlertDlg : public CBaseDlg
{
    Q_OBJECT

public:
    using ParentProvider = std::function<QWidget *()>;

    explicit AlertDlg(QWidget *parent);
    AlertDlg(QWidget *parent, const QString &title, const QString &text, QMessageBox::StandardButtons buttons,
             QMessageBox::StandardButton defaultButton);
    ~AlertDlg() override;

    static int information(QWidget *parent, const QString &title, const QString &text);
    static int question(QWidget *parent, const QString &title, const QString &text,
                        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);
    static void informationNonModal(QWidget *parent, const QString &title, const QString &text);

    // Who owns a box whose caller gave no parent: the window manager names
    // its active main window here once it exists.
    static void setParentProvider(ParentProvider provider);

    void setContent(const QString &text);
    void setButton1Text(const QString &text);
    void setButton2Text(const QString &text);
    void setCloseButtonVisible(bool visible);

    bool isNonModal() const { return m_bNonModal; }
    int clickedButton() const { return m_clickedButton; }
    QDialogButtonBox *buttonBox() const { return m_pButtonBox; }

signals:
    void sigClickButton1();
    void sigClickButton2();
    void sigClickButton3();
    void sigCloseWindow();

public slots:
    void slotOnWinClose();
    void slotOnClickButton1();
    void slotOnClickButton2();
    void slotOnClickButton3();
    void onButtonClicked(QAbstractButton *button);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    static QWidget *resolveParent(QWidget *parent);
    static int runModal(QWidget *parent, const QString &title, const QString &text,
                        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);
    void buildButtonBox(QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);

    std::unique_ptr<AlertDlgForm> m_pForm;
    QDialogButtonBox *m_pButtonBox = nullptr;
    int m_clickedButton = 0;
    CDpiScaler m_dpiScaler;
    bool m_bNonModal = false;
};

} // namespace views
} // namespace kd_app
