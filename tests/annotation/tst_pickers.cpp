#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "screendpi.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/selectbgcolorwidget.h"

using kd_app::views::ColorWidget;
using kd_app::views::SelectBgColorWidget;

namespace {

const QString kFolder = ":/resources/images/ScreenDrawing/";
const char *const kColorButtons[] = {"color_black",  "color_white",  "color_blue", "color_green",
                                     "color_yellow", "color_orange", "color_red",  "color_purple"};

QString image(const QString &name)
{
    return "url(" + kFolder + name + ".png);";
}

QPushButton *button(QWidget &picker, const char *name)
{
    auto *found = picker.findChild<QPushButton *>(name);
    Q_ASSERT(found);
    return found;
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
}

void closeAndDelete(QWidget *widget)
{
    widget->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

// The colour and size picker and the background picker: what a click
// chooses, how the buttons show it, what is signalled, and the sizes for
// the display scale.
class TestPickers : public QObject
{
    Q_OBJECT

private slots:
    void startsWithBlackPenAndYellowMarker();
    void colorClicks_data();
    void colorClicks();
    void sizeClicks_data();
    void sizeClicks();
    void refreshShowsTheServedToolAndSignalsBoth();
    void colorPickerSizes_data();
    void colorPickerSizes();
    void backgroundChoices_data();
    void backgroundChoices();
    void resetToClearSignalsNothing();
    void backgroundPickerSizes_data();
    void backgroundPickerSizes();
    void pickersDeleteThemselvesOnClose();
};

void TestPickers::startsWithBlackPenAndYellowMarker()
{
    ColorWidget picker;
    QCOMPARE(picker.getColor(), QColor(0, 0, 0, 255));
    QCOMPARE(picker.getSize(), quint16(3));
    picker.m_bMarkerMode = true;
    QCOMPARE(picker.getColor(), QColor(255, 252, 0, 80));
    QCOMPARE(picker.getSize(), quint16(4));
    QCOMPARE(button(picker, "color_black")->styleSheet(),
             "border:2px solid #4381ff;background-image: " + image("color_black_default"));
    QCOMPARE(button(picker, "color_red")->styleSheet(), "border-image: " + image("color_red_default"));
}

void TestPickers::colorClicks_data()
{
    QTest::addColumn<bool>("marker");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QStringList>("styles"); // "button index=style"

    const QString whiteNotChosen = "1=border:2px solid #ffffff;border-image: " + image("color_white_default");
    QTest::newRow("pen red") << false << 6 << QColor(255, 0, 0, 255)
                             << QStringList{
                                    "6=border:2px solid #4381ff;background-image: " + image("color_red_default"),
                                    "0=border:2px solid #000000;background-image: " + image("color_black_default"),
                                    whiteNotChosen,
                                    "5=border:2px solid #ff8517;background-image: " + image("color_orange_default")};
    QTest::newRow("pen white") << false << 1 << QColor(255, 255, 255, 255)
                               << QStringList{"1=border:2px solid #4381ff;background-color: #ffffff;"};
    QTest::newRow("pen yellow") << false << 4 << QColor(255, 252, 0, 255)
                                << QStringList{
                                       "4=border:2px solid #4381ff;background-image: " + image("color_yellow_default"),
                                       "5=border:2px solid #ff8517;border-image: " + image("color_orange_default"),
                                       whiteNotChosen};
    QTest::newRow("pen purple") << false << 7 << QColor(255, 64, 255, 255)
                                << QStringList{"7=border:2px solid #4381ff;background-image: " +
                                               image("color_purple_default")};
    // The black button serves marker yellow.
    QTest::newRow("marker first")
        << true << 0 << QColor(255, 252, 0, 80)
        << QStringList{"0=border:2px solid #4381ff;background-image: " + image("color_yellow_default"),
                       "1=border:2px solid #00f900;background-image: " + image("color_green_default"),
                       "5=border:2px solid #aae464;background-image: " + image("color_light-green_default")};
    QTest::newRow("marker fifth")
        << true << 4 << QColor(255, 133, 23, 80)
        << QStringList{"4=border:2px solid #4381ff;background-image: " + image("color_orange_default"),
                       "5=border:2px solid #aae464;background-image: " + image("color_light-green_default"),
                       "6=border:2px solid #a9d8ff;background-image: " + image("color_light-blue_default"),
                       "7=border:2px solid #ffacd5;background-image: " + image("color_pink_default")};
    QTest::newRow("marker third") << true << 2 << QColor(0, 253, 255, 80)
                                  << QStringList{"2=border:2px solid #4381ff;background-image: " +
                                                 image("color_lake_default")};
}

void TestPickers::colorClicks()
{
    QFETCH(bool, marker);
    QFETCH(int, clicked);
    QFETCH(QColor, color);
    QFETCH(QStringList, styles);

    ColorWidget picker;
    picker.show();
    picker.m_bMarkerMode = marker;
    QSignalSpy changed(&picker, &ColorWidget::changeColor);
    const QColor otherBefore = [&] {
        picker.m_bMarkerMode = !marker;
        const QColor other = picker.getColor();
        picker.m_bMarkerMode = marker;
        return other;
    }();

    QTest::mouseClick(button(picker, kColorButtons[clicked]), Qt::LeftButton);
    QCOMPARE(picker.getColor(), color);
    QCOMPARE(changed.count(), 1);
    for (const QString &entry : styles) {
        const int index = entry.section('=', 0, 0).toInt();
        QCOMPARE(button(picker, kColorButtons[index])->styleSheet(), entry.section('=', 1));
    }
    // Clicking the chosen colour again reports it again.
    QTest::mouseClick(button(picker, kColorButtons[clicked]), Qt::LeftButton);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(picker.getColor(), color);
    picker.m_bMarkerMode = !marker;
    QCOMPARE(picker.getColor(), otherBefore);
}

void TestPickers::sizeClicks_data()
{
    QTest::addColumn<bool>("marker");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("size");

    QTest::newRow("pen 1") << false << 1 << 3;
    QTest::newRow("pen 3") << false << 3 << 9;
    QTest::newRow("pen 4") << false << 4 << 12;
    QTest::newRow("marker 2") << true << 2 << 8;
    QTest::newRow("marker 4") << true << 4 << 16;
}

void TestPickers::sizeClicks()
{
    QFETCH(bool, marker);
    QFETCH(int, number);
    QFETCH(int, size);

    ColorWidget picker;
    picker.show();
    picker.m_bMarkerMode = marker;
    QSignalSpy changed(&picker, &ColorWidget::changeSize);
    const QByteArray name = "size_" + QByteArray::number(number);
    QTest::mouseClick(button(picker, name.constData()), Qt::LeftButton);

    QCOMPARE(int(picker.getSize()), size);
    QCOMPARE(changed.count(), 1);
    for (int other = 1; other <= 4; ++other) {
        const QByteArray otherName = "size_" + QByteArray::number(other);
        const QString file =
            kFolder + (other == number ? "size_click_" : "size_default_") + QString::number(other) + ".png";
        QCOMPARE(iconImage(button(picker, otherName.constData())->icon()), iconImage(QIcon(file)));
    }
    picker.m_bMarkerMode = !marker;
    QCOMPARE(int(picker.getSize()), marker ? 3 : 4);
}

void TestPickers::refreshShowsTheServedToolAndSignalsBoth()
{
    ColorWidget picker;
    picker.show();
    picker.m_bMarkerMode = true;
    QTest::mouseClick(button(picker, "color_green"), Qt::LeftButton);
    QTest::mouseClick(button(picker, "size_3"), Qt::LeftButton);
    picker.m_bMarkerMode = false;
    QTest::mouseClick(button(picker, "color_red"), Qt::LeftButton);

    picker.m_bMarkerMode = true;
    QSignalSpy colorChanged(&picker, &ColorWidget::changeColor);
    QSignalSpy sizeChanged(&picker, &ColorWidget::changeSize);
    picker.refreshSelectedState();
    QCOMPARE(colorChanged.count(), 1);
    QCOMPARE(sizeChanged.count(), 1);
    QCOMPARE(picker.getColor(), QColor(255, 64, 255, 80));
    QCOMPARE(picker.getSize(), quint16(12));
    QCOMPARE(button(picker, "color_green")->styleSheet(),
             "border:2px solid #4381ff;background-image: " + image("color_purple_default"));
    QCOMPARE(button(picker, "color_red")->styleSheet(),
             "border:2px solid #a9d8ff;background-image: " + image("color_light-blue_default"));
    QCOMPARE(iconImage(button(picker, "size_3")->icon()), iconImage(QIcon(kFolder + "size_click_3.png")));

    picker.m_bMarkerMode = false;
    picker.refreshSelectedState();
    QCOMPARE(colorChanged.count(), 2);
    QCOMPARE(sizeChanged.count(), 2);
    QCOMPARE(picker.getColor(), QColor(255, 0, 0, 255));
    QCOMPARE(picker.getSize(), quint16(3));
    QCOMPARE(iconImage(button(picker, "size_1")->icon()), iconImage(QIcon(kFolder + "size_click_1.png")));
}

void TestPickers::colorPickerSizes_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("side");

    QTest::newRow("1") << 96 << QSize(248, 184) << 36;
    QTest::newRow("1.5") << 144 << QSize(372, 276) << 54;
    QTest::newRow("2") << 192 << QSize(496, 368) << 72;
}

void TestPickers::colorPickerSizes()
{
    QFETCH(int, dpi);
    QFETCH(QSize, size);
    QFETCH(int, side);

    ScopedScreenDpi screenDpi(dpi);
    ColorWidget picker;
    picker.show();
    QCOMPARE(picker.minimumSize(), size);
    QCOMPARE(picker.maximumSize(), size);
    for (const char *name : {"color_black", "color_purple", "size_1", "size_4"}) {
        QCOMPARE(button(picker, name)->minimumSize(), QSize(side, side));
        QCOMPARE(button(picker, name)->maximumSize(), QSize(side, side));
    }
}

void TestPickers::backgroundChoices_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QStringList>("styles"); // black, white, clear

