#include "actors/PatrolSegment.h"

#include <algorithm>

PatrolSegment::~PatrolSegment() {
    // Iteratively, so a long path does not recurse once per segment: each successor gives up its
    // own successor before it goes.
    std::unique_ptr<PatrolSegment> successor = std::move(afterEnd);
    while (successor != nullptr) {
        successor = std::move(successor->afterEnd);
    }
}

bool PatrolSegment::Crosses(const Vector3& position, const Vector3& step) const {
    const float lowX = std::min(start.x, end.x);
    const float highX = std::max(start.x, end.x);
    if (lowX == highX) {
        return false;
    }
    const float target = position.x + step.x;
    return step.x > 0.0f ? highX < target : lowX > target;
}

const Vector3& PatrolSegment::PointAhead(const Vector3& step) const {
    if (start.x > end.x) {
        return step.x >= 0.0f ? start : end;
    }
    return step.x < 0.0f ? start : end;
}

const PatrolSegment* PatrolSegment::NeighbourBeyond(const Vector3& point) const {
    return IsStart(point) ? beforeStart : afterEnd.get();
}

// Hands the step on from segment to segment; the hop limit keeps a badly linked path (two
// segments that point back at each other) from handing it on forever.
Vector3 PatrolSegment::MoveAlong(const Vector3& position, const Vector3& step) const {
    constexpr int kMaxHops = 256;
    const PatrolSegment* segment = this;
    for (int hop = 0; hop < kMaxHops; ++hop) {
        if (!segment->Crosses(position, step)) {
            return position + step;
        }
        const Vector3& ahead = segment->PointAhead(step);
        const PatrolSegment* neighbour = segment->NeighbourBeyond(ahead);
        if (neighbour == nullptr) {
            return ahead;
        }
        segment = neighbour;
    }
    return segment->PointAhead(step);
}

const PatrolSegment* PatrolSegment::NextSegment(const Vector3& position, const Vector3& step) const {
    if (!Crosses(position, step)) {
        return this;
    }
    const PatrolSegment* neighbour = NeighbourBeyond(PointAhead(step));
    return neighbour != nullptr ? neighbour : this;
}

bool PatrolSegment::Contains(const Vector3& point) const {
    return point.x >= std::min(start.x, end.x) && point.x <= std::max(start.x, end.x) &&
           point.y >= std::min(start.y, end.y) && point.y <= std::max(start.y, end.y);
}

const PatrolSegment* PatrolSegment::FindSegment(const PatrolSegment* first, const Vector3& point) {
    for (const PatrolSegment* segment = first; segment != nullptr; segment = segment->afterEnd.get()) {
        if (segment->Contains(point)) {
            return segment;
        }
    }
    return first;
}
