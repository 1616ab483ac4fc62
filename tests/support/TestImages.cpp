#include "TestImages.h"

#include <QFile>

QImage MakeTestImage(int width, int height, QColor fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    if (width > 1 && height > 2)
        image.setPixelColor(1, 2, QColor(10, 20, 30));
    return image;
}

TestFiles::TestFiles() = default;

QString TestFiles::Path(const QString& name) const { return m_dir.filePath(name); }

QString TestFiles::Save(const QImage& image, const QString& name) {
    const QString path = Path(name);
    image.save(path);
    return path;
}

QString TestFiles::Write(const QString& name, const QByteArray& bytes) {
    const QString path = Path(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}
