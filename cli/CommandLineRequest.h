#pragma once
// What a command-line run is asked to do, as its options said it: the calibration, the traces in
// the order typed, the tracer's settings, where the export goes and which pictures to read. The
// parser (CommandLineParser) fills it without touching a file; the run (CommandLineRun) carries
// it out.

#include "extract/TraceSettings.h"

#include <QPoint>
#include <QRgb>

#include <optional>
#include <string>
#include <vector>

// A reference point: a picture pixel and the chart values there, as the axis dialogs take them
// (the origin's two values; the X-axis point's X; the Y-axis point's Y).
struct ReferenceOption {
    QPoint pixel;
    double valueX = 0.0;
    double valueY = 0.0;
};

// One series to extract: from a pixel on the curve, or the longest stroke of a colour.
struct TraceOption {
    enum class Start { Pixel, Colour };
    Start start = Start::Pixel;
    QPoint pixel;
    QRgb colour = 0;
    std::string typed; // the option as typed, for messages: "--trace 120,45"
};

struct CommandLineRequest {
    std::optional<ReferenceOption> origin;
    std::optional<ReferenceOption> xAxis;
    std::optional<ReferenceOption> yAxis;
    bool logX = false;
    bool logY = false;
    std::vector<TraceOption> traces;
    TraceSettings settings;
    bool insideReferenceBox = false;
    // Whether any of the tracer's settings was given, so that a work file's own settings hold
    // where none was.
    bool settingsGiven = false;
    // The data file; with several pictures, the folder their data files go into.
    std::string exportPath;
    // A work file whose calibration and traces by colour every picture gets (--work), and the
    // work file this run's work is written to (--save-work).
    std::string workPath;
    std::string saveWorkPath;
    // The page of a PDF picture (from 1) and the resolution it is rendered at, in dots per inch;
    // nothing for the defaults. Every PDF among the pictures takes them.
    std::optional<int> pdfPage;
    std::optional<int> pdfDpi;
    std::vector<std::string> pictures;
};
