#pragma once

class QWidget;

// Fails the running test when something shown in the window is cut: the text
// of a label (in width and height), of a button or of a tab; a column title;
// a list that scrolls sideways; a data grid with room for fewer than three
// rows. Only what is visible is looked at.
void CheckNothingCut(QWidget *window);
