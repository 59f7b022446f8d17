// Rectangles and points in device pixels, right and bottom exclusive, as the engine's records
// and controls use them.
#pragma once

#include <algorithm>

namespace tandel {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A width and height, as text measuring reports them.
struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Rect intersected(const Rect& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    Rect united(const Rect& o) const {
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // Widened by a margin on each side.
    Rect grown(int l, int t, int r, int b) const {
        return {left - l, top - t, right + r, bottom + b};
    }
    bool operator==(const Rect&) const = default;
};

}  // namespace tandel
