// SPDX-License-Identifier: GPL-3.0-or-later
// screenshot_check FILE: succeeds when FILE is a PNG picture of a window that shows something:
// big enough, and not one flat colour (a blank or black window fails).
#include <QColor>
#include <QImage>

#include <cstdio>
#include <map>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot_check FILE\n");
        return 2;
    }
    QImage image;
    if (!image.load(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "%s: not a readable PNG file\n", argv[1]);
        return 1;
    }
    if (image.width() < 400 || image.height() < 300) {
        std::fprintf(stderr, "%s: %dx%d is too small for the main window\n", argv[1], image.width(),
                     image.height());
        return 1;
    }
    std::map<QRgb, long> counts;
    long pixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x, ++pixels)
            ++counts[image.pixel(x, y)];
    long commonest = 0;
    for (const auto& [color, count] : counts)
        commonest = std::max(commonest, count);
    const double share = static_cast<double>(commonest) / static_cast<double>(pixels);
    std::printf("%s: %dx%d, %zu colours, the commonest covers %.1f%%\n", argv[1], image.width(),
                image.height(), counts.size(), share * 100.0);
    if (counts.size() < 16 || share > 0.97) {
        std::fprintf(stderr, "%s: the picture is (nearly) blank\n", argv[1]);
        return 1;
    }
    return 0;
}
