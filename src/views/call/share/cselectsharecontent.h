#pragma once

#include <memory>
#include <vector>

#include "engine/kdtypes.h"
#include "views/base/cdraggablewgt.h"

namespace Ui {
class CSelectShareContent;
}

class QCheckBox;
class QPushButton;

namespace kd_app {
namespace views {

class CArrowWidget;
class CWidgetContents;
class CWidgetContentSub;

// The share picker: one tile per screen with its live thumbnail and one for
// the whiteboard; whether the computer's sound goes along and whether
// fluency comes first; "Share" (or a double-click on a tile) starts sending.
class CSelectShareContent : public CDraggableWgt
{
    Q_OBJECT

public:
    explicit CSelectShareContent(QWidget *parent);
    ~CSelectShareContent() override;

    void setContentSources(const std::vector<kd::engine::KDContentSourceInfo> &sources);
    void setShareAudioChecked(bool checked);
    void setFluencyFirstChecked(bool checked);

    CWidgetContents *screenGrid() const;
    CWidgetContents *windowGrid() const;
    QCheckBox *shareSoundBox() const;
    QCheckBox *fluencyBox() const;
    QPushButton *shareButton() const;
    CArrowWidget *soundHint() const { return m_pSoundHint; }
    CArrowWidget *fluencyHint() const { return m_pFluencyHint; }

public slots:
    void slot_contentSelected();
    void on_pBtShare_clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void onDpiChanged() override;

private:
    void updateContentsHeight();
    void updateShareEnabled();
    void shareWhiteBoard();
    void shareScreen(const kd::engine::KDContentSourceInfo &source);
    static void stopCurrentContent();
    // Tells the layout engine which screen is shared; the engine is found
    // through the picker's parents, which it owns.
    void setSharedScreenIndex(int index);
    void placeHint(CArrowWidget *hint, const QWidget *button);

    std::unique_ptr<Ui::CSelectShareContent> ui;
    CArrowWidget *m_pSoundHint = nullptr;
    CArrowWidget *m_pFluencyHint = nullptr;
    bool m_bShareAudio = false;
};

} // namespace views
} // namespace kd_app
