#include "cjoinconfrules.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "helpers/cappconfigutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "views/home/cjoinconfcombo.h"

namespace kd_app {
namespace views {

using helpers::CAppConfigUtils;
using helpers::CUserConfigUtils;
using models::CCallController;

void CJoinConfRules::setUpNumberField(const CJoinConfFields &fields, QWidget *form)
{
    fields.number->initLineEdit();
    fields.number->lineEdit()->setAlignment(Qt::AlignCenter);
    fields.number->setView(new QListView(form));
}

void CJoinConfRules::retranslate(const CJoinConfFields &fields)
{
    fields.number->setPlaceholderText(tr("Input meeting ID"));
    fields.micOff->adjustSize();
    fields.cameraOff->adjustSize();
    if (CAppConfigUtils::instance().isDisableAudioOnlyCall()) {
        fields.videoJoin->setText(tr("Join"));
        return;
    }
    fields.videoJoin->setText(tr("Video Join"));
    fields.audioJoin->setText(tr("Audio Join"));
}

void CJoinConfRules::hideAudioChoicesIfDisabled(const CJoinConfFields &fields)
{
    if (CAppConfigUtils::instance().isDisableAudioOnlyCall()) {
        fields.audioJoin->hide();
        fields.cameraOff->hide();
    }
}

void CJoinConfRules::fillHistory(const CJoinConfFields &fields, const QStringList &numbers)
{
    CJoinConfCombo *combo = fields.number;
    combo->clear();
    for (const QString &number : numbers) {
        combo->addItem(number);
    }
    if (combo->currentText().isEmpty() && combo->count() > 0) {
        combo->setCurrentIndex(0);
    }
}

void CJoinConfRules::loadChoices(const CJoinConfFields &fields)
{
    const CUserConfigUtils *config = CUserConfigUtils::getInstance();
    fields.micOff->setChecked(config->isDisableMicOnJoinConf());
    fields.cameraOff->setChecked(config->isDisableCameraOnJoinConf());
}

bool CJoinConfRules::join(const CJoinConfFields &fields, bool isAudioOnly)
{
    const QString number = fields.number->currentText().trimmed();
    if (number.isEmpty()) {
        KD_LOG << "Empty conf id";
        return false;
    }
    // A partly checked box counts as not checked.
    const bool micOff = fields.micOff->checkState() == Qt::Checked;
    const bool cameraOff = fields.cameraOff->checkState() == Qt::Checked;
    CUserConfigUtils *config = CUserConfigUtils::getInstance();
    config->setDisableCameraOnJoinConf(cameraOff);
    config->setDisableMicOnJoinConf(micOff);
    CCallController::enableMic(!micOff);
    CCallController::enableCamera(!cameraOff);
    CCallController::getInstance().dialOut(number, fields.password->text(), !isAudioOnly, QString());
    return true;
}

} // namespace views
} // namespace kd_app
