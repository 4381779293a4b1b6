#include <algorithm>

#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include "views/base/cdisplayscale.h"
#include "views/base/cstylestrings.h"

using kd_app::views::CDisplayScale;

namespace {

const double FACTORS[] = {1.0, 1.5, 2.0};

QString sourceDir()
{
    return qEnvironmentVariable("KD_TEST_SOURCE_DIR");
}

QString scaleFreeName(QString path)
{
    static const QRegularExpression variant("[_@](1\\.5|2)x(\\.[a-z]+)$");
    return path.replace(variant, "\\2");
}

// Some image sets name their variants "b@1.5x.png" instead of "b_1.5x.png".
QString atVariant(const QString &path, double factor)
{
    const QString underscored = CDisplayScale::imageForFactor(path, factor);
    if (factor < 1.5) {
        return underscored;
    }
    QString named = underscored;
    return named.replace(underscored.lastIndexOf('_'), 1, '@');
}

const QRegularExpression &resourceName()
{
    static const QRegularExpression named(":/resources/[A-Za-z0-9_./-]+");
    return named;
}

void collectNames(const QString &text, const QString &where, QMap<QString, QString> &names)
{
    auto match = resourceName().globalMatch(text);
    while (match.hasNext()) {
        const QRegularExpressionMatch found = match.next();
        QString name = found.captured(0);
        // "...name%2.png": the code fills in the variant at run time; the
        // whole names are checked where they are built.
        if (text.mid(found.capturedEnd(), 1) == "%") {
            continue;
        }
        while (name.endsWith('.')) {
            name.chop(1);
        }
        // A folder the code completes at run time; the whole names are
        // checked where they are built.
        if (name.endsWith('/') || names.contains(name)) {
            continue;
        }
        names.insert(name, where);
    }
}

// Every ":/resources/..." text in the program's code and style sheets, and
// in the style rules that code puts together.
QMap<QString, QString> namedResources()
{
    using namespace kd_app::views;
    QMap<QString, QString> names; // resource -> first file naming it
    const QStringList builtRules = {STYLE_PLAYER_MINIMIZE_BUTTON, STYLE_PLAYER_MAXIMIZE_BUTTON,
                                    STYLE_PLAYER_RESTORE_BUTTON, STYLE_PLAYER_FULLSCREEN_BUTTON,
                                    STYLE_PLAYER_EXIT_FULLSCREEN_BUTTON};
    collectNames(builtRules.join(QString()), "cstylestrings.cpp", names);
    for (const QString &folder : {QString("src"), QString("resources/qss")}) {
        QDirIterator it(sourceDir() + "/" + folder, {"*.cpp", "*.h", "*.qss", "*.ui"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly)) {
                continue;
            }
            collectNames(QString::fromUtf8(file.readAll()), it.fileInfo().fileName(), names);
        }
    }
    return names;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyNamedResourceExistsAtEveryScale();
    void everyStyleSheetParses();
};

void TestResources::initTestCase()
{
    QVERIFY2(!sourceDir().isEmpty(), "KD_TEST_SOURCE_DIR is not set");
    QVERIFY(namedResources().size() > 0);
}

// A missing picture shows as an empty button to a user on one scale only;
// this finds it before they do. A name without an ending is the base of a
// style sheet set: the common file and one file per scale.
void TestResources::everyNamedResourceExistsAtEveryScale()
{
    QStringList missing;
    const QMap<QString, QString> names = namedResources();
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        const QString &name = it.key();
        QStringList wanted;
        if (QFileInfo(name).suffix().isEmpty()) {
            wanted << name + ".qss";
            for (double factor : FACTORS) {
                wanted << name + "-" + CDisplayScale::factorText(factor) + "x.qss";
            }
        } else if (name.endsWith(".qss")) {
            wanted << name;
        } else {
            QStringList atNamed;
            for (double factor : FACTORS) {
                wanted << CDisplayScale::imageForFactor(scaleFreeName(name), factor);
                atNamed << atVariant(scaleFreeName(name), factor);
            }
            if (std::all_of(atNamed.cbegin(), atNamed.cend(),
                            [](const QString &file) { return QFile::exists(file); })) {
                wanted = atNamed;
            }
        }
        for (const QString &file : wanted) {
            if (!QFile::exists(file)) {
                missing << file + " (named in " + it.value() + ")";
            }
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable("missing: " + missing.join(", ")));
}

void TestResources::everyStyleSheetParses()
{
    // Qt says nothing when a sheet does not parse; it just drops it, so a
    // broken brace turns a whole window back to the plain look.
    QDirIterator it(":/resources/qss", {"*.qss"}, QDir::Files);
    int sheets = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QString withoutComments = text;
        withoutComments.remove(QRegularExpression("/\\*.*?\\*/", QRegularExpression::DotMatchesEverythingOption));
        QCOMPARE(withoutComments.count('{'), withoutComments.count('}'));
        ++sheets;
    }
    QVERIFY(sheets > 0);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
