#pragma once

#include <map>

#include <QSize>
#include <QSizePolicy>

class QLayout;
class QLayoutItem;
class QSpacerItem;
class QWidget;

namespace kd_app {
namespace views {

// The design geometry of one object of a window's layout tree.
struct CDpiScaleRecord
{
    enum Kind {
        Widget = 0,
        Layout = 1,
        Spacer = 2,
    };

    int kind = Widget;
    int width = 0;
    int height = 0;
    QSizePolicy sizePolicy;
    QSize minimumSize;
    QSize maximumSize;
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
    int spacing = 0;
    int spacerWidth = 0;
    int spacerHeight = 0;
    QSizePolicy spacerPolicy;
};

// Records a window's design geometry at its first show and re-applies it
// times the display-scale factor. Scaling always starts from the design
// values, so going from 2 back to 1 restores the design exactly and repeated
// changes never pile up rounding errors.
class CDpiScaler
{
public:
    void init(int baseWidth, int baseHeight, QWidget *window);
    void scaleWindow(double factor, QWidget *window);
    void scaleWidget(double factor, QWidget *widget, bool fixSize);
    void recordWidgetTree(QWidget *widget);

    bool isInitialized() const { return m_nBaseWidth != 0 && m_nBaseHeight != 0; }
    double scale() const { return m_fScale; }

private:
    void recordWidget(const void *key, QWidget *widget);
    void recordLayout(QLayout *layout);
    void recordSpacer(QSpacerItem *spacer);
    void recordLayoutItems(QLayout *layout);
    void recordContainerPages(QWidget *widget, const void *itemKey);

    void applyWidget(const void *key, QWidget *widget);
    void applyLayout(QLayout *layout);
    void applyLayoutItems(QLayout *layout);
    void applyWidgetTree(QWidget *widget);
    void applyContainerPages(QWidget *widget, const void *itemKey);
    void applyOrRecordWidget(const void *key, QWidget *widget);
    void applySpacer(QSpacerItem *spacer);

    int scaled(int value) const;

    int m_nBaseWidth = 0;
    int m_nBaseHeight = 0;
    std::map<const void *, CDpiScaleRecord> m_records;
    double m_fScale = 0.0;
};

} // namespace views
} // namespace kd_app
