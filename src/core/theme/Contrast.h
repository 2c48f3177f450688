#pragma once

#include <QColor>

// How well one colour reads on another, as the web's accessibility
// guidelines measure it: from 1 (not at all) to 21 (black on white). Texts
// want 4.5, the outline of a control 3.
double relativeLuminance(const QColor& colour);
double contrastRatio(const QColor& a, const QColor& b);
// The wanted colour, mixed with white on a dark background or with black on
// a light one just as far as it takes to read with `ratio` on it.
QColor readableOn(const QColor& wanted, const QColor& background, double ratio = 4.5);
