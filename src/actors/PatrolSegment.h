#pragma once

#include <memory>

#include "math/Vector.h"

// A straight piece of a walkable path. Segments form a doubly linked chain, owned through the
// afterEnd links: destroying the first segment destroys the whole path.
class PatrolSegment {
public:
    PatrolSegment(const Vector3& start_, const Vector3& end_) : start(start_), end(end_) {}
    ~PatrolSegment();
    PatrolSegment(const PatrolSegment&) = delete;
    PatrolSegment& operator=(const PatrolSegment&) = delete;

    // Whether position.x + step.x lies strictly beyond the end point ahead in step's x direction.
    // A segment whose two points share x is never crossed.
    bool Crosses(const Vector3& position, const Vector3& step) const;
    // The end point lying in step's x direction.
    const Vector3& PointAhead(const Vector3& step) const;
    // Whether `point` is this segment's own start (as returned by PointAhead), not merely equal.
    bool IsStart(const Vector3& point) const { return &point == &start; }
    // The segment that continues the path beyond `point` (one of this segment's own points).
    const PatrolSegment* NeighbourBeyond(const Vector3& point) const;
    // position + step, carried over to the neighbouring segments, or clamped at the path's end.
    Vector3 MoveAlong(const Vector3& position, const Vector3& step) const;
    // The segment a walker is on after the step.
    const PatrolSegment* NextSegment(const Vector3& position, const Vector3& step) const;
    // The first segment from `first` along afterEnd whose box (bounds included) holds the point;
    // `first` when none does.
    static const PatrolSegment* FindSegment(const PatrolSegment* first, const Vector3& point);
    bool Contains(const Vector3& point) const;

    Vector3 start;
    Vector3 end;
    PatrolSegment* beforeStart = nullptr;
    std::unique_ptr<PatrolSegment> afterEnd;
};
