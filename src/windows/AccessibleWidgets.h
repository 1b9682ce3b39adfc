#pragma once

// Installs, once, what screen readers are given about a few widgets where Qt's
// own description falls short on Linux:
// - a combo box that has an accessible name is called by that name, and its
//   text is its value (Qt calls an editable box by its text,
//   so two boxes that both show "jpg" could not be distinguished);
// - a window that is a plain widget is a window, or a dialog (Qt calls it a
//   filler);
// - a read-only text browser (the help) is a document whose text can be
//   read (Qt calls it a label, with no text).
// To be called before the widgets are made: Qt describes a widget the first
// time it changes, and keeps that description. Safe to call again.
void DescribeWidgetsForAccessibility();