    const QString black = image("color_black_default");
    const QString white = image("color_white_default");
    const QString clear = image("bg_transparent_default");
    QTest::newRow("black") << "blackBg"
                           << "rgb(0,0,0,255)"
                           << QStringList{"border:2px solid #4381ff;background-image: " + black,
                                          "border:2px solid #ffffff;border-image: " + white,
                                          "border:0px solid #4381ff;background-image: " + clear};
    QTest::newRow("white") << "whiteBg"
                           << "rgb(255,255,255,255)"
                           << QStringList{"border:2px solid #000000;background-image: " + black,
                                          "border:2px solid #4381ff;background-image: " + white,
                                          "border:0px solid #4381ff;background-image: " + clear};
    QTest::newRow("clear") << "clearBg"
                           << "rgb(255,255,255,0)"
                           << QStringList{"border:2px solid #000000;background-image: " + black,
                                          "border:2px solid #4381ff;border-image: " + white,
                                          "border:2px solid #4381ff;background-image: " + clear};
}

void TestPickers::backgroundChoices()
{
    QFETCH(QString, clicked);
    QFETCH(QString, color);
    QFETCH(QStringList, styles);

    SelectBgColorWidget picker;
    picker.show();
    QVERIFY(picker.m_strBgColor.isEmpty());
    QSignalSpy changed(&picker, &SelectBgColorWidget::changeDrawBg);
    QTest::mouseClick(button(picker, qPrintable(clicked)), Qt::LeftButton);
    QTest::mouseClick(button(picker, qPrintable(clicked)), Qt::LeftButton);

    QCOMPARE(picker.m_strBgColor, color);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).value(0).toString(), color);
    QCOMPARE(button(picker, "blackBg")->styleSheet(), styles[0]);
    QCOMPARE(button(picker, "whiteBg")->styleSheet(), styles[1]);
    QCOMPARE(button(picker, "clearBg")->styleSheet(), styles[2]);
}

