#include "physics/Collision.h"

#include <cmath>
#include <limits>

#include "platform/FrameClock.h"

namespace {

// Leaves the boxes just apart after the push-back.
constexpr float kSeparationMargin = 0.002f;

struct AxisContact {
    float penetration = 0.0f;  // how far the leading face went into the other box
    float gap = 0.0f;          // free distance between the faces before the move (< 0: overlapped)
};

// One axis: a = moving centre and extent, p = its centre one step earlier, b = static box.
AxisContact MeasureAxis(float a, float aSize, float p, float b, float bSize, float velocity) {
    AxisContact contact;
    if (velocity < 0.0f) {
        contact.penetration = (a - aSize / 2.0f) - (b + bSize / 2.0f);
        contact.gap = (p - aSize / 2.0f) - (b + bSize / 2.0f);
    } else {
        contact.penetration = (a + aSize / 2.0f) - (b - bSize / 2.0f);
        contact.gap = (b - bSize / 2.0f) - (p + aSize / 2.0f);
    }
    return contact;
}

// A body that does not move along an axis never leaves a box along it.
float TimeAlong(float distance, float velocity) {
    if (velocity == 0.0f) {
        return std::numeric_limits<float>::infinity();
    }
    return distance / velocity;
}

bool SameSign(float a, float b) {
    return (a > 0.0f && b > 0.0f) || (a < 0.0f && b < 0.0f);
}

Resolution AlongX(const AxisContact& x, float velocity, float extra) {
    Resolution r;
    r.side = x.penetration > 0.0f ? HIT_WALL_RIGHT : HIT_WALL_LEFT;
    r.time = TimeAlong(x.penetration, velocity) + extra;
    return r;
}

Resolution AlongY(const AxisContact& y, float velocity, float extra) {
    Resolution r;
    r.side = y.penetration > 0.0f ? HIT_CEILING : HIT_GROUND;
    r.time = TimeAlong(y.penetration, velocity) + extra;
    return r;
}

}  // namespace

bool Overlaps(const ColliderBox& a, const ColliderBox& b) {
    return a.center.x + a.width / 2.0f >= b.center.x - b.width / 2.0f &&
           b.center.x + b.width / 2.0f >= a.center.x - a.width / 2.0f &&
           a.center.y + a.height / 2.0f >= b.center.y - b.height / 2.0f &&
           b.center.y + b.height / 2.0f >= a.center.y - a.height / 2.0f;
}

Resolution ComputeResolution(const ColliderBox& a, const Vector3& v, const ColliderBox& b, float dt) {
    const float previousX = a.center.x - v.x * dt;
    const float previousY = a.center.y - v.y * dt;
    const AxisContact x = MeasureAxis(a.center.x, a.width, previousX, b.center.x, b.width, v.x);
    const AxisContact y = MeasureAxis(a.center.y, a.height, previousY, b.center.y, b.height, v.y);

    Resolution r;
    if (SameSign(x.gap, y.gap)) {
        // Apart (or overlapping) along both axes: the axis whose gap would take longer to close
        // is kept, and the box is pushed back along the other one.
        if (std::fabs(TimeAlong(y.gap, v.y)) > std::fabs(TimeAlong(x.gap, v.x))) {
            r = AlongX(x, v.x, x.gap < 0.0f ? dt : 0.0f);
        } else {
            r = AlongY(y, v.y, y.gap < 0.0f ? dt : 0.0f);
        }
    } else if (x.gap > 0.0f) {
        r = AlongX(x, v.x, 0.0f);
    } else {
        r = AlongY(y, v.y, 0.0f);
    }
    if (!std::isfinite(r.time)) {
        r.time = 0.0f;
    }
    r.time += kSeparationMargin;
    return r;
}

Resolution ComputeResolution(const ColliderBox& a, const Vector3& v, const ColliderBox& b) {
    return ComputeResolution(a, v, b, GetDeltaTime());
}
