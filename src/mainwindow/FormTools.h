#pragma once

class QWidget;

// Centres a window on the primary screen.
void CenterForm(QWidget *window);
