#pragma once

class QWidget;

// Places a window, not yet shown, in the middle of the screen it will open on.
void CentreOnScreen(QWidget *window);

// Brings a shown window to the front, restoring it when minimised.
void BringForward(QWidget *window);
