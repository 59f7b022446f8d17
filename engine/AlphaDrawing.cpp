#include "AlphaDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace tandel {
namespace {

// A copy of an area of the canvas, taken before a primitive is drawn.
struct Snapshot {
    Rect area;
    Bitmap pixels;
};

std::optional<Snapshot> SnapshotRect(const Canvas& canvas, const Rect& rect) {
    Rect area = rect.intersected(canvas.clipBox());
    if (area.isEmpty() || !canvas.isAlphaCanvas()) {
        return std::nullopt;
    }
    return Snapshot{area,
                    canvas.pixels().cropped(area.left, area.top, area.width(), area.height())};
}

void MergeGdiDrawing(Canvas& canvas, const Snapshot& snapshot, std::uint32_t colour) {
    const unsigned m = colour >> 24;
    const Rect& a = snapshot.area;
    for (int y = a.top; y < a.bottom; ++y) {
        std::uint8_t* now = canvas.pixels().pixel(a.left, y);
        const std::uint8_t* old = snapshot.pixels.row(y - a.top);
        for (int x = a.left; x < a.right; ++x, now += 4, old += 4) {
            if (std::memcmp(now, old, 4) == 0) {
                continue;
            }
            if (m == 255) {
                now[3] = 255;
            } else if (m == 0) {
                std::memcpy(now, old, 4);
            } else {
                for (int c = 0; c < 3; ++c) {
                    now[c] = std::uint8_t((now[c] * m + old[c] * (255 - m)) >> 8);
                }
                now[3] = std::uint8_t(old[3] + ((255 - old[3]) * m >> 8));
            }
        }
    }
}

// What a GDI primitive writes into a 32-bit canvas: the colour, alpha byte zero.
void plot(Canvas& canvas, int x, int y, std::uint32_t colour) {
    if (!canvas.clipBox().contains(x, y)) {
        return;
    }
    std::uint8_t* p = canvas.pixels().pixel(x, y);
    p[0] = std::uint8_t(colour >> 16);
    p[1] = std::uint8_t(colour >> 8);
    p[2] = std::uint8_t(colour);
    p[3] = 0;
}

void span(Canvas& canvas, int y, int x0, int x1, std::uint32_t colour) {
    for (int x = x0; x < x1; ++x) {
        plot(canvas, x, y, colour);
    }
}

// A 1-pixel line from a to b, both ends included.
void line(Canvas& canvas, Point a, Point b, std::uint32_t colour) {
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    for (Point p = a;;) {
        plot(canvas, p.x, p.y, colour);
        if (p.x == b.x && p.y == b.y) {
            break;
        }
        int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            p.x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            p.y += sy;
        }
    }
}

// Fills the pixels whose centres lie inside the triangle.
void fillTriangle(Canvas& canvas, const Point (&p)[3], std::uint32_t colour) {
    int top = std::min({p[0].y, p[1].y, p[2].y});
    int bottom = std::max({p[0].y, p[1].y, p[2].y});
    for (int y = top; y <= bottom; ++y) {
        double cy = y + 0.5;
        double left = 1e9, right = -1e9;
        for (int i = 0; i < 3; ++i) {
            Point a = p[i], b = p[(i + 1) % 3];
            if ((a.y <= cy) == (b.y <= cy)) {
                continue;
            }
            double x = a.x + (cy - a.y) * (b.x - a.x) / double(b.y - a.y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        if (left <= right) {
            span(canvas, y, int(std::ceil(left - 0.5)), int(std::ceil(right - 0.5)), colour);
        }
    }
}

}  // namespace

int FillRectAlpha(Canvas& canvas, const Rect& rect, std::uint32_t colour) {
    std::optional<Snapshot> snapshot = SnapshotRect(canvas, rect);
    if (!snapshot) {
        return 0;
    }
    for (int y = snapshot->area.top; y < snapshot->area.bottom; ++y) {
        span(canvas, y, snapshot->area.left, snapshot->area.right, colour);
    }
    MergeGdiDrawing(canvas, *snapshot, colour);
    return 1;
}

int FillTriangleAlpha(Canvas& canvas, const Rect& rect, const Point (&points)[3],
                      std::uint32_t colour) {
    std::optional<Snapshot> snapshot = SnapshotRect(canvas, rect);
    if (!snapshot) {
        return 0;
    }
    Rect savedClip = canvas.clipBox();
    canvas.setClip(snapshot->area);
    fillTriangle(canvas, points, colour);
    for (int i = 0; i < 3; ++i) {
        line(canvas, points[i], points[(i + 1) % 3], colour);
    }
    canvas.setClip(savedClip);
    MergeGdiDrawing(canvas, *snapshot, colour);
    return 1;
}

int DrawRoundFrameAlpha(Canvas& canvas, const Rect& rect, std::uint32_t colour) {
    std::optional<Snapshot> snapshot = SnapshotRect(canvas, rect);
    if (!snapshot) {
        return 0;
    }
    const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
    // Straight sides stop two pixels short of each corner; one diagonal pixel rounds it.
    if (r - l >= 4 && b - t >= 4) {
        span(canvas, t, l + 2, r - 1, colour);
        span(canvas, b, l + 2, r - 1, colour);
        for (int y = t + 2; y <= b - 2; ++y) {
            plot(canvas, l, y, colour);
            plot(canvas, r, y, colour);
        }
        plot(canvas, l + 1, t + 1, colour);
        plot(canvas, r - 1, t + 1, colour);
        plot(canvas, l + 1, b - 1, colour);
        plot(canvas, r - 1, b - 1, colour);
    } else {
        span(canvas, t, l, r + 1, colour);
        span(canvas, b, l, r + 1, colour);
        for (int y = t; y <= b; ++y) {
            plot(canvas, l, y, colour);
            plot(canvas, r, y, colour);
        }
    }
    MergeGdiDrawing(canvas, *snapshot, colour);
    return 1;
}

}  // namespace tandel
