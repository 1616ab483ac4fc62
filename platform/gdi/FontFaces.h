#pragma once
// The Windows faces the resources name, resolved to installed faces with the same metrics. Every
// template asks for "ＭＳ Ｐゴシック" 9 point; IPA's P Gothic was drawn metric-compatible with it (the
// same advance widths and a line box of about one em), so dialog units and caption boxes come out
// as the templates were laid out. Machines without it fall back to other Japanese gothic faces,
// whose taller line box leaves less room inside the templates' 8-unit labels.

#include <QFont>

// The named face at the given size, mapped to the first installed face of its metrics class.
QFont AfxFontForFace(const char* face, int pointSize);

// The face of the framework's own texts: menus, toolbar tips, status panes and message boxes.
QFont AfxGetProgramFont();
