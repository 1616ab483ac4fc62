#pragma once
// The framework's own texts as the Japanese desktop the program was written for shows them: file
// dialogs, the overwrite question, standard buttons and edit boxes' context menus through Qt's own
// Japanese catalogue (qtbase_ja.qm from Qt's translations folder), and menus, toolbar tips and
// status panes in the system face (FontFaces.h). The program's own texts are Japanese already.

// Applies both to the running application; safe to call more than once. Returns false when Qt's
// Japanese catalogue is not installed, in which case the framework's dialogs stay in English.
bool AfxApplyFrameworkLocale();
