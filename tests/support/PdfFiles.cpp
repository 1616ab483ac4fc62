#include "PdfFiles.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <limits>

double ChartPdfLineY(int page) {
    return 60.0 + 40.0 * (page - 1);
}

double ChartPdfLineX(int page) {
    return 100.0 + 10.0 * (page - 1);
}

namespace {

void DrawChartPage(QPainter& painter, int page) {
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QLineF(40.0, ChartPdfLineY(page), 360.0, ChartPdfLineY(page)));
    painter.drawLine(QLineF(ChartPdfLineX(page), 20.0, ChartPdfLineX(page), 280.0));
    painter.setPen(QPen(Qt::blue, 1.0));
    QPainterPath curve(QPointF(240.0, 280.0));
    for (int i = 1; i <= 40; ++i)
        curve.lineTo(240.0 + 3.0 * i, 280.0 - 0.1 * i * i);
    painter.drawPath(curve);
    painter.setPen(Qt::black);
    painter.setFont(QFont("IPAPGothic", 10));
    painter.drawText(QPointF(40.0, 16.0), QStringLiteral("Figure %1: 試験のグラフ").arg(page));
}

} // namespace

QByteArray MakeChartPdf(int pageCount) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72); // a unit of the painter is a point
        writer.setPageSize(QPageSize(QSizeF(kChartPdfWidth, kChartPdfHeight), QPageSize::Point, QString(),
                                     QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        for (int page = 1; page <= pageCount; ++page) {
            if (page > 1)
                writer.newPage();
            DrawChartPage(painter, page);
        }
    }
    return bytes;
}

QByteArray MakePdfWithoutPages() {
    QByteArray pdf = "%PDF-1.4\n";
    const qsizetype catalogue = pdf.size();
    pdf += "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    const qsizetype pages = pdf.size();
    pdf += "2 0 obj\n<< /Type /Pages /Kids [] /Count 0 >>\nendobj\n";
    const qsizetype table = pdf.size();
    pdf += "xref\n0 3\n0000000000 65535 f \n";
    pdf += QByteArray::number(catalogue).rightJustified(10, '0') + " 00000 n \n";
    pdf += QByteArray::number(pages).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size 3 /Root 1 0 R >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
    return pdf;
}

QByteArray EncryptPdf(const QByteArray& pdf, const QString& userPassword, const QString& ownerPassword) {
    const QString qpdf = QStandardPaths::findExecutable("qpdf");
    QTemporaryDir folder;
    QFile plain(folder.filePath("plain.pdf"));
    if (qpdf.isEmpty() || !plain.open(QIODevice::WriteOnly) || plain.write(pdf) != pdf.size())
        return QByteArray();
    plain.close();
    QProcess process;
    process.start(qpdf, {"--encrypt", userPassword, ownerPassword, "256", "--", plain.fileName(),
                         folder.filePath("locked.pdf")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QByteArray();
    QFile locked(folder.filePath("locked.pdf"));
    return locked.open(QIODevice::ReadOnly) ? locked.readAll() : QByteArray();
}

double DarkCentreRow(const QImage& picture, int x, double near, double window) {
    const int first = std::max(0, static_cast<int>(std::floor(near - window)));
    const int last = std::min(picture.height() - 1, static_cast<int>(std::ceil(near + window)));
    double weight = 0.0;
    double sum = 0.0;
    for (int y = first; y <= last; ++y) {
        const double darkness = 255.0 - qGray(picture.pixel(x, y));
        weight += darkness;
        sum += darkness * (y + 0.5);
    }
    return weight > 0.0 ? sum / weight : std::numeric_limits<double>::quiet_NaN();
}
