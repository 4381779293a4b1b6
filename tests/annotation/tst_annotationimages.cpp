#include <QtTest>

#include "screendpi.h"
#include "views/annotation/cmenubutton.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/paintlistwidget.h"

using namespace kd_app::views;

namespace {

const QString kFolder = ":/resources/images/ScreenDrawing/";
const QStringList kVariants = {".png", "@1.5x.png", "@2x.png"};

} // namespace

// Every picture the annotation pieces name at run time exists in each of
// the three scale variants (the names written out in forms and code are
// checked by the resources test).
class TestAnnotationImages : public QObject
{
    Q_OBJECT

private slots:
    void paletteAndSizePictures();
    void menuIconsAtEveryScale_data();
    void menuIconsAtEveryScale();
};

void TestAnnotationImages::paletteAndSizePictures()
{
    QStringList missing;
    for (const auto *palette : {&PEN_PALETTE, &MARKER_PALETTE}) {
        for (const PaletteColor &color : *palette) {
            for (const QString &variant : kVariants) {
                const QString file = kFolder + "color_" + color.name + "_default" + variant;
                if (!QFile::exists(file)) {
                    missing << file;
                }
            }
        }
    }
    for (int number = 1; number <= 4; ++number) {
        for (const QString &kind : {"size_click_", "size_default_"}) {
            for (const QString &variant : kVariants) {
                const QString file = kFolder + kind + QString::number(number) + variant;
                if (!QFile::exists(file)) {
                    missing << file;
                }
            }
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

void TestAnnotationImages::menuIconsAtEveryScale_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("1") << 96;
    QTest::newRow("1.5") << 144;
    QTest::newRow("2") << 192;
}

void TestAnnotationImages::menuIconsAtEveryScale()
{
    QFETCH(int, dpi);

    ScopedScreenDpi screenDpi(dpi);
    PaintListWidget menu;
    menu.show();
    const QList<Cmenubutton *> entries = menu.findChildren<Cmenubutton *>();
    QCOMPARE(entries.size(), 9);
    QStringList missing;
    for (Cmenubutton *entry : entries) {
        for (bool selected : {false, true}) {
            if (selected) {
                entry->setSelectedStyle();
            } else {
                entry->setUnselectedStyle();
            }
            if (!QFile::exists(entry->shownIcon())) {
                missing << entry->shownIcon();
            }
            const QImage picture(entry->shownIcon());
            if (!picture.isNull() && picture.width() != qRound(26 * dpi / 96.0)) {
                missing << entry->shownIcon() + " has width " + QString::number(picture.width());
            }
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

QTEST_MAIN(TestAnnotationImages)
#include "tst_annotationimages.moc"
