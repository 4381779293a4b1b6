#pragma once

#include <QComboBox>

class QLineEdit;

// The meeting-number field of the join forms: an editable list of recently
// used numbers whose text is typed into a frameless, centred line edit laid
// over the combo, so that the number stays centred whatever the combo's style.
class CJoinConfCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit CJoinConfCombo(QWidget *parent = nullptr);

    void initLineEdit();
    void setText(const QString &text);
    void setPlaceholderText(const QString &text);
    void updateDpi(double scale);

    QLineEdit *innerLineEdit() const { return m_comboLineEdit; }

private:
    QLineEdit *m_comboLineEdit = nullptr;
};
