#pragma once

// Rectangles and points in doubles: the platform's drawing geometry. Besides ordinary
// rectangles there are two special ones: the null rectangle (no area at all, with its origin at
// positive infinity) and the infinite rectangle (the whole plane).

namespace Platform {

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Rect {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
};

Rect NullRect();
Rect InfiniteRect();
bool IsNull(const Rect& r);
bool IsInfinite(const Rect& r);

// The rectangle spanned by two corners; an empty span (no width or no height) gives the null rectangle.
Rect RectFromExtents(double x1, double y1, double x2, double y2);

}  // namespace Platform
