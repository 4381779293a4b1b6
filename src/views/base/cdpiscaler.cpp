#include "cdpiscaler.h"

#include <QDialogButtonBox>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>

namespace kd_app {
namespace views {

namespace {

// Maximum sizes from this value on mean "no limit" and are left alone.
constexpr int UNLIMITED_SIZE = 8000;

const QDialogButtonBox::StandardButton SCALED_BOX_BUTTONS[] = {
    QDialogButtonBox::Ok,
    QDialogButtonBox::Yes,
    QDialogButtonBox::Cancel,
    QDialogButtonBox::No,
};

const void *itemKey(QLayoutItem *item)
{
    return static_cast<const void *>(item);
}

// Pages of these containers are not layout items, so they are reached by
// the container's exact class; a subclass keeps its own geometry.
QList<QWidget *> containerPages(QWidget *widget)
{
    QList<QWidget *> pages;
    const QString className = QString::fromLatin1(widget->metaObject()->className());
    if (className == "QTabWidget") {
        auto *tabs = static_cast<QTabWidget *>(widget);
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)) {
                pages << tabs->widget(i);
            }
        }
    } else if (className == "QStackedWidget") {
        auto *stack = static_cast<QStackedWidget *>(widget);
        for (int i = 0; i < stack->count(); ++i) {
            if (stack->widget(i)) {
                pages << stack->widget(i);
            }
        }
    } else if (className == "QScrollArea") {
        if (QWidget *content = static_cast<QScrollArea *>(widget)->widget()) {
            pages << content;
        }
    } else if (className == "QDialogButtonBox") {
        auto *box = static_cast<QDialogButtonBox *>(widget);
        for (QDialogButtonBox::StandardButton which : SCALED_BOX_BUTTONS) {
            if (QPushButton *button = box->button(which)) {
                pages << button;
            }
        }
    }
    return pages;
}

bool isScrollArea(const QWidget *widget)
{
    return qstrcmp(widget->metaObject()->className(), "QScrollArea") == 0;
}

} // namespace

int CDpiScaler::scaled(int value) const
{
    return static_cast<int>(value * m_fScale);
}

void CDpiScaler::init(int baseWidth, int baseHeight, QWidget *window)
{
    if (m_nBaseWidth != 0 || m_nBaseHeight != 0) {
        return;
    }
    m_nBaseWidth = baseWidth;
    m_nBaseHeight = baseHeight;
    if (window) {
        recordWidgetTree(window);
    }
}

void CDpiScaler::scaleWindow(double factor, QWidget *window)
{
    scaleWidget(factor, window, true);
}

void CDpiScaler::scaleWidget(double factor, QWidget *widget, bool fixSize)
{
    if (!widget || !isInitialized()) {
        return;
    }
    m_fScale = factor;
    applyWidgetTree(widget);
    if (fixSize) {
        widget->setFixedSize(scaled(m_nBaseWidth), scaled(m_nBaseHeight));
    }
}

void CDpiScaler::recordWidgetTree(QWidget *widget)
{
    if (!widget || !widget->layout()) {
        return;
    }
    recordLayout(widget->layout());
    recordLayoutItems(widget->layout());
}

void CDpiScaler::recordWidget(const void *key, QWidget *widget)
{
    if (!widget) {
        return;
    }
    CDpiScaleRecord &record = m_records[key];
    record = CDpiScaleRecord();
    record.kind = CDpiScaleRecord::Widget;
    record.width = widget->width();
    record.height = widget->height();
    record.sizePolicy = widget->sizePolicy();
    record.minimumSize = widget->minimumSize();
    record.maximumSize = widget->maximumSize();
}

void CDpiScaler::recordLayout(QLayout *layout)
{
    if (!layout) {
        return;
    }
    CDpiScaleRecord &record = m_records[itemKey(layout)];
    record = CDpiScaleRecord();
    record.kind = CDpiScaleRecord::Layout;
    layout->getContentsMargins(&record.marginLeft, &record.marginTop, &record.marginRight, &record.marginBottom);
    record.spacing = layout->spacing();
}

void CDpiScaler::recordSpacer(QSpacerItem *spacer)
{
    if (!spacer) {
        return;
    }
    CDpiScaleRecord &record = m_records[itemKey(spacer)];
    record = CDpiScaleRecord();
    record.kind = CDpiScaleRecord::Spacer;
    record.spacerWidth = spacer->sizeHint().width();
    record.spacerHeight = spacer->sizeHint().height();
    record.spacerPolicy = spacer->sizePolicy();
}

void CDpiScaler::recordContainerPages(QWidget *widget, const void *key)
{
    if (isScrollArea(widget)) {
        // The scroll area follows its layout; only what it shows is scaled.
        m_records.erase(key);
    }
    const bool buttonBox = qobject_cast<QDialogButtonBox *>(widget) != nullptr;
    for (QWidget *page : containerPages(widget)) {
        recordWidget(page, page);
        if (!buttonBox) {
            recordWidgetTree(page);
        }
    }
}

