#include "cconferencesscheduledurationedit.h"

#include <QLineEdit>
#include <QRegularExpression>

#include "models/cmeetingrules.h"

namespace {

constexpr int kMinutesPerHour = 60;
// Three digits of hours: more than any server lets a meeting last.
constexpr int kLongestMinutes = 999 * kMinutesPerHour + 59;

const QRegularExpression &durationPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{0,3})(:(\\d{0,2}))?\\s*$"));
    return pattern;
}

} // namespace

CConferencesScheduleDurationEdit::CConferencesScheduleDurationEdit(QWidget *parent)
    : QSpinBox(parent), m_icon(this, QStringLiteral(":/resources/images/conferences/icon_time.png"))
{
    setRange(0, kLongestMinutes);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

CConferencesScheduleDurationEdit::~CConferencesScheduleDurationEdit() = default;

void CConferencesScheduleDurationEdit::updateDpi(double scale)
{
    m_icon.updateDpi(scale);
}

QString CConferencesScheduleDurationEdit::textFromValue(int minutes) const
{
    return kd_app::models::CMeetingRules::durationText(qint64(minutes) * 60000);
}

int CConferencesScheduleDurationEdit::valueFromText(const QString &text) const
{
    const QRegularExpressionMatch match = durationPattern().match(text);
    if (!match.hasMatch()) {
        return value();
    }
    return match.captured(1).toInt() * kMinutesPerHour + match.captured(3).toInt();
}

QValidator::State CConferencesScheduleDurationEdit::validate(QString &text, int &position) const
{
    Q_UNUSED(position)
    const QRegularExpressionMatch match = durationPattern().match(text);
    if (!match.hasMatch()) {
        return QValidator::Invalid;
    }
    if (match.captured(1).isEmpty() || match.captured(3).size() != 2) {
        return QValidator::Intermediate;
    }
    return match.captured(3).toInt() < kMinutesPerHour ? QValidator::Acceptable : QValidator::Invalid;
}

void CConferencesScheduleDurationEdit::stepBy(int steps)
{
    const int colon = lineEdit()->text().indexOf(QLatin1Char(':'));
    const bool inHours = colon >= 0 && lineEdit()->cursorPosition() <= colon;
    const int cursor = lineEdit()->cursorPosition();
    QSpinBox::stepBy(inHours ? steps * kMinutesPerHour : steps);
    lineEdit()->setCursorPosition(qMin(cursor, lineEdit()->text().size()));
}
