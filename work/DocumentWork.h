#pragma once
// Takes the work state from a document and gives it back: the one conversion between the
// document's model (series, calibration, switches, selection flags) and WorkState, used by the
// journal and by the work file alike so that the two can never describe different things.
// The trace settings and the traces by colour are not the document's; they are left as they are.

#include "work/WorkState.h"

class CTallyscopeDoc;

class DocumentWork {
public:
    // The document's work now, with the PDF page its picture was rendered from; the picture's
    // identity is left for the caller to take.
    static WorkState Capture(const CTallyscopeDoc& doc);
    // Puts the points, series, calibration, switches and selection into the document, replacing
    // what it held. The state must be consistent (WorkState::IsConsistent).
    static void ApplyTo(const WorkState& state, CTallyscopeDoc& doc);
};
