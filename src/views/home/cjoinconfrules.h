#pragma once

#include <QCoreApplication>
#include <QStringList>

class CJoinConfCombo;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kd_app {
namespace views {

// The fields both join forms have, under the same names.
struct CJoinConfFields
{
    template <typename Form> static CJoinConfFields of(const Form &ui)
    {
        return {ui.m_pCmbBoxConfNumber,    ui.m_pEditPassword, ui.m_pChkBoxDisableMic,
                ui.m_pChkBoxDisableCamera, ui.m_pBtnVideoJoin, ui.m_pBtnAudioJoin};
    }

    CJoinConfCombo *number;
    QLineEdit *password;
    QCheckBox *micOff;
    QCheckBox *cameraOff;
    QPushButton *videoJoin;
    QPushButton *audioJoin;
};

// What the join dialog and the guest's join page do alike.
class CJoinConfRules
{
    Q_DECLARE_TR_FUNCTIONS(kd_app::views::CJoinConfRules)

public:
    CJoinConfRules() = delete;

    // The number field's own line edit over the combo, and a list popup the
    // style sheet can reach, owned by the form.
    static void setUpNumberField(const CJoinConfFields &fields, QWidget *form);
    // The texts the generated translation does not set: the number's
    // placeholder and the button texts ("Join" alone without audio-only calls).
    static void retranslate(const CJoinConfFields &fields);
    // Without audio-only calls neither the audio join nor the camera choice is offered.
    static void hideAudioChoicesIfDisabled(const CJoinConfFields &fields);
    // Replaces the list by the numbers, newest first; an empty current text
    // then takes the newest.
    static void fillHistory(const CJoinConfFields &fields, const QStringList &numbers);
    // "Turn off Microphone" and "Turn off Camera" as stored for this user.
    static void loadChoices(const CJoinConfFields &fields);
    // Saves the choices, switches the devices and dials the trimmed number
    // with the password exactly as typed. A blank number does nothing and
    // gives false.
    static bool join(const CJoinConfFields &fields, bool isAudioOnly);
};

} // namespace views
} // namespace kd_app
