#pragma once

class QWidget;

// Places a window, not yet shown, in the middle of the screen it will open on.
void CentreOnScreen(QWidget *window);

// Brings a shown window to the front, restoring it when minimised.
void BringForward(QWidget *window);

class QString;

// Puts a window, not yet shown, where it stood when `section` of appName's
// settings file last kept its place; in the middle of the screen when it
// kept none, or a place that no longer reads.
void RestoreWindowPlacement(QWidget *window, const QString &appName, const QString &section);
// Keeps the window's place in `section` of appName's settings file.
void StoreWindowPlacement(const QWidget *window, const QString &appName, const QString &section);
