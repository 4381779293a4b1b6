// Renders the SVG sources of our images into the PNGs (and the waiting
// animation) that the program compiles in, at the three display scales.
//
//   kd_render_images <svg source folder> <image folder>
//
// a/b.svg becomes a/b.png, a/b_1.5x.png and a/b_2x.png, each the SVG's own
// size times the scale. The windows ask for some images under other names;
// an SVG says which in an attribute of its root element:
//   data-scale-names="dash"     a/b.png, a/b-1.5x.png, a/b-2x.png
//   data-scale-names="dash-1x"  a/b-1x.png, a/b-1.5x.png, a/b-2x.png waiting.svg is turned through a full circle in
// frames and joined into waiting.gif, waiting_1.5x.gif and waiting_2x.gif;
// joining the frames needs ImageMagick's "convert".

#include <cmath>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

const double SCALES[] = {1.0, 1.5, 2.0};
constexpr int SPINNER_FRAMES = 18;
constexpr int SPINNER_FRAME_MS = 50;
const char SPINNER_NAME[] = "waiting";

enum class Naming {
    Underscore,
    Dash,
    DashWithOne,
};

QString scaledName(const QString &stem, double scale, const QString &suffix, Naming naming = Naming::Underscore)
{
    const QString factor = QString::number(scale, 'g', 6) + "x";
    if (scale < 1.5) {
        return naming == Naming::DashWithOne ? stem + "-" + factor + "." + suffix : stem + "." + suffix;
    }
    return stem + (naming == Naming::Underscore ? "_" : "-") + factor + "." + suffix;
}

Naming namingOf(const QString &svgPath)
{
    QFile file(svgPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return Naming::Underscore;
    }
    const QRegularExpression attribute(QStringLiteral("data-scale-names=\"([a-z0-9-]+)\""));
    const QString names = attribute.match(QString::fromUtf8(file.readAll())).captured(1);
    if (names == QLatin1String("dash")) {
        return Naming::Dash;
    }
    return names == QLatin1String("dash-1x") ? Naming::DashWithOne : Naming::Underscore;
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

bool renderStill(QSvgRenderer &svg, const QString &stem, Naming naming)
{
    for (double scale : SCALES) {
        if (!render(svg, scale, 0.0, Qt::transparent).save(scaledName(stem, scale, "png", naming))) {
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
    QDirIterator it(sources.path(), {"*.svg"}, QDir::Files, QDirIterator::Subdirectories);
    int failures = 0;
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = sources.relativeFilePath(source);
        const QString stem = images.filePath(relative.left(relative.size() - 4));
        QDir().mkpath(QFileInfo(stem).path());
        QSvgRenderer svg(source);
        const bool spinner = QFileInfo(source).completeBaseName() == SPINNER_NAME;
        const bool ok =
            svg.isValid() && (spinner ? renderSpinner(svg, stem) : renderStill(svg, stem, namingOf(source)));
        if (!ok) {
            err << "failed: " << source << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
