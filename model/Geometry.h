#pragma once
// Distances and the turn test used by hit tests, conversion and measurement.

// Euclidean distance between two pixel positions. The differences are taken in 64-bit integers so
// that positions anywhere in the 32-bit range never overflow.
double PixelDistance(int x1, int y1, int x2, int y2);

// Euclidean distance between two points in chart units.
double PointDistance(double x1, double y1, double x2, double y2);

// z of (P1 - P0) x (P2 - P1); positive for a counter-clockwise turn with y pointing up.
double CrossProduct(double x0, double y0, double x1, double y1, double x2, double y2);
