// Writes the program's icon as a PNG of the given size:
//     make_icon SIZE OUTPUT.png
// The build runs it once per size of the hicolor icon theme.
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/logo/LogoArt.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE OUTPUT.png\n", argv[0]);
        return 2;
    }
    const mxc9::RgbImage icon = mxc9::RenderIcon(std::atoi(argv[1]));
    if (icon.width == 0) {
        std::fprintf(stderr, "%s: the size must be a multiple of 16\n", argv[0]);
        return 2;
    }
    const QImage image(icon.pixels.data(), icon.width, icon.height, icon.width * 3,
                       QImage::Format_RGB888);
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return EXIT_SUCCESS;
}
