#pragma once

class QWidget;

// The association action ToolKanren: switches the association of .tex
// files with this program on or off (FileAssociation), tells the desktop's
// cache of applications about it, and reports the outcome in a box over
// `parent`: "情報" on success, the general error report on a failure.
void ToolKanrenExecute(QWidget* parent);
