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

// The name without its scale: a variant suffix ("_2x", "-1.5x", "@2x") or
// the "%1" (or "%2" ...) that code fills with one at run time goes.
QString scaleFreeName(QString path)
{
    static const QRegularExpression variant("[_@-](1\\.5|2)x(\\.[a-z]+)$");
    static const QRegularExpression placeholder("%[1-9]");
    return path.remove(placeholder).replace(variant, "\\2");
}

// The file of an image at a scale: "_1.5x" and "_2x" before the ending,
// unless the image's source folder names other suffixes in its
// "scale-names.txt" (a wildcard of file stems and the two suffixes a line,
// or three when the plain scale has one too, which the name then carries).
QString imageAtScale(const QString &name, double factor)
{
    const QString prefix = QStringLiteral(":/resources/images/");
    const QFileInfo info(name);
    const QString folder = info.path().mid(prefix.size());
    const QString stem = info.completeBaseName();
    QFile rules(sourceDir() + "/resources/images-src/" + folder + "/scale-names.txt");
    if (name.startsWith(prefix) && rules.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!rules.atEnd()) {
            QStringList parts = QString::fromUtf8(rules.readLine()).trimmed().split(QRegularExpression("\\s+"));
            if (parts.size() == 3) {
                parts.insert(1, QString());
            }
            if (parts.size() != 4 || parts[0].startsWith('#') || !stem.endsWith(parts[1])) {
                continue;
            }
            const QString base = stem.left(stem.size() - parts[1].size());
            const QRegularExpression stems(QRegularExpression::wildcardToRegularExpression(parts[0]));
            if (stems.match(base).hasMatch()) {
                const QString &suffix = factor < 1.5 ? parts[1] : factor < 2.0 ? parts[2] : parts[3];
                return info.path() + "/" + base + suffix + "." + info.suffix();
            }
        }
    }
    return factor < 1.5 ? name : CDisplayScale::imageForFactor(name, factor);
}

const QRegularExpression &resourceName()
{
    static const QRegularExpression named(":/resources/[A-Za-z0-9_./@%-]+");
    return named;
}

void collectNames(const QString &text, const QString &where, QMap<QString, QString> &names)
{
    auto match = resourceName().globalMatch(text);
    while (match.hasNext()) {
        QString name = match.next().captured(0);
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
        if (QFileInfo(scaleFreeName(name)).suffix().isEmpty()) {
            wanted << name + ".qss";
            for (double factor : FACTORS) {
                wanted << name + "-" + CDisplayScale::factorText(factor) + "x.qss";
            }
        } else if (name.endsWith(".qss")) {
            wanted << name;
        } else {
            for (double factor : FACTORS) {
                wanted << imageAtScale(scaleFreeName(name), factor);
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
