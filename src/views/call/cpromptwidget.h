#pragma once

#include <memory>

#include <QColor>

#include "views/base/cbasewgt.h"

class QLabel;
class QTimer;

namespace kd_app {
namespace views {

// A short notice over the lower part of the video layout: one line of text
// on a half-transparent dark box that hides itself after the given time. The
// layout engine decides texts, durations and the window it is shown over.
class CPromptWidget : public CBaseWgt
{
    Q_OBJECT

public:
    explicit CPromptWidget(QWidget *parent);
    ~CPromptWidget() override;

    void showPrompt(const QString &text, int durationMs);
    void setActive(bool on, int durationMs = 0);
    // Hide and show again without touching the timer: a prompt hidden this
    // way still ends on time.
    void hideIfActive();
    void showIfActive();
    void updatePosition();
    void adjustToText();
    void applyStyle();

    bool isActive() const { return m_bActive; }
    QString text() const;

public slots:
    void slot_Timer();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void onDpiChanged() override;

private:
    double scale() const { return m_fStretchFactor > 0 ? m_fStretchFactor : 1.0; }

    QLabel *m_text = nullptr;
    int m_nFontPointSize = 14;
    QColor m_textColor{255, 255, 255, 255};
    QColor m_backgroundColor{0, 0, 0, 255};
    int m_nVerticalPercent = 80;
    int m_nBackgroundAlpha = 178;
    bool m_bActive = false;
    std::unique_ptr<QTimer> m_pTimer;
};

} // namespace views
} // namespace kd_app
