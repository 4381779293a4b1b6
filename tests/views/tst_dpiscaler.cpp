#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtTest>

#include "views/base/cdpiscaler.h"

using kd_app::views::CDpiScaler;

namespace {

// A window designed at 430 x 230: a fixed-size label, a label with an
// unlimited and one with a limited maximum width, a fixed spacer and an
// expanding one, a nested layout with margins, and a stacked page.
struct DesignedWindow
{
    DesignedWindow()
    {
        window.resize(430, 230);
        auto *column = new QVBoxLayout(&window);
        column->setContentsMargins(10, 12, 14, 16);
        column->setSpacing(6);

        fixedLabel = new QLabel("fixed");
        fixedLabel->setFixedSize(25, 20);
        column->addWidget(fixedLabel);

        auto *row = new QHBoxLayout();
        row->setContentsMargins(3, 0, 5, 0);
        row->setSpacing(4);
        unlimited = new QLabel("unlimited");
        unlimited->setMinimumWidth(30);
        row->addWidget(unlimited);
        limited = new QLabel("limited");
        limited->setMinimumWidth(40);
        limited->setMaximumWidth(7999);
        row->addWidget(limited);
        fixedSpacer = new QSpacerItem(20, 20, QSizePolicy::Fixed, QSizePolicy::Fixed);
        row->addItem(fixedSpacer);
        expandingSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        row->addItem(expandingSpacer);
        column->addLayout(row);
        innerRow = row;

        stack = new QStackedWidget();
        page = new QWidget();
        auto *pageLayout = new QVBoxLayout(page);
        pageLabel = new QLabel("on the page");
        pageLabel->setFixedHeight(18);
        pageLayout->addWidget(pageLabel);
        stack->addWidget(page);
        column->addWidget(stack);
    }

    QWidget window;
    QLabel *fixedLabel = nullptr;
    QLabel *unlimited = nullptr;
    QLabel *limited = nullptr;
    QSpacerItem *fixedSpacer = nullptr;
    QSpacerItem *expandingSpacer = nullptr;
    QHBoxLayout *innerRow = nullptr;
    QStackedWidget *stack = nullptr;
    QWidget *page = nullptr;
    QLabel *pageLabel = nullptr;
};

QMargins margins(QLayout *layout)
{
    return layout->contentsMargins();
}

} // namespace

class TestDpiScaler : public QObject
{
    Q_OBJECT

private slots:
    void scalesDesignGeometry_data();
    void scalesDesignGeometry();
    void nothingBeforeInit();
    void secondInitChangesNothing();
    void scaleWidgetFixesSizeOnlyWhenAsked();
    void widgetAddedLaterIsScaledFromTheNextChange();
    void scrollAreaItselfIsNotScaled();
};

void TestDpiScaler::scalesDesignGeometry_data()
{
    QTest::addColumn<double>("factor");
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2") << 2.0;
}

void TestDpiScaler::scalesDesignGeometry()
{
    QFETCH(double, factor);
    DesignedWindow w;
    CDpiScaler scaler;
    scaler.init(430, 230, &w.window);

    scaler.scaleWindow(factor, &w.window);

    const auto times = [factor](int value) { return int(value * factor); };
    QCOMPARE(w.window.size(), QSize(times(430), times(230)));
    QCOMPARE(w.window.minimumSize(), w.window.maximumSize());
    QCOMPARE(w.fixedLabel->minimumSize(), QSize(times(25), times(20)));
    QCOMPARE(w.fixedLabel->maximumSize(), QSize(times(25), times(20)));
    QCOMPARE(w.unlimited->minimumWidth(), times(30));
    QCOMPARE(w.unlimited->maximumWidth(), QWIDGETSIZE_MAX);
    QCOMPARE(w.limited->minimumWidth(), times(40));
    QCOMPARE(w.limited->maximumWidth(), times(7999));
    QCOMPARE(margins(w.window.layout()), QMargins(times(10), times(12), times(14), times(16)));
    QCOMPARE(w.window.layout()->spacing(), times(6));
    QCOMPARE(margins(w.innerRow), QMargins(times(3), 0, times(5), 0));
    QCOMPARE(w.innerRow->spacing(), times(4));
    QCOMPARE(w.fixedSpacer->sizeHint(), QSize(times(20), times(20)));
    QCOMPARE(w.expandingSpacer->sizeHint(), QSize(40, 20));
    QCOMPARE(w.pageLabel->maximumHeight(), times(18));

    // Back at 1 everything is the design again, without rounding left over.
    scaler.scaleWindow(1.0, &w.window);
    QCOMPARE(w.window.size(), QSize(430, 230));
    QCOMPARE(w.fixedLabel->maximumSize(), QSize(25, 20));
    QCOMPARE(w.limited->maximumWidth(), 7999);
    QCOMPARE(margins(w.window.layout()), QMargins(10, 12, 14, 16));
    QCOMPARE(w.fixedSpacer->sizeHint(), QSize(20, 20));
    QCOMPARE(w.pageLabel->maximumHeight(), 18);
}

void TestDpiScaler::nothingBeforeInit()
{
    DesignedWindow w;
    CDpiScaler scaler;
    scaler.scaleWindow(2.0, &w.window);
    QCOMPARE(w.fixedLabel->maximumSize(), QSize(25, 20));
    QCOMPARE(w.window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    scaler.scaleWindow(2.0, nullptr);
}

void TestDpiScaler::secondInitChangesNothing()
{
    DesignedWindow w;
    CDpiScaler scaler;
    scaler.init(430, 230, &w.window);
    w.fixedLabel->setFixedSize(99, 99);
    scaler.init(500, 500, &w.window);
    scaler.scaleWindow(1.5, &w.window);
    QCOMPARE(w.window.size(), QSize(645, 345));
    QCOMPARE(w.fixedLabel->maximumSize(), QSize(37, 30));
}

void TestDpiScaler::scaleWidgetFixesSizeOnlyWhenAsked()
{
    DesignedWindow w;
    CDpiScaler scaler;
    scaler.init(430, 230, &w.window);
    scaler.scaleWidget(2.0, &w.window, false);
    QCOMPARE(w.fixedLabel->maximumSize(), QSize(50, 40));
    QCOMPARE(w.window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void TestDpiScaler::widgetAddedLaterIsScaledFromTheNextChange()
{
    DesignedWindow w;
    CDpiScaler scaler;
    scaler.init(430, 230, &w.window);
    auto *late = new QLabel("late");
    late->setFixedSize(10, 10);
    w.innerRow->addWidget(late);

    scaler.scaleWindow(2.0, &w.window);
    QCOMPARE(late->maximumSize(), QSize(10, 10));
    scaler.scaleWindow(1.5, &w.window);
    QCOMPARE(late->maximumSize(), QSize(15, 15));
}

void TestDpiScaler::scrollAreaItselfIsNotScaled()
{
    QWidget window;
    window.resize(200, 200);
    auto *layout = new QVBoxLayout(&window);
    auto *area = new QScrollArea();
    area->setFixedSize(100, 100);
    auto *content = new QWidget();
    content->setFixedSize(80, 300);
    area->setWidget(content);
    layout->addWidget(area);

    CDpiScaler scaler;
    scaler.init(200, 200, &window);
    scaler.scaleWindow(2.0, &window);
    QCOMPARE(area->maximumSize(), QSize(100, 100));
    QCOMPARE(content->maximumSize(), QSize(160, 600));
}

QTEST_MAIN(TestDpiScaler)
#include "tst_dpiscaler.moc"
