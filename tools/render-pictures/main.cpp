// Renders the application's pictures into assets/: the icon in every size with its SVG, and the
// worked example of the math window. Run assets/render.sh after changing a drawing here.

#include "icon.h"
#include "mathexample.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

namespace {

bool save(const QImage& image, const QString& path)
{
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "render-pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: render-pictures ASSETS-FOLDER\n");
        return 2;
    }
    const QDir assets(args.at(1));
    bool ok = QDir().mkpath(assets.filePath(QStringLiteral("icons")));

    QFile svg(assets.filePath(QStringLiteral("icons/gyrena.svg")));
    ok = ok && svg.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         svg.write(render::iconSvg()) > 0;
    svg.close();
    // render.sh reduces the 32-pixel icon, the windows' one, to 256 colours afterwards: Qt
    // only maps onto a fixed colour cube, ImageMagick picks the palette from the picture.
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = save(render::renderIcon(size),
                  assets.filePath(QStringLiteral("icons/gyrena-%1.png").arg(size))) &&
             ok;
    ok = save(render::renderMathExample(), assets.filePath(QStringLiteral("math-example.png"))) &&
         ok;
    return ok ? 0 : 1;
}
