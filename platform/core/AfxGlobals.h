#pragma once
// Process-wide lookups of the framework that the main frame backs. The active document is the
// document of the main window's active view; the frame installs the function that finds it when
// it is created, and tests install one that answers their own document.

#include <functional>

class CDocument;

// The active document of the application's main window, or null while there is none.
CDocument* AfxGetActiveDocument();
// Sets where AfxGetActiveDocument looks; an empty function means there is no document.
void AfxSetActiveDocumentSource(std::function<CDocument*()> source);
