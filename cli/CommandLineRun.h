#pragma once
// A command-line run: each picture read as the window reads it, calibrated as the axis dialogs
// would calibrate it, each trace added as the trace mode adds it, and the data file written by the
// window's own export code, so that the file holds the same bytes as the window's export after the
// same steps. No window is made and nothing is asked.
//
// One picture: the first thing that goes wrong is said in one line and nothing is written. Several
// pictures (a batch): they are read and traced in parallel on every core; each gets a line on
// stderr (its name, its points per series and its seconds) or the reason it failed, the others go
// on, and a summary ends the run; the status says whether every picture succeeded. A data file is
// always written whole or not at all.

#include "cli/CommandLineRequest.h"

#include <ostream>
#include <string>

class CTallyscopeDoc;
class RunPlan;
struct TracedPicture;

class CommandLineRun {
public:
    // Exit statuses: every step done, or the request (or a picture of it) could not be carried out.
    static constexpr int kSucceeded = 0;
    static constexpr int kFailed = 1;

    CommandLineRun(const CommandLineRequest& request, std::ostream& errors);

    // Carries out the request; kSucceeded when every export was written whole.
    int Execute();

private:
    int RunOne(const RunPlan& plan);
    int RunBatch(const RunPlan& plan);
    // The document of a traced picture, its export and, when asked, its work file; what went
    // wrong, or an empty text.
    std::string Finish(const RunPlan& plan, const TracedPicture& traced, const std::string& picture,
                       const std::string& exportPath) const;
    std::string Export(const CTallyscopeDoc& doc, const std::string& path) const;
    std::string SaveWork(const RunPlan& plan, const TracedPicture& traced, const CTallyscopeDoc& doc,
                         const std::string& picture) const;

    const CommandLineRequest& m_request;
    std::ostream& m_errors;
};
