#pragma once
// Builds a dialog template's controls as Qt widgets on a form widget. Dialog units become pixels
// through the base units of the template's font (average character width and height, as the
// framework measures them): x = du * baseX / 4, y = du * baseY / 8, each edge mapped on its own
// and rounded. The template's face maps to an installed face with its metrics (FontFaces.h).
// Every control widget carries its control id; creation order is the template order, so it is
// also Qt's tab order.

#include "platform/res/DialogTemplate.h"

#include <QFont>
#include <QRect>
#include <functional>

class QWidget;

struct DialogBaseUnits {
    int cx; // average character width in pixels
    int cy; // character height in pixels
};

// The template's font with its face mapped to one that is installed.
QFont AfxDialogFont(const DialogTemplate& dlg);
DialogBaseUnits AfxGetDialogBaseUnits(const QFont& font);
// A rectangle in dialog units (right and bottom exclusive) as a pixel rectangle.
QRect AfxMapDialogRect(const CRect& rect, DialogBaseUnits units);

// Control notifications as the builder reports them: control id, notification code.
using DialogNotifyFn = std::function<void(int id, UINT code)>;

// Gives the form the template's font and client size and creates every control on it. Push
// buttons and check boxes report BN_CLICKED, edits EN_CHANGE, list boxes with the notify style
// LBN_DBLCLK; an up-down control with the auto-buddy style takes the control before it as buddy.
void AfxBuildDialogControls(const DialogTemplate& dlg, QWidget& form, const DialogNotifyFn& notify);

// The control widget with the id on the form, or null. IDC_STATIC finds nothing.
QWidget* AfxFindDialogControl(const QWidget& form, int id);
// The control id a widget was built with; IDC_STATIC for a widget that is not a control.
int AfxGetDialogControlId(const QWidget& widget);
// The first control that is a tab stop, in template order, or null.
QWidget* AfxFirstTabStop(const QWidget& form);
// Gives a control the focus the way the dialog manager does: an edit's text is selected whole.
void AfxFocusDialogControl(QWidget& control);
