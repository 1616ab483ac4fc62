#pragma once
// PDF files made by the tests: charts written with QPdfWriter whose lines lie at known places in
// points, a PDF without pages written by hand, and encrypted copies made with qpdf.

#include <QByteArray>
#include <QImage>
#include <QString>

// Every page of a chart PDF is this large, in points (1/72 inch).
inline constexpr double kChartPdfWidth = 400.0;
inline constexpr double kChartPdfHeight = 300.0;
// Page k (from 1) of a chart PDF holds one horizontal black line, 2 points thick, from x 40 to
// x 360, its centre this far from the top of the page, and one vertical line at ChartPdfLineX(k),
// from y 20 to y 280; nothing else is drawn at x 200 but the horizontal line.
double ChartPdfLineY(int page);
double ChartPdfLineX(int page);
inline constexpr double kChartPdfProbeX = 200.0;

// A chart PDF of pageCount pages, each with its lines, a title and a curve, as a paper's figure.
QByteArray MakeChartPdf(int pageCount);
// A PDF whose page tree is empty: a catalogue, a pages object of no kids, a cross-reference table.
QByteArray MakePdfWithoutPages();
// The PDF encrypted by qpdf (AES-256) with these passwords; empty when qpdf is missing or fails.
QByteArray EncryptPdf(const QByteArray& pdf, const QString& userPassword, const QString& ownerPassword);

// Where the centre of the dark band crossing column x lies, in pixel coordinates (row r covers
// r .. r + 1), weighing each row by how dark it is; only rows within window pixels of near count.
// NaN when nothing there is dark.
double DarkCentreRow(const QImage& picture, int x, double near, double window);
