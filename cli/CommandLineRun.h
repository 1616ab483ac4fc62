#pragma once
// A command-line run: the picture read as the window reads it, calibrated as the axis dialogs
// would calibrate it, each trace added as the trace mode adds it, and the data file written by the
// window's own export code, so that the file holds the same bytes as the window's export after the
// same steps. No window is made and nothing is asked; the first thing that goes wrong is said in
// one line and nothing is written.

#include "cli/CommandLineRequest.h"

#include <ostream>
#include <string>

class CTallyscopeDoc;

class CommandLineRun {
public:
    // Exit statuses: every step done, or the request could not be carried out.
    static constexpr int kSucceeded = 0;
    static constexpr int kFailed = 1;

    CommandLineRun(const CommandLineRequest& request, std::ostream& errors);

    // Carries out the request; kSucceeded when the export was written whole.
    int Execute();

private:
    // Each step says what went wrong, or gives an empty text.
    std::string LoadPicture(CTallyscopeDoc& doc, const std::string& picture) const;
    std::string Calibrate(CTallyscopeDoc& doc) const;
    std::string Trace(CTallyscopeDoc& doc) const;
    std::string Export(const CTallyscopeDoc& doc, const std::string& path) const;

    const CommandLineRequest& m_request;
    std::ostream& m_errors;
};
