#pragma once
// Pictures made by the tests themselves, written to a temporary folder.

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

// A width x height picture filled with one colour, with a distinct pixel at (1, 2) so that
// orientation mistakes show.
QImage MakeTestImage(int width, int height, QColor fill = Qt::white);

class TestFiles {
public:
    TestFiles();
    // Saves the image in the format the suffix names ("bmp", "jpg", "gif", "png"); returns the path.
    QString Save(const QImage& image, const QString& name);
    // Writes raw bytes; returns the path.
    QString Write(const QString& name, const QByteArray& bytes);
    QString Path(const QString& name) const;

private:
    QTemporaryDir m_dir;
};