void CDpiScaler::recordLayoutItems(QLayout *layout)
{
    if (!layout) {
        return;
    }
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (QWidget *widget = item->widget()) {
            recordWidget(itemKey(item), widget);
            recordWidgetTree(widget);
            recordContainerPages(widget, itemKey(item));
        } else if (QLayout *child = item->layout()) {
            recordLayout(child);
            recordLayoutItems(child);
        } else if (QSpacerItem *spacer = item->spacerItem()) {
            recordSpacer(spacer);
        }
    }
}

void CDpiScaler::applyWidget(const void *key, QWidget *widget)
{
    const auto found = m_records.find(key);
    if (!widget || found == m_records.end() || found->second.kind != CDpiScaleRecord::Widget) {
        return;
    }
    const CDpiScaleRecord &record = found->second;
    widget->resize(scaled(record.width), scaled(record.height));

    const bool fixedWidth = record.sizePolicy.horizontalPolicy() == QSizePolicy::Fixed ||
                            record.maximumSize.width() == record.minimumSize.width();
    if (fixedWidth) {
        widget->setFixedWidth(scaled(record.width));
    } else {
        widget->setMinimumWidth(scaled(record.minimumSize.width()));
        if (record.maximumSize.width() < UNLIMITED_SIZE) {
            widget->setMaximumWidth(scaled(record.maximumSize.width()));
        }
    }

    const bool fixedHeight = record.sizePolicy.verticalPolicy() == QSizePolicy::Fixed ||
                             record.maximumSize.height() == record.minimumSize.height();
    if (fixedHeight) {
        widget->setFixedHeight(scaled(record.height));
    } else {
        widget->setMinimumHeight(scaled(record.minimumSize.height()));
        if (record.maximumSize.height() < UNLIMITED_SIZE) {
            widget->setMaximumHeight(scaled(record.maximumSize.height()));
        }
    }
}

void CDpiScaler::applyLayout(QLayout *layout)
{
    const auto found = layout ? m_records.find(itemKey(layout)) : m_records.end();
    if (found == m_records.end() || found->second.kind != CDpiScaleRecord::Layout) {
        return;
    }
    const CDpiScaleRecord &record = found->second;
    layout->setSpacing(scaled(record.spacing));
    layout->setContentsMargins(scaled(record.marginLeft), scaled(record.marginTop), scaled(record.marginRight),
                               scaled(record.marginBottom));
}

void CDpiScaler::applyOrRecordWidget(const void *key, QWidget *widget)
{
    if (m_records.count(key) != 0) {
        applyWidget(key, widget);
    } else {
        recordWidget(key, widget);
    }
}

void CDpiScaler::applyContainerPages(QWidget *widget, const void *key)
{
    if (isScrollArea(widget)) {
        m_records.erase(key);
    }
    const bool buttonBox = qobject_cast<QDialogButtonBox *>(widget) != nullptr;
    for (QWidget *page : containerPages(widget)) {
        applyOrRecordWidget(page, page);
        if (!buttonBox) {
            applyWidgetTree(page);
        }
    }
}

void CDpiScaler::applySpacer(QSpacerItem *spacer)
{
    const auto found = m_records.find(itemKey(spacer));
    if (found == m_records.end()) {
        recordSpacer(spacer);
        return;
    }
    const CDpiScaleRecord &record = found->second;
    if (record.kind != CDpiScaleRecord::Spacer) {
        return;
    }
    const bool expands = spacer->expandingDirections() != Qt::Orientations();
    const bool anyFixed = record.spacerPolicy.horizontalPolicy() == QSizePolicy::Fixed ||
                          record.spacerPolicy.verticalPolicy() == QSizePolicy::Fixed;
    if (expands || !anyFixed) {
        return;
    }
    spacer->invalidate();
    spacer->changeSize(scaled(record.spacerWidth), scaled(record.spacerHeight), record.spacerPolicy.horizontalPolicy(),
                       record.spacerPolicy.verticalPolicy());
}

void CDpiScaler::applyLayoutItems(QLayout *layout)
{
    if (!layout) {
        return;
    }
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (QWidget *widget = item->widget()) {
            applyOrRecordWidget(itemKey(item), widget);
            applyWidgetTree(widget);
            applyContainerPages(widget, itemKey(item));
        } else if (QLayout *child = item->layout()) {
            if (m_records.count(itemKey(child)) != 0) {
                applyLayout(child);
            } else {
                recordLayout(child);
            }
            applyLayoutItems(child);
        } else if (QSpacerItem *spacer = item->spacerItem()) {
            applySpacer(spacer);
        }
    }
}

void CDpiScaler::applyWidgetTree(QWidget *widget)
{
    if (!widget || !widget->layout()) {
        return;
    }
    applyLayout(widget->layout());
    applyLayoutItems(widget->layout());
}

} // namespace views
} // namespace kd_app
