// Renders the SVG sources of our images into the PNGs (and the waiting
// animation) that the program compiles in, at the three display scales.
//
//   kd_render_images <svg source folder> <image folder>
//
// a/b.svg becomes a/b.png, a/b_1.5x.png and a/b_2x.png, each the SVG's own
// size times the scale. Where the program asks for other names, the folder's
// "scale-names.txt" says so, one rule a line: a wildcard pattern of file
// stems and the two suffixes, for example "icon_volume* -1.5x -2x" gives
// icon_volume.png, icon_volume-1.5x.png and icon_volume-2x.png; a rule of
// three suffixes names the plain scale too ("icon_menu* -1x -1.5x -2x"
// gives icon_menu-1x.png, icon_menu-1.5x.png and icon_menu-2x.png). The first
// matching rule counts; lines starting with "#" are comments. waiting.svg is turned through a full circle in
// frames and joined into waiting.gif, waiting_1.5x.gif and waiting_2x.gif;
// joining the frames needs ImageMagick's "convert".

#include <cmath>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVector>

namespace {

const double SCALES[] = {1.0, 1.5, 2.0};
constexpr int SPINNER_FRAMES = 18;
constexpr int SPINNER_FRAME_MS = 50;
const char SPINNER_NAME[] = "waiting";

struct ScaleNameRule
{
    QRegularExpression stems;
    QString suffix1;
    QString suffix15;
    QString suffix2;
};

// The rules of one folder's "scale-names.txt"; none when it has no such file.
QVector<ScaleNameRule> readScaleNameRules(const QString &folder)
{
    QVector<ScaleNameRule> rules;
    QFile file(QDir(folder).filePath("scale-names.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return rules;
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        QStringList parts = line.split(QRegularExpression("\\s+"));
        if (parts.size() == 3) {
            parts.insert(1, QString());
        }
        if (parts.size() != 4) {
            continue;
        }
        rules.append({QRegularExpression(QRegularExpression::wildcardToRegularExpression(parts[0])), parts[1],
                      parts[2], parts[3]});
    }
    return rules;
}

QString scaledName(const QString &stem, double scale, const QString &suffix, const QVector<ScaleNameRule> &rules)
{
    const QFileInfo info(stem);
    for (const ScaleNameRule &rule : rules) {
        if (rule.stems.match(info.fileName()).hasMatch()) {
            const QString &named = scale < 1.5 ? rule.suffix1 : scale < 2.0 ? rule.suffix15 : rule.suffix2;
            return stem + named + "." + suffix;
        }
    }
    if (scale < 1.5) {
        return stem + "." + suffix;
    }
    return stem + "_" + QString::number(scale, 'g', 6) + "x." + suffix;
}

QImage render(QSvgRenderer &svg, double scale, double angle, const QColor &background)
{
    const QSize size(int(std::lround(svg.defaultSize().width() * scale)),
                     int(std::lround(svg.defaultSize().height() * scale)));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(size.width() / 2.0, size.height() / 2.0);
    painter.rotate(angle);
    painter.translate(-size.width() / 2.0, -size.height() / 2.0);
    svg.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

bool renderStill(QSvgRenderer &svg, const QString &stem, const QVector<ScaleNameRule> &rules)
{
    for (double scale : SCALES) {
        if (!render(svg, scale, 0.0, Qt::transparent).save(scaledName(stem, scale, "png", rules))) {
            return false;
        }
    }
    return true;
}

// GIF keeps one-bit transparency only, so the frames sit on the white of the
// waiting dialog instead of getting ragged edges.
bool renderSpinner(QSvgRenderer &svg, const QString &stem, const QVector<ScaleNameRule> &rules)
{
    for (double scale : SCALES) {
        QTemporaryDir frames;
        QStringList arguments{"-delay", QString::number(SPINNER_FRAME_MS / 10), "-loop", "0"};
        for (int i = 0; i < SPINNER_FRAMES; ++i) {
            const QString frame = frames.filePath(QString("frame%1.png").arg(i, 3, 10, QChar('0')));
            if (!render(svg, scale, 360.0 * i / SPINNER_FRAMES, Qt::white).save(frame)) {
                return false;
            }
            arguments << frame;
        }
        arguments << scaledName(stem, scale, "gif", rules);
        if (QProcess::execute("convert", arguments) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: kd_render_images <svg source folder> <image folder>\n";
        return 2;
    }
    const QDir sources(QString::fromLocal8Bit(argv[1]));
    const QDir images(QString::fromLocal8Bit(argv[2]));
    QDirIterator it(sources.path(), {"*.svg"}, QDir::Files, QDirIterator::Subdirectories);
    int failures = 0;
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = sources.relativeFilePath(source);
        const QString stem = images.filePath(relative.left(relative.size() - 4));
        QDir().mkpath(QFileInfo(stem).path());
        const QVector<ScaleNameRule> rules = readScaleNameRules(QFileInfo(source).path());
        QSvgRenderer svg(source);
        const bool spinner = QFileInfo(source).completeBaseName() == SPINNER_NAME;
        const bool ok = svg.isValid() && (spinner ? renderSpinner(svg, stem, rules) : renderStill(svg, stem, rules));
        if (!ok) {
            err << "failed: " << source << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
