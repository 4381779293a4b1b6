#pragma once

#include <QString>

namespace kd_app {
namespace models {

// The checks of a password change that need no server: the fields against
// the current password and each other, and the fixed format that servers
// without a password policy of their own ask for. The fields are taken as
// the user typed them and trimmed here.
class CPasswordChangeRules
{
public:
    enum Verdict {
        Accepted = 0,
        OldPasswordWrong,
        SameAsOld,
        ConfirmDiffers,
        OldFormatWrong,
        NewFormatWrong,
        ConfirmFormatWrong,
    };

    static constexpr int kMinLength = 4;
    static constexpr int kMaxLength = 16;

    CPasswordChangeRules() = delete;

    // Old against the current password, new against old, confirm against new.
    static Verdict checkFields(const QString &oldPassword, const QString &newPassword, const QString &confirmPassword,
                               const QString &currentPassword);
    // The fixed format: 4 to 16 UTF-16 units without a space inside; the old
    // password is only required to be present and free of spaces.
    static Verdict checkLocalFormat(const QString &oldPassword, const QString &newPassword,
                                    const QString &confirmPassword);
};

} // namespace models
} // namespace kd_app
