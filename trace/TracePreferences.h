#pragma once
// The curve tracer's settings as the user keeps them: the three numbers of the settings dialog and
// whether a trace stays inside the box the three reference points span. They live in the profile
// store between runs; the box itself is taken from the calibration at the moment of each trace.

#include "extract/TraceSettings.h"

class CDataAxis;

struct TracePreferences {
    // Whole numbers, as the dialog edits them; the defaults are the tracer's own.
    int colourTolerance = static_cast<int>(TraceSettings{}.colourTolerance);
    int pointSpacing = static_cast<int>(TraceSettings{}.pointSpacing);
    int largestGap = static_cast<int>(TraceSettings{}.largestGap);
    bool insideReferenceBox = false;

    // What the dialog accepts; a stored value outside it (an edited profile) gives the default.
    static constexpr int kToleranceRange[] = {1, 100};
    static constexpr int kSpacingRange[] = {1, 200};
    static constexpr int kGapRange[] = {0, 1000};

    // The settings of a trace on a picture calibrated with the axis.
    TraceSettings ForAxis(const CDataAxis& axis) const;

    // The kept preferences, or the defaults without a profile store or a stored value.
    static TracePreferences Load();
    // Keeps them in the current profile store; nothing without one.
    void Save() const;
};

// The smallest box of picture pixels holding the three reference points, edges included.
QRect ReferenceBox(const CDataAxis& axis);
