#pragma once
// The part of a command-line run that reads one picture and traces its curves: the costly part, and
// one that touches nothing shared, so the pictures of a batch go through it on several threads at
// once (each with its own decoder and tracer). The document is made from its result afterwards,
// on the run's own thread.

#include "cli/RunPlan.h"

#include <QPoint>
#include <QSize>

#include <string>
#include <vector>

struct TracedPicture {
    std::string problem; // empty when the picture was read and every trace found its curve
    QSize size;
    WorkState::PictureIdentity identity; // taken as the picture is read, when the plan needs it
    std::optional<PdfPageChoice> pdfPage; // the page rendered, when the picture is a PDF
    bool restoresWork = false;           // the work file's own picture: its saved work, untraced
    std::vector<std::vector<QPoint>> series;
    double seconds = 0.0;
};

// Reads the picture as the window reads it and traces the plan's traces on it. Safe to call on
// several threads for different pictures.
TracedPicture TracePicture(const RunPlan& plan, const std::string& picture);
