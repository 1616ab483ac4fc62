#pragma once
// What every picture of a command-line run gets, worked out once before any picture is read: the
// calibration (from the options, or from a work file with the options' changes), the traces in
// the order they make series (a work file's traces by colour first, each with its own settings,
// then the options' traces), and what --save-work keeps. With a work file and no new traces, the
// work file's own picture gets the saved work back exactly instead.

#include "cli/CommandLineRequest.h"
#include "platform/picture/PictureResult.h"
#include "work/WorkState.h"

#include <QRect>

#include <optional>
#include <string>
#include <variant>
#include <vector>

struct PlannedTrace {
    TraceOption option;
    TraceSettings settings; // without bounds: those come from the calibration
};

class RunPlan {
public:
    // The plan, or one line saying why the work file cannot be used.
    static std::variant<RunPlan, std::string> Make(const CommandLineRequest& request);

    // The box the three reference points span, when traces must stay inside it.
    std::optional<QRect> Bounds() const;
    // Whether a picture of this identity, rendered from this PDF page (nothing for a picture
    // file), gets the work file's saved work as it is: its points are pixels of that rendering.
    bool RestoresOn(const WorkState::PictureIdentity& identity, const std::optional<PdfPageChoice>& pdfPage) const;
    // The calibration and the switches alone, with one empty series: where traces go.
    WorkState Calibration() const;
    // Whether each picture's identity is taken as it is read: to find the work file's own
    // picture, or to keep in the work file this run writes.
    bool NeedsIdentity() const { return RestoresWork() || m_savesWork; }

    // The work file's state with the options' calibration, or the options' calibration on an
    // empty document.
    WorkState layout;
    std::vector<PlannedTrace> traces;
    bool insideReferenceBox = false;
    // What a work file written by this run keeps besides the document's work.
    WorkState::Extraction extraction;
    std::vector<WorkState::ColourTrace> colourTraces;
    // The page and resolution every PDF among the pictures is rendered with: those of the options,
    // else the work file's, else page 1 at the default resolution.
    PdfPageChoice pdfChoice;

private:
    bool RestoresWork() const { return m_fromWork && !m_newTraces; }

    bool m_fromWork = false;
    bool m_newTraces = false;
    bool m_savesWork = false;
};
