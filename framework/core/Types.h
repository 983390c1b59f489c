#pragma once
// Geometry shared by every layer: points and rectangles in integer pixels.
// A TRect is half-open: it covers Left <= x < Right, Top <= y < Bottom.

namespace hx {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return TPoint{x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height)
{
    return TRect{left, top, left + width, top + height};
}

// Moves the rectangle by (dx, dy) in place.
void OffsetRect(TRect& r, int dx, int dy);
bool PtInRect(const TRect& r, const TPoint& p);
// The common part of a and b; empty (all zero) when they do not meet. Returns false then.
bool IntersectRect(TRect& out, const TRect& a, const TRect& b);
// The smallest rectangle holding both; an empty operand is ignored.
TRect UnionRect(const TRect& a, const TRect& b);

} // namespace hx
