// Makes the program's desktop icons from its own 32 x 32 artwork:
//   mkicons <picture.xpm> <output folder> <name> <size>...
// writes <output folder>/<size>x<size>/apps/<name>.png for each size. Whole
// multiples of the drawing keep its pixels sharp; other sizes are smoothed.

#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: mkicons picture.xpm folder name size...\n");
        return 2;
    }
    const QImage art(QString::fromLocal8Bit(argv[1]));
    if (art.isNull()) {
        std::fprintf(stderr, "mkicons: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "mkicons: bad size %s\n", argv[i]);
            return 2;
        }
        const bool sharp = size % art.width() == 0;
        const QImage icon = art.convertToFormat(QImage::Format_ARGB32)
                                .scaled(size, size, Qt::KeepAspectRatio,
                                        sharp ? Qt::FastTransformation : Qt::SmoothTransformation);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        QDir().mkpath(dir);
        if (!icon.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "mkicons: cannot write the %d pixel icon\n", size);
            return 1;
        }
    }
    return 0;
}
