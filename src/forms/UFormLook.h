#pragma once

class QWidget;

// The windows' common font, Tahoma 11 pixels high, which their sizes are
// made for; another sans-serif face stands in where Tahoma is missing.
void ApplyFormFont(QWidget* window);

// Registers the windows' images; each window calls it before its layout is
// built.
void InitFormImages();