void TestPickers::resetToClearSignalsNothing()
{
    SelectBgColorWidget picker;
    QCOMPARE(button(picker, "clearBg")->styleSheet(),
             "border:2px solid #4381ff;background-image: " + image("bg_transparent_default"));
    picker.selectBlackBg();
    QSignalSpy changed(&picker, &SelectBgColorWidget::changeDrawBg);
    picker.resetToClear();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(picker.m_strBgColor, QString("rgb(255,255,255,0)"));
    QCOMPARE(button(picker, "clearBg")->styleSheet(),
             "border:2px solid #4381ff;background-image: " + image("bg_transparent_default"));
    QCOMPARE(button(picker, "blackBg")->styleSheet(),
             "border:2px solid #000000;background-image: " + image("color_black_default"));
}

void TestPickers::backgroundPickerSizes_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("side");

    QTest::newRow("1") << 96 << QSize(162, 70) << 36;
    QTest::newRow("1.5") << 144 << QSize(243, 105) << 54;
    QTest::newRow("2") << 192 << QSize(324, 140) << 72;
}

void TestPickers::backgroundPickerSizes()
{
    QFETCH(int, dpi);
    QFETCH(QSize, size);
    QFETCH(int, side);

    ScopedScreenDpi screenDpi(dpi);
    SelectBgColorWidget picker;
    picker.show();
    QCOMPARE(picker.minimumSize(), size);
    QCOMPARE(picker.maximumSize(), size);
    for (const char *name : {"blackBg", "whiteBg", "clearBg"}) {
        QCOMPARE(button(picker, name)->minimumSize(), QSize(side, side));
    }
}

// Owners hold the pickers in QPointer: a picker closed by the window system
// is gone, and the pointer says so.
void TestPickers::pickersDeleteThemselvesOnClose()
{
    QWidget owner;
    QPointer<ColorWidget> colors = new ColorWidget(&owner);
    QPointer<SelectBgColorWidget> backgrounds = new SelectBgColorWidget(&owner);
    QVERIFY(colors->isWindow());
    QVERIFY(colors->windowFlags().testFlag(Qt::Tool));
    QVERIFY(colors->windowFlags().testFlag(Qt::FramelessWindowHint));
    colors->show();
    backgrounds->show();
    closeAndDelete(colors);
    closeAndDelete(backgrounds);
    QVERIFY(colors.isNull());
    QVERIFY(backgrounds.isNull());
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
