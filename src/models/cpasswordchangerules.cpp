#include "cpasswordchangerules.h"

namespace kd_app {
namespace models {

namespace {

bool hasSpace(const QString &text)
{
    return text.contains(QLatin1Char(' '));
}

bool wellFormed(const QString &password)
{
    return password.size() >= CPasswordChangeRules::kMinLength && password.size() <= CPasswordChangeRules::kMaxLength &&
           !hasSpace(password);
}

} // namespace

CPasswordChangeRules::Verdict CPasswordChangeRules::checkFields(const QString &oldPassword, const QString &newPassword,
                                                                const QString &confirmPassword,
                                                                const QString &currentPassword)
{
    const QString old = oldPassword.trimmed();
    const QString fresh = newPassword.trimmed();
    if (old != currentPassword) {
        return OldPasswordWrong;
    }
    if (fresh == old) {
        return SameAsOld;
    }
    if (confirmPassword.trimmed() != fresh) {
        return ConfirmDiffers;
    }
    return Accepted;
}

CPasswordChangeRules::Verdict CPasswordChangeRules::checkLocalFormat(const QString &oldPassword,
                                                                     const QString &newPassword,
                                                                     const QString &confirmPassword)
{
    const QString old = oldPassword.trimmed();
    if (old.isEmpty() || hasSpace(old)) {
        return OldFormatWrong;
    }
    if (!wellFormed(newPassword.trimmed())) {
        return NewFormatWrong;
    }
    if (!wellFormed(confirmPassword.trimmed())) {
        return ConfirmFormatWrong;
    }
    return Accepted;
}

} // namespace models
} // namespace kd_app
