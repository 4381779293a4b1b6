// Renders the SVG sources of our images into the PNGs (and the waiting
// animation) that the program compiles in, at the three display scales.
//
//   kd_render_images <svg source folder> <image folder>
//
// a/b.svg becomes a/b.png, a/b_1.5x.png and a/b_2x.png, each the SVG's own
// size times the scale, unless a rule of scale-names.txt in the source folder
// names the three files otherwise (the format is described in that file). waiting.svg is turned through a full circle
// in frames and joined into waiting.gif, waiting_1.5x.gif and waiting_2x.gif; joining the frames needs ImageMagick's
// "convert".

#include <cmath>
#include <iterator>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

const double SCALES[] = {1.0, 1.5, 2.0};
constexpr int SPINNER_FRAMES = 18;
constexpr int SPINNER_FRAME_MS = 50;
const char SPINNER_NAME[] = "waiting";

QString scaledName(const QString &stem, double scale, const QString &suffix)
{
    if (scale < 1.5) {
        return stem + "." + suffix;
    }
    return stem + "_" + QString::number(scale, 'g', 6) + "x." + suffix;
}

// One line of scale-names.txt: the SVGs it matches and their file names per scale.
struct NameRule
{
    QRegularExpression pattern;
    QStringList names; // one for each of SCALES; "-" leaves the scale out
};

QList<NameRule> readNameRules(const QDir &sources)
{
    QList<NameRule> rules;
    QFile file(sources.filePath("scale-names.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return rules;
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const QStringList fields = line.split(QRegularExpression("\\s+"));
        if (fields.size() != 4) {
            QTextStream(stderr) << "ignored rule: " << line << "\n";
            continue;
        }
        rules.append({QRegularExpression(QRegularExpression::wildcardToRegularExpression(fields[0])), fields.mid(1)});
    }
    return rules;
}

// The file of one scale of an SVG (its path below the source folder, without
// ".svg"), below the image folder; empty when a rule leaves the scale out.
QString scaledFile(const QList<NameRule> &rules, const QString &relativeStem, int scaleIndex)
{
    const QFileInfo stem(relativeStem);
    const QString folder = stem.path() == "." ? QString() : stem.path() + "/";
    for (const NameRule &rule : rules) {
        if (!rule.pattern.match(relativeStem).hasMatch()) {
            continue;
        }
        const QString name = rule.names[scaleIndex];
        return name == "-" ? QString() : folder + QString(name).replace("{name}", stem.fileName());
    }
    return scaledName(relativeStem, SCALES[scaleIndex], "png");
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

bool renderStill(QSvgRenderer &svg, const QDir &images, const QString &relativeStem, const QList<NameRule> &rules)
{
    for (int i = 0; i < int(std::size(SCALES)); ++i) {
        const QString file = scaledFile(rules, relativeStem, i);
        if (file.isEmpty()) {
            continue;
        }
        if (!render(svg, SCALES[i], 0.0, Qt::transparent).save(images.filePath(file))) {
            return false;
        }
    }
    return true;
}

// GIF keeps one-bit transparency only, so the frames sit on the white of the
// waiting dialog instead of getting ragged edges.
bool renderSpinner(QSvgRenderer &svg, const QString &stem)
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
        arguments << scaledName(stem, scale, "gif");
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
    const QList<NameRule> rules = readNameRules(sources);
    QDirIterator it(sources.path(), {"*.svg"}, QDir::Files, QDirIterator::Subdirectories);
    int failures = 0;
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = sources.relativeFilePath(source);
        const QString relativeStem = relative.left(relative.size() - 4);
        const QString stem = images.filePath(relativeStem);
        QDir().mkpath(QFileInfo(stem).path());
        QSvgRenderer svg(source);
        const bool spinner = QFileInfo(source).completeBaseName() == SPINNER_NAME;
        const bool ok =
            svg.isValid() && (spinner ? renderSpinner(svg, stem) : renderStill(svg, images, relativeStem, rules));
        if (!ok) {
            err << "failed: " << source << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
